"""Does a set of taps meet a requirement? Judged with numpy and scipy alone.

Input (argv[1]): a JSON list of cases {"fs", "bands": [{"kind": "pass" or
"stop", "lo", "hi", "limit"}], "designs": [[taps...], ...]}. Output
(argv[2]): a JSON list, per case a list per design of {"margins": [dB per
band], "worst": dB, "max_db": [dB per band], "min_db": [dB per band]}. A
pass band's margin is limit - ripple (20 log10 of its largest over its
smallest gain); a stop band's is its attenuation below the nominal pass gain
(midpoint of the pass bands' largest and smallest gain) minus the limit.
"whole" is the margin of the whole response: the highest pass band's upper
ripple limit (its smallest gain times its limit) over the largest gain
anywhere outside the stop bands; "worst" counts it too.

The gain is evaluated at 2^18 + 1 points from 0 to fs/2 (a zero-padded FFT)
and exactly at both edges of every band; every local extreme of a band
within 5% of its largest (smallest) value is then refined between its
neighbours with scipy.optimize.minimize_scalar (bounded Brent) on the gain
summed directly, so no peak between the points is stepped over.
"""
import json
import sys

import numpy as np
from scipy import optimize

POINTS = 1 << 18  # intervals from 0 to fs/2


def gain(taps, f, fs):
    n = np.arange(len(taps))
    return abs(np.dot(taps, np.exp(-2j * np.pi * f / fs * n)))


def extreme(taps, fs, f, g, sign):
    """Largest of sign * g over the band, refined around each local extreme."""
    v = sign * g
    top = v.max()
    best = top
    floor = top - 0.05 * max(abs(top), 1e-300)
    for i in range(len(v)):
        left = v[i - 1] if i > 0 else -np.inf
        right = v[i + 1] if i + 1 < len(v) else -np.inf
        if v[i] < floor or v[i] < left or v[i] < right:
            continue
        a, b = f[max(i - 1, 0)], f[min(i + 1, len(f) - 1)]
        if b <= a:
            continue
        r = optimize.minimize_scalar(lambda x: -sign * gain(taps, x, fs), bounds=(a, b), method="bounded",
                                     options={"xatol": 1e-7 * (b - a)})
        best = max(best, -r.fun)
    return sign * best


def band_gains(taps, fs, bands):
    spectrum = np.abs(np.fft.rfft(taps, 2 * POINTS))
    grid = np.arange(POINTS + 1) * (fs / 2.0 / POINTS)
    out = []
    for b in bands:
        inside = (grid > b["lo"]) & (grid < b["hi"])
        f = np.concatenate(([b["lo"]], grid[inside], [b["hi"]]))
        g = np.concatenate(([gain(taps, b["lo"], fs)], spectrum[inside], [gain(taps, b["hi"], fs)]))
        hi = extreme(taps, fs, f, g, 1.0)
        lo = extreme(taps, fs, f, g, -1.0) if b["kind"] == "pass" else g.min()
        out.append((hi, lo))
    return out


def whole_margin(taps, fs, bands, gains):
    """The pass bands' highest upper ripple limit over the largest gain outside the stop bands, dB."""
    limit = max(20.0 * np.log10(max(lo, 1e-300)) + b["limit"] for (hi, lo), b in zip(gains, bands)
                if b["kind"] == "pass")
    stops = sorted((b["lo"], b["hi"]) for b in bands if b["kind"] == "stop")
    stretches, start = [], 0.0
    for lo, hi in stops:
        if lo > start:
            stretches.append({"kind": "stop", "lo": start, "hi": lo})
        start = max(start, hi)
    if start < fs / 2.0:
        stretches.append({"kind": "stop", "lo": start, "hi": fs / 2.0})
    peak = max(hi for hi, lo in band_gains(taps, fs, stretches))
    return limit - 20.0 * np.log10(max(peak, 1e-300))


def margins(taps, fs, bands):
    taps = np.asarray(taps, dtype=float)
    gains = band_gains(taps, fs, bands)
    passes = [g for g, b in zip(gains, bands) if b["kind"] == "pass"]
    top = max(g[0] for g in passes)
    bottom = min(g[1] for g in passes)
    nominal = 0.5 * (top + bottom)
    out = []
    for (hi, lo), b in zip(gains, bands):
        if b["kind"] == "pass":
            out.append(b["limit"] - 20.0 * np.log10(hi / max(lo, 1e-300)))
        else:
            out.append(20.0 * np.log10(nominal / max(hi, 1e-300)) - b["limit"])
    db = [(20.0 * np.log10(max(hi, 1e-300)), 20.0 * np.log10(max(lo, 1e-300))) for hi, lo in gains]
    return out, db


def main():
    with open(sys.argv[1]) as f:
        cases = json.load(f)
    result = []
    for c in cases:
        per = []
        for taps in c["designs"]:
            taps = np.asarray(taps, dtype=float)
            m, db = margins(taps, c["fs"], c["bands"])
            whole = whole_margin(taps, c["fs"], c["bands"], band_gains(taps, c["fs"], c["bands"]))
            per.append({"margins": m, "whole": whole, "worst": min(m + [whole]), "max_db": [d[0] for d in db],
                        "min_db": [d[1] for d in db]})
        result.append(per)
    with open(sys.argv[2], "w") as f:
        json.dump(result, f)


if __name__ == "__main__":
    main()
