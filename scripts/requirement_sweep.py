#!/usr/bin/python3
"""Design to a requirement by Remez exchange against scipy.signal.remez.

Usage: /usr/bin/python3 scripts/requirement_sweep.py ZANTRO_CLI [COUNT] [SEED]

COUNT (default 32) random requirements (lowpass, highpass, bandpass and
bandstop at 8 and 48 kHz; ripple 0.05 to 1 dB, attenuation 40 to 90 dB,
transitions of 2 to 8% of fs) go through zantro-cli --to-spec --method
remez. Each answer is judged by tests/cli/requirement_reference.py (2^18
points to fs/2, every peak refined): a "met" it contradicts is counted.
scipy.signal.remez then designs the same bands with the true ratio of the
deviations as weights (grid density 16) at every allowed N from 85% of
Zantro's N up to Zantro's N - 2: the smallest that meets (by the same
reference) is scipy's N, and Zantro's N must be at most scipy's N + 1.
"""
import json
import math
import os
import random
import subprocess
import sys

import numpy as np
import scipy.signal

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "cli"))
import requirement_reference as ref  # noqa: E402


def requirement(rng):
    fs = rng.choice([8000, 48000])
    kind = rng.choice(["lowpass", "highpass", "bandpass", "bandstop"])
    ripple = round(rng.uniform(0.05, 1.0), 2)
    att = round(rng.uniform(40, 90), 1)
    width = lambda: max(1, int(round(rng.uniform(0.02, 0.08) * fs)))
    half = fs // 2
    if kind in ("lowpass", "highpass"):
        edge = int(rng.uniform(0.1, 0.35) * fs)
        w = width()
        a, b = (edge, edge + w)
        if kind == "lowpass":
            bands = [("pass", 0, a, ripple), ("stop", b, half, att)]
        else:
            bands = [("stop", 0, a, att), ("pass", b, half, ripple)]
    else:
        lo = int(rng.uniform(0.08, 0.18) * fs)
        w1, w2 = width(), width()
        hi = int(rng.uniform(0.28, 0.4) * fs)
        outer = "stop" if kind == "bandpass" else "pass"
        inner = "pass" if kind == "bandpass" else "stop"
        lim = lambda k: ripple if k == "pass" else att
        bands = [(outer, 0, lo, lim(outer)), (inner, lo + w1, hi, lim(inner)), (outer, hi + w2, half, lim(outer))]
    return fs, kind, bands


def deviation(kind, limit):
    if kind == "pass":
        g = 10 ** (limit / 20.0)
        return (g - 1) / (g + 1)
    return 10 ** (-limit / 20.0)


def judge(taps, fs, bands):
    m, _ = ref.margins(np.asarray(taps, float), fs, [{"kind": k, "lo": lo, "hi": hi, "limit": lim}
                                                     for k, lo, hi, lim in bands])
    return min(m)


def scipy_design(n, fs, bands):
    devs = [deviation(k, lim) for k, lo, hi, lim in bands]
    weights = [max(devs) / d for d in devs]
    edges = [x for _, lo, hi, _ in bands for x in (lo, hi)]
    desired = [1.0 if k == "pass" else 0.0 for k, _, _, _ in bands]
    try:
        return scipy.signal.remez(n, edges, desired, weight=weights, fs=fs, grid_density=16, maxiter=64)
    except ValueError:
        return None


def main():
    cli = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 32
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 22)
    contradicted = over = 0
    for i in range(count):
        fs, kind, bands = requirement(rng)
        args = [cli, "--to-spec", "--method", "remez", "--fs", str(fs), "--json"]
        for k, lo, hi, lim in bands:
            args += ["--pass-band" if k == "pass" else "--stop-band", "%d:%d:%g" % (lo, hi, lim)]
        out = subprocess.run(args, capture_output=True, text=True)
        run = json.loads(out.stdout)
        t = run["to_spec"]
        n = t["taps"]
        worst = judge(run["coefficients"], fs, bands) if t["met"] else math.nan
        if t["met"] and worst < 0:
            contradicted += 1
        odd = kind in ("highpass", "bandstop")
        step = 2 if odd else 1
        scipy_n = None
        start = int(0.85 * n)
        if odd and start % 2 == 0:
            start += 1
        for m in range(start, n - 1, step):
            h = scipy_design(m, fs, bands)
            if h is not None and judge(h, fs, bands) >= 0:
                scipy_n = m
                break
        if t["met"] and scipy_n is not None and n > scipy_n + 1:
            over += 1
        print("%2d %-8s fs %5d %s: zantro %s N %4d (reference worst %+.4f dB)%s" % (
            i, kind, fs, " ".join("%s %d-%d %g" % b for b in bands), t["status"], n, worst,
            "" if scipy_n is None else ", scipy meets at N %d" % scipy_n), flush=True)
    print("requirements %d, met contradicted by the reference %d, Zantro's N above scipy's N + 1: %d"
          % (count, contradicted, over))
    return 1 if contradicted or over else 0


if __name__ == "__main__":
    sys.exit(main())
