#!/usr/bin/python3
"""Chosen fixed-point words against the exact mixed-integer optimum, for small symmetric filters.

For each requirement and length N <= 31 the double taps come from scipy.signal.remez (weights from
the ratio of the allowed deviations), the words from zantro.optimize_words, and the optimum of the
same problem on a grid of 12 N intervals plus the band edges from scipy.optimize.milp (HiGHS), as
tests/dsp/word_reference.py states it. A gap of 0 (to 1e-3) proves the chosen words optimal on that
grid; a positive gap is how far the largest margin lies above theirs (in shares of the tightest
band's allowed deviation).

Usage: PYTHONPATH=build-ci/python /usr/bin/python3 scripts/word_milp.py [--quick] [--csv FILE]
Exits with 1 when the words beat the optimum by more than 1e-3 (the reference or the judgement
is then wrong) or a solve did not finish.
"""
import argparse
import csv
import os
import runpy
import statistics
import sys
import time
import types

import numpy as np
import scipy.signal

import zantro

FS = 48000.0
HERE = os.path.dirname(os.path.abspath(__file__))
reference = types.SimpleNamespace(
    **runpy.run_path(os.path.join(HERE, "..", "tests", "dsp", "word_reference.py"), run_name="word_reference"))

# name, bits, bands (kind, lo, hi, limit dB), lengths
REQUIREMENTS = [
    ("lowpass", 8, [("pass", 0, 4800, 0.5), ("stop", 9600, 24000, 40)], range(15, 32, 2)),
    ("lowpass even", 9, [("pass", 0, 4800, 0.5), ("stop", 9600, 24000, 40)], range(16, 32, 2)),
    ("highpass", 9, [("stop", 0, 9600, 40), ("pass", 14400, 24000, 0.5)], range(17, 32, 2)),
    ("bandpass", 8, [("stop", 0, 4800, 30), ("pass", 9600, 14400, 1.0), ("stop", 19200, 24000, 30)],
     range(18, 32, 2)),
    ("bandstop", 9, [("pass", 0, 4800, 1.0), ("stop", 9600, 14400, 30), ("pass", 19200, 24000, 1.0)],
     range(17, 32, 2)),
]


def deviation(kind, limit):
    if kind == "pass":
        r = 10 ** (limit / 20)
        return (r - 1) / (r + 1)
    return 10 ** (-limit / 20)


def remez(n, bands):
    edges = [e for b in bands for e in (b[1], b[2])]
    desired = [1.0 if b[0] == "pass" else 0.0 for b in bands]
    tight = min(deviation(b[0], b[3]) for b in bands)
    weight = [tight / deviation(b[0], b[3]) for b in bands]
    return scipy.signal.remez(n, edges, desired, weight=weight, fs=FS)


def nominal_gain(taps, bands):
    gains = []
    for kind, lo, hi, _ in bands:
        if kind == "pass":
            f = np.linspace(lo, hi, 2048)
            _, h = scipy.signal.freqz(taps, worN=f, fs=FS)
            gains += [np.abs(h).max(), np.abs(h).min()]
    return (max(gains) + min(gains)) / 2


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true", help="three lengths per requirement")
    parser.add_argument("--csv")
    args = parser.parse_args()
    rows, bad = [], 0
    for name, bits, bands, lengths in REQUIREMENTS:
        lengths = list(lengths)
        if args.quick:
            lengths = lengths[:: max(1, len(lengths) // 3)][:3]
        for n in lengths:
            taps = remez(n, bands)
            passes = [(lo, hi, limit) for kind, lo, hi, limit in bands if kind == "pass"]
            stops = [(lo, hi, limit) for kind, lo, hi, limit in bands if kind == "stop"]
            start = time.perf_counter()
            w = zantro.optimize_words(taps, FS, bits, pass_bands=passes, stop_bands=stops)
            ours_s = time.perf_counter() - start
            case = {"fs": FS, "bits": bits, "fraction": w["fraction_length"],
                    "reference": nominal_gain(taps, bands) * 2.0 ** w["fraction_length"], "grid": 12 * n,
                    "bands": [{"kind": k, "lo": lo, "hi": hi, "limit": limit} for k, lo, hi, limit in bands],
                    "taps": list(taps), "words": w["taps"]}
            start = time.perf_counter()
            try:
                (optimum, ours), _ = reference.milp_case(case)
            except RuntimeError:
                print(f"{name:13s} N={n:2d} {bits:2d} bits: the solver did not finish")
                bad += 1
                continue
            milp_s = time.perf_counter() - start
            gap = optimum - ours
            if gap < -1e-3:
                bad += 1
            rows.append({"requirement": name, "taps": n, "bits": bits, "margin": ours, "optimum": optimum,
                         "gap": gap, "rounded_margin": w["rounded_margin"], "ours_s": ours_s, "milp_s": milp_s})
            print(f"{name:13s} N={n:2d} {bits:2d} bits: ours {ours:+.4f}  optimum {optimum:+.4f}  gap {gap:.4f}  "
                  f"rounded {w['rounded_margin']:+.4f}  {ours_s:.3f} s against {milp_s:.2f} s")
    gaps = [r["gap"] for r in rows]
    optimal = sum(g <= 1e-3 for g in gaps)
    print(f"{len(rows)} cases: {optimal} optimal (gap <= 0.001), median gap {statistics.median(gaps):.4f}, "
          f"largest {max(gaps):.4f}; median time {statistics.median(r['ours_s'] for r in rows):.3f} s against "
          f"{statistics.median(r['milp_s'] for r in rows):.2f} s for the optimum")
    if args.csv:
        with open(args.csv, "w", newline="") as f:
            out = csv.DictWriter(f, fieldnames=list(rows[0]))
            out.writeheader()
            out.writerows(rows)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
