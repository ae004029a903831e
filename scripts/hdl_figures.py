#!/usr/bin/python3
"""Yosys figures of the FPGA filters: a 63-tap and a 255-tap lowpass in each
architecture, exported by zantro-cli as verilog-fir (16-bit words, 16-bit
inputs, full precision), synthesised by Yosys four ways:

- `synth -noalumacc -run begin:fine`: the coarse cells, `$mul` the multipliers;
- `synth`: generic gates, the cell and flip-flop counts;
- `synth_ice40 -dsp` (iCE40 UltraPlus): LUT4s and SB_MAC16 DSP blocks;
- `synth_xilinx -family xc7`: LUTs and DSP48E1 blocks.

Each file's own count of multipliers and adders (its "Resources" line) and
the multiplierless filters' adders beside canonical signed digits are
printed too, and after the table, per design, the adders of the plain
shift-and-add filter without any sharing: every nonzero word multiplied
alone in canonical signed digits (digits - 1 adders each) and the chain's
adders between the nonzero taps. Usage: scripts/hdl_figures.py [BUILD_DIR] [--taps 63,255]
[--quick] (--quick: the coarse and generic runs only). Minutes per design:
run it on an idle machine.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

ARCHITECTURES = [
    ("parallel", []),
    ("parallel, pipelined", ["--architecture", "parallel", "--pipeline"]),
    ("folded, 4 clocks", ["--architecture", "folded", "--clocks-per-sample", "4"]),
    ("multiplierless", ["--architecture", "multiplierless"]),
    ("multiplierless, pipelined", ["--architecture", "multiplierless", "--pipeline"]),
]
# Hamming lowpass designs at 8 kHz, as docs/fpga.md names them.
DESIGNS = {63: ["--taps", "63", "--fs", "8000", "--f1", "1000", "--window", "hamming"],
           255: ["--taps", "255", "--fs", "8000", "--f1", "1100", "--window", "hamming"]}


def yosys(directory, script):
    done = subprocess.run(["yosys", "-q", "-p", script + "; tee -o stat.txt stat"], cwd=directory,
                          capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit("yosys failed: " + done.stderr[-2000:])
    cells = {}
    with open(os.path.join(directory, "stat.txt")) as stat:
        for line in stat:
            match = re.match(r"\s+Number of cells:\s+(\d+)", line)
            if match:
                cells["cells"] = int(match.group(1))
            match = re.match(r"\s+(\S+)\s+(\d+)$", line)
            if match:
                cells[match.group(1)] = int(match.group(2))
    return cells


def count(cells, pattern):
    return sum(n for name, n in cells.items() if re.fullmatch(pattern, name))


def csd_digits(value):
    """Nonzero digits of |value| in canonical signed digits (non-adjacent form)."""
    value, digits = abs(value), 0
    while value:
        if value & 1:
            value -= 2 - (value & 3)
            digits += 1
        value >>= 1
    return digits


def plain_csd_adders(cli, taps):
    """Adders of the filter with each nonzero c-fixed word multiplied alone."""
    with tempfile.TemporaryDirectory() as directory:
        root = os.path.join(directory, "w")
        subprocess.run([cli, *DESIGNS[taps], "--export", "c-fixed", "--word-length", "16", "--export-root", root],
                       check=True, capture_output=True)
        source = open(root + ".c").read()
        start = source.index("= {") + 3
        words = [int(w) for w in source[start:source.index("};", start)].split(",") if w.strip()]
    nonzero = [w for w in words if w]
    return sum(csd_digits(w) - 1 for w in nonzero), len(nonzero) - 1


def figures(cli, taps, options, quick):
    with tempfile.TemporaryDirectory() as directory:
        root = os.path.join(directory, "lp")
        subprocess.run([cli, *DESIGNS[taps], "--export", "verilog-fir", "--export-root", root, *options],
                       check=True, capture_output=True)
        text = open(root + ".v").read()
        resources = re.search(r"^// Resources: (.*)$", text, re.M).group(1)
        latency = re.search(r"^// Latency: (\d+) clocks", text, re.M).group(1)
        graph = re.search(r"graph of (\d+) adders? over shifts of x, (\d+) adders? deep \(canonical signed digits, "
                          r"each factor alone, need (\d+)\)", text)
        row = {"resources": resources, "latency": latency,
               "graph": "%s (CSD %s, depth %s)" % (graph.group(1), graph.group(3), graph.group(2)) if graph else ""}
        read = "read_verilog lp.v; "
        row["mul"] = count(yosys(directory, read + "synth -top lp -noalumacc -run begin:fine"), r"\$mul")
        generic = yosys(directory, read + "synth -top lp")
        row["cells"] = generic.get("cells", 0)
        row["ff"] = count(generic, r"\$_S?DFFE?_.*")
        if not quick:
            ice = yosys(directory, read + "synth_ice40 -dsp -top lp")
            row["ice40"] = "%d LUT4, %d SB_MAC16" % (count(ice, "SB_LUT4"), count(ice, "SB_MAC16"))
            xilinx = yosys(directory, read + "synth_xilinx -family xc7 -top lp")
            row["xc7"] = "%d LUT, %d DSP48E1" % (count(xilinx, r"LUT\d"), count(xilinx, "DSP48E1"))
        return row


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default=os.path.join(os.path.dirname(__file__), "..", "build-ci"))
    parser.add_argument("--taps", default="63,255")
    parser.add_argument("--quick", action="store_true")
    args = parser.parse_args()
    cli = os.path.join(args.build, "cli", "zantro-cli")
    header = "| taps | architecture | latency | plan | adder graph | Yosys `$mul` | cells | flip-flops |"
    rule = "|---|---|---|---|---|---|---|---|"
    if not args.quick:
        header += " iCE40 UP (`synth_ice40 -dsp`) | Artix-7 (`synth_xilinx`) |"
        rule += "---|---|"
    print(header)
    print(rule)
    for taps in (int(t) for t in args.taps.split(",")):
        for name, options in ARCHITECTURES:
            r = figures(cli, taps, options, args.quick)
            line = "| %d | %s | %s | %s | %s | %d | %d | %d |" % (taps, name, r["latency"], r["resources"], r["graph"],
                                                                r["mul"], r["cells"], r["ff"])
            if not args.quick:
                line += " %s | %s |" % (r["ice40"], r["xc7"])
            print(line, flush=True)
    for taps in (int(t) for t in args.taps.split(",")):
        products, chain = plain_csd_adders(cli, taps)
        print("\n%d taps, plain canonical signed digits without sharing: %d adders (%d in the products, %d in the chain)"
              % (taps, products + chain, products, chain))


if __name__ == "__main__":
    main()
