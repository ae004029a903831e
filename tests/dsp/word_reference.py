#!/usr/bin/python3
"""References for the fixed-point word tests, from numpy and scipy.

The margins follow the definitions of dsp/WordRequirement.h: a pass band's
deviation is (max - min) / (max + min) of |H| over the band (a slope band's
of |H| over the line f / (fs/2)), a stop band's its largest |H| over the
nominal pass gain (midpoint of the pass bands' largest and smallest |H|);
the whole response is the largest |H| outside the stop bands (pass bands
included) against the highest pass band's upper ripple limit, the band's
lowest |H| times r = 10^(R/20) for its ripple limit R: its margin is
1 - (peak / lowest - 1) / (r - 1) for that band. A band's margin is
1 - deviation / allowed.

Usage: word_reference.py measure IN.json OUT.txt
         IN.json: a list of {"fs", "bands": [{"kind": "pass"|"stop"|"slope",
         "lo", "hi", "limit"}], "taps"}. OUT.txt: per case one line: the
         margins of the bands in order, then the whole response's peak
         (|H|) and its margin (2^18 points from 0 to fs/2, the
         band edges, every local extreme refined by bounded scalar
         minimisation of the exact |H|).
       word_reference.py milp IN.json OUT.txt
         IN.json: a list of {"fs", "bands", "taps" (the double design,
         symmetric), "bits", "fraction", "reference" (the nominal gain in
         word units), "words" (integer taps to score), "grid" (intervals)}.
         Symmetric words only. OUT.txt: per case "t_opt t_words" and the
         optimal words: the largest margin t over integer words of the
         given length on the grid (uniform, plus the band edges), gain c
         free within reference * (1 +- dg (1 - t)), dg the tightest pass
         deviation, found by bisection on t with scipy.optimize.milp (HiGHS);
         t_words the margin of the given words on the same grid with their
         best gain. "error" when a solve did not finish.
Exits with 3 when numpy or scipy cannot be imported.
"""
import json
import math
import sys

try:
    import numpy as np
    import scipy.optimize
    from scipy.optimize import LinearConstraint, Bounds
except ImportError:
    sys.exit(3)


def pass_dev(db):
    r = 10.0 ** (db / 20.0)
    return (r - 1.0) / (r + 1.0)


def allowed(band):
    return 10.0 ** (-band["limit"] / 20.0) if band["kind"] == "stop" else pass_dev(band["limit"])


def mag(h, f):
    n = np.arange(len(h))
    return abs(np.sum(h * np.exp(-2j * np.pi * f * n)))


def extremes(h, fs, lo, hi, spectrum, freqs, scale):
    """Largest and smallest scale(f) |H(f)| over [lo, hi] (Hz)."""
    sel = np.nonzero((freqs >= lo) & (freqs <= hi))[0]
    pts = [lo, hi]
    vals = [scale(lo) * mag(h, lo / fs), scale(hi) * mag(h, hi / fs)]
    if len(sel) == 0:
        return max(vals), min(vals)
    v = spectrum[sel] * np.array([scale(f) for f in freqs[sel]])
    best_hi, best_lo = max(max(vals), v.max()), min(min(vals), v.min())
    step = freqs[1] - freqs[0]
    spread = v.max() - v.min()
    for sign in (1.0, -1.0):
        w = sign * v
        top = w.max()
        for j in range(len(w)):
            left = w[j - 1] if j > 0 else -np.inf
            right = w[j + 1] if j + 1 < len(w) else -np.inf
            if w[j] >= left and w[j] >= right and w[j] >= top - 0.05 * spread - 1e-300:
                a = max(lo, freqs[sel[j]] - step)
                b = min(hi, freqs[sel[j]] + step)
                if b <= a:
                    continue
                r = scipy.optimize.minimize_scalar(lambda f: -sign * scale(f) * mag(h, f / fs), bounds=(a, b),
                                                   method="bounded", options={"xatol": 1e-9 * fs})
                x = sign * -r.fun
                best_hi, best_lo = max(best_hi, x), min(best_lo, x)
    return best_hi, best_lo


