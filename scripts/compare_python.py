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
    if design.passes != report["passes"]:
        diffs.append("passes %r, zantro-cli %r" % (design.passes, report["passes"]))
    if design.analysis != report["analysis"]:
        diffs.append("analysis differs")
    return design, diffs


def export_options(k):
    """The k-th export: a profile in turn, with word length, rounding, block and Helium varied."""
    profile = PROFILES[k % len(PROFILES)]
    return profile, {"word_length": (16, 12, 24, 8, 32)[k % 5], "rounding": ("nearest", "truncate")[k % 2],
                     "block": (32, 1, 100)[k % 3], "helium": k % 4 == 3}


def compare_export(cli, args, design, k, folder):
    profile, options = export_options(k)
    cli_dir, py_dir = os.path.join(folder, "cli"), os.path.join(folder, "py")
    os.makedirs(cli_dir)
    os.makedirs(py_dir)
    extra = ["--export", profile, "--export-root", "coef", "--word-length", str(options["word_length"]),
             "--rounding", options["rounding"], "--block", str(options["block"])]
    if options["helium"]:
        extra.append("--helium")
    cli_args = [a for a in args if a not in ("--make",)]
    status, _, stderr = run_cli(cli, strip_make(cli_args) + extra, cli_dir)
    diffs = []
    try:
        written = zantro.export(design, profile, os.path.join(py_dir, "coef"), **options)
    except zantro.DesignError as e:
        # Refused (CMSIS fixed point of taps beyond +-1, ...): by both, with the same message, nothing written.
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
        for key, value in counts.items():
            print("%-18s %d" % (key, value))
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
