#!/usr/bin/python3
"""Taps of Zantro's requirement search against scipy's, whole response judged.

Usage: /usr/bin/python3 scripts/whole_response_taps.py ZANTRO_CLI [COUNT] [SEED]

COUNT (default 60) random requirements of the whole-response sweep's
three requirement kinds (band-pass and band-stop with unequal
transitions, two pass bands; scripts/whole_response_sweep.py) go through
zantro-cli --to-spec --method remez. scipy.signal.remez then designs the
same bands (grid density 16, the deviations' ratio as weights) at every
allowed N (odd for a band-stop or two pass bands) from 60% of Zantro's N
(or 15 taps, for a requirement Zantro does not meet) up to 1025: the first N
whose band figures and whole response both meet (tests/cli/
requirement_reference.py: 2^18 points to fs/2, every peak refined) is
scipy's. Prints each case and a table: how many each meets, and for the
cases both meet Zantro's N against scipy's (fewer, equal, more; median
and extremes of the ratio).
"""
import os
import random
import sys

import numpy as np
import scipy.signal

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "tests", "cli"))
import requirement_reference as ref  # noqa: E402
import whole_response_sweep as sweep  # noqa: E402
from requirement_sweep import deviation  # noqa: E402


def meets(taps, fs, bands):
    req = [{"kind": k, "lo": lo, "hi": hi, "limit": lim} for k, lo, hi, lim in bands]
    taps = np.asarray(taps, dtype=float)
    gains = ref.band_gains(taps, fs, req)
    band_margins, _ = ref.margins(taps, fs, req)
    return min(band_margins) >= 0 and ref.whole_margin(taps, fs, req, gains) >= 0


def scipy_taps(fs, bands, start, odd):
    devs = [deviation(k, lim) for k, _, _, lim in bands]
    weights = [max(devs) / d for d in devs]
    edges = [x for _, lo, hi, _ in bands for x in (lo, hi)]
    desired = [1.0 if k == "pass" else 0.0 for k, _, _, _ in bands]
    n = max(start, 5)
    if odd and n % 2 == 0:
        n += 1
    while n <= 1025:
        try:
            h = scipy.signal.remez(n, edges, desired, weight=weights, fs=fs, grid_density=16, maxiter=64)
        except ValueError:
            h = None
        if h is not None and np.all(np.isfinite(h)) and meets(h, fs, bands):
            return n
        n += 2 if odd else 1
    return None


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    cli = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 60
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 35)
    kinds = ["band-pass", "band-stop", "two-pass"]
    rows = {k: {"cases": 0, "zantro": 0, "scipy": 0, "both": 0, "fewer": 0, "equal": 0, "more": 0, "ratios": []}
            for k in kinds}
    for i in range(count):
        kind = kinds[i % len(kinds)]
        fs, bands, args = sweep.spec_case(rng, kind)
        j, status = sweep.run(cli, args)
        t = (j or {}).get("to_spec") or {}
        met = status == 0 and t.get("status") == "met"
        n = t.get("taps") if met else None
        if met and not meets(j["coefficients"], fs, bands):
            met, n = False, None  # the sweep counts these; here they do not count as met
        odd = kind != "band-pass"
        s = scipy_taps(fs, bands, int(0.6 * n) if n else 15, odd)
        row = rows[kind]
        row["cases"] += 1
        row["zantro"] += n is not None
        row["scipy"] += s is not None
        if n is not None and s is not None:
            row["both"] += 1
            row["fewer" if n < s else "equal" if n == s else "more"] += 1
            row["ratios"].append(n / s)
        print("%3d %-9s zantro %-5s scipy %-5s %s" % (i, kind, n, s, " ".join(args)), flush=True)
    print("%-10s %5s %7s %6s %5s %6s %6s %5s %8s %8s %8s" % ("kind", "cases", "zantro", "scipy", "both", "fewer",
                                                           "equal", "more", "median", "min", "max"))
    for k in kinds:
        r = rows[k]
        q = r["ratios"] or [float("nan")]
        print("%-10s %5d %7d %6d %5d %6d %6d %5d %8.3f %8.3f %8.3f" % (
            k, r["cases"], r["zantro"], r["scipy"], r["both"], r["fewer"], r["equal"], r["more"],
            float(np.median(q)), min(q), max(q)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
