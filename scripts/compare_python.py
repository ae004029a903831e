#!/usr/bin/python3
"""zantro.design and zantro.export against zantro-cli, case by case.

Usage: PYTHONPATH=BUILD/python /usr/bin/python3 scripts/compare_python.py ZANTRO_CLI [--every K] [--exports-every K]

Takes the runs of scripts/compare-cli.sh (its --list-cases) that design,
that is all but Extras > Window, and runs each through zantro-cli --json
and through zantro.design with the same parameters as keywords. A case is
identical when both refuse with the same message, or both design and give
the same taps bit for bit, the same messages and the same "analysis"
object. Every K-th designing case (--exports-every, default 8) is also
exported with one of the twelve profiles in turn (with word lengths,
rounding, block sizes and Helium padding varied) by zantro-cli --export
and by zantro.export, and the files are compared byte for byte.
--every K takes every K-th case only. Prints the counts and each
difference; exits 1 when there is one.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

import zantro

HERE = os.path.dirname(os.path.abspath(__file__))
PROFILES = ["cmsis-f32", "cmsis-q31", "cmsis-q15", "cmsis-q7", "c-fixed", "c-float", "c-double", "csv", "json",
            "coe", "vhdl", "verilog"]
# Options zantro-cli takes whose value is the next argument, and the keyword each becomes.
KEYWORDS = {"--type": "type", "--method": "method", "--window": "window", "--taps": "taps", "--fs": "fs",
            "--f1": "f1", "--f2": "f2", "--scaling": "scaling", "--scale": "scale", "--att": "att",
            "--beta": "beta", "--gain": "gain", "--sigma": "sigma", "--grid": "grid", "--preset": "preset"}
# Make File's own options: Make File is zantro-cli's, the module exports instead.
MAKE_OPTIONS = {"--make", "--ext", "--format"}
# The rate change's and the new methods' options: with a value, and flags.
VALUE_OPTIONS = {"--decimate": "decimate", "--interpolate": "interpolate", "--pulse": "pulse",
                 "--rolloff": "rolloff", "--bt": "bt", "--sps": "sps", "--span": "span",
                 "--pulse-gain": "pulse_gain", "--cic-comp": "cic_comp"}
FLAGS = {"--halfband": "halfband", "--alias-bands": "alias_bands", "--min-phase": "min_phase",
         "--inverse-sinc": "inverse_sinc"}
MULTIRATE_PROFILES = ["cmsis-decimate-f32", "cmsis-decimate-q31", "cmsis-decimate-q15", "cmsis-interpolate-f32",
                      "cmsis-interpolate-q31", "cmsis-interpolate-q15", "c-polyphase"]
# Rate changes and the methods beside the form's four, designed by zantro-cli
# without the form: each is compared as the form's runs are, its "multirate"
# or "methods" object too; the rate changes are exported with the multirate
# profiles (and a single-rate one) as well.
EXTRA_CASES = [
    "--decimate 4 --fs 48000 --f1 2000 --taps 63",
    "--decimate 3 --fs 48000 --f1 5000 --taps 48",
    "--decimate 4 --fs 48000 --f1 2000 --taps 63 --alias-bands",
    "--decimate 16 --fs 48000 --f1 1000 --taps 255 --alias-bands",
    "--decimate 20 --fs 96000 --f1 1000 --taps 301 --alias-bands --grid 20",
    "--interpolate 4 --fs 48000 --f1 4000 --taps 61",
    "--interpolate 2 --fs 44100 --f1 9000 --taps 40 --alias-bands",
    "--interpolate 64 --fs 192000 --f1 1000 --taps 1025",
    "--decimate 4 --fs 48000 --f1 2000 --taps 63 --method sinc --beta 8",
    "--decimate 4 --fs 48000 --f1 2000 --taps 64 --method sinc --window hamming",
    "--decimate 5 --fs 48000 --f1 2000 --taps 51 --method sinc --window chebyshev --att 70",
    "--interpolate 3 --fs 48000 --f1 3000 --taps 45 --method sinc --window blackman",
    "--halfband --fs 48000 --f1 10000 --taps 47",
    "--halfband --fs 48000 --f1 11000 --taps 103 --grid 32",
    "--halfband --fs 48000 --f1 11999 --taps 1023",
    "--halfband --fs 48000 --f1 10000 --taps 49",
    "--decimate 4 --fs 48000 --f1 6000 --taps 31",
    "--decimate 4 --fs 48000 --f1 100 --taps 3",
    "--decimate 4 --fs 48001 --f1 2000 --taps 63",
    "--method ls --taps 64 --fs 48000 --band 0:8000:1:1 --band 10000:24000:0:0.25",
    "--method ls --type highpass --taps 63 --fs 48000 --band 0:8000:0:10 --band 10000:24000:1:1",
    "--method ls --type hilbert --taps 64 --fs 48000 --band 1000:23000:1:1",
    "--method ls --type bandpass --taps 101 --fs 48000 --band 0:4000:0:5 --band 6000:10000:1:1 --band 12000:24000:0:5",
    "--method remez --min-phase --taps 31 --fs 48000 --band 0:8000:1:1 --band 10000:24000:0:10",
    "--method ls --min-phase --taps 40 --fs 48000 --band 0:6000:1:1 --band 9000:24000:0:10",
    "--pulse rrc --rolloff 0.25 --sps 4 --span 6",
    "--pulse rc --rolloff 0.5 --sps 8 --span 8 --pulse-gain dc --fs 48000",
    "--pulse gaussian --bt 0.3 --sps 8 --span 4",
    "--method remez --cic-comp 8:1:4 --taps 63 --fs 48000 --band 0:4000:1:1 --band 8000:24000:0:10",
    "--method remez --inverse-sinc --taps 47 --fs 48000 --band 0:16000:1:1 --band 19000:24000:0:10",
    "--method ls --type differentiator --taps 31",
]


def list_cases(folder):
    """The argument lists of compare-cli.sh, its points files written into folder."""
    out = subprocess.run(["bash", os.path.join(HERE, "compare-cli.sh"), "--list-cases", folder],
                         capture_output=True, text=True, check=True)
    return [line.split() for line in out.stdout.splitlines() if line.strip()]


def number(text):
    """A field's text as the number the module takes: int for whole numbers."""
    try:
        return int(text)
    except ValueError:
        return float(text)