def measure_case(c):
    fs = float(c["fs"])
    h = np.array(c["taps"], dtype=float)
    size = 1 << 19
    spectrum = np.abs(np.fft.rfft(h, size))
    freqs = np.arange(len(spectrum)) * fs / size
    one = lambda f: 1.0
    figures = []
    for b in c["bands"]:
        scale = one
        if b["kind"] == "slope":
            scale = lambda f: (fs / 2.0) / f if f > 0 else 0.0
        lo = b["lo"] if b["kind"] != "slope" or b["lo"] > 0 else freqs[1]
        figures.append(extremes(h, fs, lo, b["hi"], spectrum, freqs, scale))
    pass_hi = [f[0] for b, f in zip(c["bands"], figures) if b["kind"] == "pass"]
    pass_lo = [f[1] for b, f in zip(c["bands"], figures) if b["kind"] == "pass"]
    nominal = 0.5 * (max(pass_hi) + min(pass_lo)) if pass_hi else 1.0
    margins = []
    for b, (top, low) in zip(c["bands"], figures):
        dev = top / nominal if b["kind"] == "stop" else (top - low) / (top + low)
        margins.append(1.0 - dev / allowed(b))
    stops = sorted((b["lo"], b["hi"]) for b in c["bands"] if b["kind"] == "stop")
    outside, start = [], 0.0
    for lo, hi in stops:
        if lo > start:
            outside.append((start, lo))
        start = max(start, hi)
    if start < fs / 2:
        outside.append((start, fs / 2))
    peak = max(extremes(h, fs, lo, hi, spectrum, freqs, one)[0] for lo, hi in outside)
    limits = [(f[1] * 10.0 ** (b["limit"] / 20.0), f[1], 10.0 ** (b["limit"] / 20.0))
              for b, f in zip(c["bands"], figures) if b["kind"] == "pass"]
    whole = 1.0
    if limits:
        _, lowest, ratio = max(limits)
        whole = 1.0 - (peak / lowest - 1.0) / (ratio - 1.0)
    return margins + [peak, whole]


def measure(src, dst):
    with open(src) as f:
        cases = json.load(f)
    with open(dst, "w") as out:
        for c in cases:
            out.write(" ".join(repr(float(v)) for v in measure_case(c)) + "\n")


def basis(n, w):
    """Amplitude functions of the free words of n symmetric taps at w."""
    m = n // 2
    if n % 2:
        return np.array([[1.0] + [2.0 * math.cos(k * x) for k in range(1, m + 1)] for x in w])
    return np.array([[2.0 * math.cos((k + 0.5) * x) for k in range(m)] for x in w])


def words_of(n, taps):
    m = n // 2
    return [taps[m - k] for k in range(m + 1)] if n % 2 else [taps[m - 1 - k] for k in range(m)]


