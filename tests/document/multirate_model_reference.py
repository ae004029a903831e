#!/usr/bin/python3
"""Checks runs of a multirate export against scipy.signal.upfirdn.

Usage: multirate_model_reference.py IN.json OUT.txt
IN is {"runs": [{"label", "up", "down", "values" (the taps the target holds,
natural order), "words" (their integers, or null for float), "frac"
(fraction bits of words and samples), "x" (the input: floats, or integers
for words), "y" (the target's output)}]}.
OUT gets one line per run: the label, the largest |y - upfirdn| relative to
the largest |upfirdn| (float) or in LSB (words), and for words the count of
outputs that differ from an exact integer model of the words (sum of
products in Python integers, shifted right by frac with the floor, then
saturated to the word), else -1.
Exits with 3 when scipy cannot be imported.
"""
import json
import sys

try:
    import numpy as np
    import scipy.signal
except ImportError:
    sys.exit(3)


def integer_model(words, x, up, down, frac):
    stuffed = []
    for v in x:
        stuffed.append(int(v))
        stuffed.extend([0] * (up - 1))
    out = []
    n_out = len(stuffed) // down
    for m in range(n_out):
        i = m * down
        acc = 0
        for j, w in enumerate(words):
            if 0 <= i - j < len(stuffed):
                acc += int(w) * stuffed[i - j]
        acc >>= frac
        if frac == 15:
            acc = max(-32768, min(32767, acc))
        out.append(acc)
    return out


def check(run):
    up, down, frac = run["up"], run["down"], run["frac"]
    values = np.array(run["values"], dtype=float)
    y = np.array(run["y"], dtype=float)
    if run["words"] is None:
        x = np.array(run["x"], dtype=float)
        ref = scipy.signal.upfirdn(values, x, up, down)[: len(y)]
        return float(np.max(np.abs(y - ref)) / np.max(np.abs(ref))), -1
    scale = 2.0 ** frac
    x = np.array(run["x"], dtype=float) / scale
    ref = scipy.signal.upfirdn(values, x, up, down)[: len(y)] * scale
    exact = integer_model(run["words"], run["x"], up, down, frac)[: len(y)]
    mismatches = sum(1 for a, b in zip(exact, run["y"]) if int(a) != int(b))
    return float(np.max(np.abs(y - ref))), mismatches


def main():
    with open(sys.argv[1]) as f:
        runs = json.load(f)["runs"]
    with open(sys.argv[2], "w") as out:
        for run in runs:
            err, mismatches = check(run)
            out.write("%s %r %d\n" % (run["label"], err, mismatches))


if __name__ == "__main__":
    main()