def keywords_of(args):
    """zantro.design's keywords for a zantro-cli argument list; None for a run that does not design."""
    kw = {}
    i = 0
    while i < len(args):
        a = args[i]
        if a in ("--window-only", "--no-design"):
            return None
        if a == "--sinx":
            kw["sinx"] = True
        elif a in MAKE_OPTIONS:
            i += 1
        elif a == "--input":
            i += 1
            with open(args[i]) as f:
                kw["points"] = [float(line) for line in f if line.strip()]
        elif a == "--band":
            i += 1
            lo, hi, value, weight = args[i].split(":")
            kw.setdefault("bands", []).append((int(lo), int(hi), float(value), float(weight)))
        elif a in FLAGS:
            kw[FLAGS[a]] = True
        elif a in VALUE_OPTIONS:
            i += 1
            key = VALUE_OPTIONS[a]
            if key == "cic_comp":
                kw[key] = tuple(int(x) for x in args[i].split(":"))
            elif key in ("pulse", "pulse_gain"):
                kw[key] = args[i]
            else:
                kw[key] = number(args[i])
        elif a in KEYWORDS:
            i += 1
            value = args[i]
            key = KEYWORDS[a]
            if key == "gain":
                kw[key] = value if value.lower() in ("pi", "pi/2") else number(value)
            elif key in ("type", "method", "window", "scaling", "preset"):
                kw[key] = int(value) if value.isdigit() else value
            else:
                kw[key] = number(value)
        else:
            raise ValueError("unknown option " + a)
        i += 1
    return kw


def run_cli(cli, args, cwd):
    done = subprocess.run([cli, *args, "--json"], capture_output=True, text=True, cwd=cwd)
    try:
        report = json.loads(done.stdout)
    except ValueError:
        report = {"design_valid": False, "unreadable": done.stdout[:200]}
    return done.returncode, report, done.stderr