def milp_case(c):
    fs = float(c["fs"])
    n = len(c["taps"])
    bands = c["bands"]
    grid = int(c["grid"])
    w = [math.pi * i / grid for i in range(grid + 1)]
    for b in bands:
        w += [math.pi * b["lo"] / (fs / 2), math.pi * b["hi"] / (fs / 2)]
    hz = [x / math.pi * fs / 2 for x in w]
    kinds = []
    for f in hz:
        kind = None
        for b in bands:
            if b["lo"] - 1e-9 <= f <= b["hi"] + 1e-9:
                kind = (b["kind"], allowed(b))
                break
        kinds.append(kind)
    phi = basis(n, w)
    nv = phi.shape[1]
    passes = [allowed(b) for b in bands if b["kind"] == "pass"]
    # The whole response's bound over the pass band's centre: its lowest
    # gain c (1 - dp (1 - t)) times 1 + (r - 1) (1 - t), to first order in
    # 1 - t (the square term is dp (r - 1), under 1e-4).
    dw = max(10.0 ** (b["limit"] / 20.0) - 1.0 - allowed(b) for b in bands if b["kind"] == "pass")
    dg = min(passes)
    c0 = float(c["reference"])
    top = (1 << (int(c["bits"]) - 1)) - 1
    low = -(1 << (int(c["bits"]) - 1))

    # Variables: the free words, the gain c and the margin t. Every bound
    # c (1 + d (1 - t)) is linear but for c t, taken as c0 t: c stays within
    # dg of c0 (well under 1 %), so the margin is off by at most dg |t|.
    rows, upper = [], []

    def bound(p, sign, dev, level):
        """sign A - c level - dev c (1 - t) <= 0, with c t as c0 t."""
        rows.append(np.concatenate([sign * p, [-(level + dev), dev * c0]]))
        upper.append(0.0)

    for p, kind in zip(phi, kinds):
        if kind is None:
            bound(p, 1.0, dw, 1.0)
            bound(p, -1.0, dw, 1.0)
        elif kind[0] == "pass":
            bound(p, 1.0, kind[1], 1.0)
            bound(p, -1.0, kind[1], -1.0)
            bound(p, 1.0, dw, 1.0)
        else:
            bound(p, 1.0, kind[1], 0.0)
            bound(p, -1.0, kind[1], 0.0)
    # |c - c0| <= c0 dg (1 - t)
    rows.append(np.concatenate([np.zeros(nv), [1.0, c0 * dg]]))
    upper.append(c0 * (1 + dg))
    rows.append(np.concatenate([np.zeros(nv), [-1.0, c0 * dg]]))
    upper.append(-c0 * (1 - dg))
    # The words within box steps of the design's (far wider than any
    # optimum strays) and of the word length.
    centre = np.round(np.array(words_of(n, c["taps"])) * 2.0 ** int(c["fraction"]))
    box = int(c.get("box", 8))
    lb = np.concatenate([np.maximum(centre - box, low), [c0 * (1 - dg), -50.0]])
    ub = np.concatenate([np.minimum(centre + box, top), [c0 * (1 + dg), 1.0]])
    objective = np.zeros(nv + 2)
    objective[-1] = -1.0
    r = scipy.optimize.milp(objective, constraints=LinearConstraint(np.array(rows), -np.inf, np.array(upper)),
                            integrality=np.concatenate([np.ones(nv), [0, 0]]), bounds=Bounds(lb, ub),
                            options={"time_limit": 120.0, "mip_rel_gap": 1e-6})
    if r.status != 0:
        raise RuntimeError("milp did not finish")

    def words_margin(x):
        amp = np.abs(phi @ np.array(x, dtype=float))
        cc = np.linspace(c0 * (1 - dg), c0 * (1 + dg), 2001)[:, None]
        m = 1 - np.abs(cc[:, 0] / c0 - 1) / dg
        whole = np.array([kind is None or kind[0] == "pass" for kind in kinds])
        m = np.minimum(m, (1 - (amp[whole][None, :] / cc - 1) / dw).min(axis=1))
        for kind_name in ("pass", "stop"):
            sel = np.array([kind is not None and kind[0] == kind_name for kind in kinds])
            if not sel.any():
                continue
            dev = np.array([kind[1] for kind in kinds if kind is not None and kind[0] == kind_name])
            if kind_name == "pass":
                m = np.minimum(m, (1 - np.abs(amp[sel][None, :] / cc - 1) / dev[None, :]).min(axis=1))
            else:
                m = np.minimum(m, (1 - amp[sel][None, :] / cc / dev[None, :]).min(axis=1))
        return float(m.max())

    own = words_margin(words_of(n, c["words"]))
    best = np.round(r.x[:nv]).astype(int)
    return [words_margin(best), own], list(best)


def milp(src, dst):
    with open(src) as f:
        cases = json.load(f)
    with open(dst, "w") as out:
        for c in cases:
            try:
                values, words = milp_case(c)
                out.write(" ".join(repr(float(v)) for v in values + words) + "\n")
            except Exception:
                out.write("error\n")


def main():
    {"measure": measure, "milp": milp}[sys.argv[1]](sys.argv[2], sys.argv[3])


if __name__ == "__main__":
    main()
