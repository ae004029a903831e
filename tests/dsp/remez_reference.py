#!/usr/bin/python3
"""Reference designs for the Remez cross-check, from scipy.signal.remez.

Usage: remez_reference.py DESIGNS.json TAPS.txt
DESIGNS.json is a list of {"taps", "bands" (Hz edges), "desired", "weight",
"type", "fs", "density"}; TAPS.txt receives one line per design, the taps
separated by blanks, or the word "error" when scipy refuses the design.
Exits with 3 when numpy or scipy cannot be imported.
"""
import json
import sys

try:
    import scipy.signal
except ImportError:
    sys.exit(3)


def main():
    with open(sys.argv[1]) as f:
        designs = json.load(f)
    with open(sys.argv[2], "w") as out:
        for d in designs:
            try:
                h = scipy.signal.remez(d["taps"], d["bands"], d["desired"], weight=d["weight"],
                                       type=d["type"], fs=d["fs"], grid_density=d["density"], maxiter=64)
                out.write(" ".join(repr(float(v)) for v in h) + "\n")
            except Exception:
                out.write("error\n")


if __name__ == "__main__":
    main()