def compare_design(cli, args, kw, cwd):
    """Differences between zantro-cli and zantro.design for one case; (design or None, differences)."""
    status, report, stderr = run_cli(cli, [a for a in args], cwd)
    try:
        design = zantro.design(**kw)
        error = None
    except zantro.DesignError as e:
        design, error = None, str(e)
    if error is not None:
        if status == 1 and not report["design_valid"] and stderr == error + "\n":
            return None, []
        return None, ["refused by the module (%r), zantro-cli: status %d, %r" % (error, status, stderr)]
    diffs = []
    if status != 0 or not report["design_valid"]:
        diffs.append("designed by the module, refused by zantro-cli: %r" % stderr)
        return design, diffs
    if [float(x) for x in design.taps] != report["coefficients"]:
        diffs.append("taps differ")
    if "".join(m + "\n" for m in design.messages) != stderr:
        diffs.append("messages %r, zantro-cli %r" % (design.messages, stderr))
    if "passes" in report and design.passes != report["passes"]:
        diffs.append("passes %r, zantro-cli %r" % (design.passes, report["passes"]))
    if design.analysis != report["analysis"]:
        diffs.append("analysis differs")
    for key in ("multirate", "methods"):
        if getattr(design, key) != report.get(key):
            diffs.append("%s differs" % key)
    return design, diffs


def compare_rate_export(cli, args, design, profile, k, folder):
    """A rate change exported with profile by zantro-cli and by zantro.export: the same files, byte for byte."""
    factor = int(args[args.index("--decimate") + 1]) if "--decimate" in args else 1
    options = {"rounding": ("nearest", "truncate")[k % 2], "block": factor * (8, 1, 5)[k % 3]}
    extra = ["--export", profile, "--export-root", "coef", "--rounding", options["rounding"]]
    if profile.startswith("cmsis-"):
        extra += ["--block", str(options["block"])]
    return compare_files(cli, args, extra, design, profile, options, folder)


def compare_files(cli, args, extra, design, profile, options, folder):
    cli_dir, py_dir = os.path.join(folder, "cli"), os.path.join(folder, "py")
    os.makedirs(cli_dir)
    os.makedirs(py_dir)
    status, _, stderr = run_cli(cli, strip_make(args) + extra, cli_dir)
    diffs = []
    try:
        written = zantro.export(design, profile, os.path.join(py_dir, "coef"), **options)
    except zantro.DesignError as e:
        if status != 1 or not stderr.endswith(str(e) + "\n") or os.listdir(cli_dir) or os.listdir(py_dir):
            diffs.append("%s: refused by the module (%r), zantro-cli: status %d, %r" % (profile, str(e), status, stderr))
        return profile + " (refused)", diffs
    cli_files = sorted(os.listdir(cli_dir))
    py_files = sorted(os.listdir(py_dir))
    if cli_files != py_files or sorted(os.path.basename(p) for p in written) != py_files:
        diffs.append("%s: files %s, zantro-cli %s (%s)" % (profile, py_files, cli_files, stderr.strip()))
    for name in set(cli_files) & set(py_files):
        with open(os.path.join(cli_dir, name), "rb") as a, open(os.path.join(py_dir, name), "rb") as b:
            if a.read() != b.read():
                diffs.append("%s: %s differs" % (profile, name))
    return profile, diffs


def run_extra_cases(cli, root):
    """EXTRA_CASES compared; every rate change exported with the profile its kind takes. Counts and differences."""
    counts = {"cases": 0, "identical": 0, "designed": 0, "refused": 0, "exports": 0, "export files identical": 0}
    diffs_all = []
    for n, case in enumerate(EXTRA_CASES):
        args = case.split()
        folder = os.path.join(root, "extra%d" % n)
        os.makedirs(folder)
        design, diffs = compare_design(cli, args, keywords_of(args), folder)
        counts["cases"] += 1
        counts["designed" if design is not None else "refused"] += 1
        if design is not None and design.multirate is not None:
            kind = design.multirate["kind"]
            profiles = [p for p in MULTIRATE_PROFILES
                        if "decimate" in p and kind in ("decimate", "halfband") or "interpolate" in p and
                        kind == "interpolate" or p == "c-polyphase"] + ["cmsis-q15"]
            for k, profile in enumerate(profiles):
                exported, more = compare_rate_export(cli, args, design, profile, n + k,
                                                     os.path.join(folder, "export%d" % k))
                counts["exports"] += 1
                if not more and not exported.endswith("(refused)"):
                    counts["export files identical"] += 1
                diffs += more
        if diffs:
            counts["different"] = counts.get("different", 0) + 1
        else:
            counts["identical"] += 1
        diffs_all += ["%s: %s" % (case, d) for d in diffs]
    return counts, diffs_all


def export_options(k):
    """The k-th export: a profile in turn, with word length, rounding, block and Helium varied."""
    profile = PROFILES[k % len(PROFILES)]
    return profile, {"word_length": (16, 12, 24, 8, 32)[k % 5], "rounding": ("nearest", "truncate")[k % 2],
                     "block": (32, 1, 100)[k % 3], "helium": k % 4 == 3}


def compare_export(cli, args, design, k, folder):
    profile, options = export_options(k)
    # zantro-cli refuses an option the profile does not take.
    extra = ["--export", profile, "--export-root", "coef", "--rounding", options["rounding"]]
    if profile in ("c-fixed", "json", "coe", "vhdl", "verilog"):
        extra += ["--word-length", str(options["word_length"])]
    if profile.startswith("cmsis-"):
        extra += ["--block", str(options["block"])] + (["--helium"] if options["helium"] else [])
    return compare_files(cli, args, extra, design, profile, options, folder)


def strip_make(args):
    out, i = [], 0
    while i < len(args):
        if args[i] in MAKE_OPTIONS:
            i += 2
            continue
        out.append(args[i])
        i += 1
    return out


def run_case(cli, n, args, kw, exports_every, root):
    folder = os.path.join(root, "case%d" % n)
    os.makedirs(folder)
    try:
        design, diffs = compare_design(cli, strip_make(args), kw, folder)
        exported = None
        if design is not None and exports_every and n % exports_every == 0:
            exported, more = compare_export(cli, args, design, n // exports_every, os.path.join(folder, "export"))
            diffs += more
        return design is not None, exported, diffs
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def main(argv):
    every, exports_every = 1, 8
    if "--every" in argv:
        every = int(argv[argv.index("--every") + 1])
    if "--exports-every" in argv:
        exports_every = int(argv[argv.index("--exports-every") + 1])
    cli = os.path.abspath(argv[0])
    root = tempfile.mkdtemp()
    try:
        cases = [(n, args, keywords_of(args)) for n, args in enumerate(list_cases(root))]
        designing = [(n, args, kw) for n, args, kw in cases if kw is not None][::every]
        counts = {"runs listed": len(cases), "runs that design": len(designing), "designed": 0, "refused": 0,
                  "identical": 0, "different": 0, "exports": 0}
        per_profile = {}
        with ThreadPoolExecutor(max_workers=2) as pool:
            results = pool.map(lambda c: (c, run_case(cli, *c, exports_every, root)), designing)
            for (n, args, _), (designed, exported, diffs) in results:
                counts["designed" if designed else "refused"] += 1
                counts["different" if diffs else "identical"] += 1
                if exported:
                    counts["exports"] += 1
                    per_profile[exported] = per_profile.get(exported, 0) + 1
                for d in diffs:
                    print("DIFFERENT %s: %s" % (" ".join(args), d))
        extra_counts, extra_diffs = run_extra_cases(cli, root)
        for d in extra_diffs:
            print("DIFFERENT " + d)
        counts["different"] += len(extra_diffs)
        for key, value in counts.items():
            print("%-18s %d" % (key, value))
        print("rate changes and new methods: " + ", ".join("%s %d" % kv for kv in extra_counts.items()))
        print("exports by profile: " + ", ".join("%s %d" % (p, per_profile.get(p, 0)) for p in PROFILES))
        refused = sum(v for k, v in per_profile.items() if k.endswith("(refused)"))
        print("exports refused by both with the same message: %d" % refused)
        return 1 if counts["different"] else 0
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(sys.argv[1:]))
