"""Independent figures of FIR taps with scipy.signal.freqz on a fine grid.

Input (argv[1]): a JSON list of cases {"fs", "taps", "bands": [{"kind", "lo",
"hi", "desired"}], "crossings"}. Output (argv[2]): a JSON list, per case
{"bands": [{"max_db", "min_db", "max_dev"}], "nominal", "minus3", "minus6",
"dc_db", "nyq_db", "gd_min", "gd_max"}.
"""
import json
import sys
import warnings

import numpy as np
from scipy import signal

STEPS = 1 << 17  # grid intervals from 0 to fs/2


def db(m):
    return 20.0 * np.log10(np.maximum(m, 1e-20))


def band_grid(lo, hi, fs):
    step = fs / 2.0 / STEPS
    inner = np.arange(np.floor(lo / step) + 1, np.ceil(hi / step)) * step
    return np.concatenate(([lo], inner[(inner > lo) & (inner < hi)], [hi]))


def mag(taps, f, fs):
    _, h = signal.freqz(taps, worN=np.atleast_1d(np.asarray(f, dtype=float)), fs=fs)
    return np.abs(h)


def crossing(taps, fs, edge, limit, level):
    """First frequency from edge toward limit where |H| drops below level."""
    f = np.linspace(edge, limit, max(2, int(abs(limit - edge) / (fs / 2.0 / STEPS)) + 1))
    m = mag(taps, f, fs)
    below = np.nonzero(m < level)[0]
    if len(below) == 0 or below[0] == 0:
        return None
    i = below[0]
    # linear interpolation of the magnitude between the two grid points
    t = (m[i - 1] - level) / (m[i - 1] - m[i])
    return f[i - 1] + t * (f[i] - f[i - 1])


def figures(taps, fs, bands, crossings):
    taps = np.asarray(taps, dtype=float)
    out = {"bands": []}
    pmax, pmin = 0.0, np.inf
    slope_peak = 0.0
    gd_f = []
    for b in bands:
        f = band_grid(b["lo"], b["hi"], fs)
        m = mag(taps, f, fs)
        r = {"max_db": float(db(m.max())), "min_db": float(db(m.min())), "max_dev": 0.0}
        if b["kind"] == "pass":
            r["max_dev"] = float(np.abs(m - b["desired"]).max())
            pmax, pmin = max(pmax, m.max()), min(pmin, m.min())
        elif b["kind"] == "slope":
            r["max_dev"] = float(np.abs(m - b["desired"] * f / (fs / 2.0)).max())
            slope_peak = max(slope_peak, b["desired"] * b["hi"] / (fs / 2.0))
        if b["kind"] != "stop":
            gd_f.extend(f[:: max(1, len(f) // 512)])
        out["bands"].append(r)
    has_pass = np.isfinite(pmin)
    nominal = 0.5 * (pmax + pmin) if has_pass else (slope_peak if slope_peak > 0 else 1.0)
    out["nominal"] = float(nominal)
    for key, drop in (("minus3", 3.0), ("minus6", 6.0)):
        found = []
        if crossings and has_pass:
            level = nominal * 10 ** (-drop / 20.0)
            passes = sorted([b for b in bands if b["kind"] == "pass"], key=lambda b: b["lo"])
            for i, b in enumerate(passes):
                below = passes[i - 1]["hi"] if i > 0 else 0.0
                above = passes[i + 1]["lo"] if i + 1 < len(passes) else fs / 2.0
                if b["lo"] > 0:
                    c = crossing(taps, fs, b["lo"], below, level)
                    if c is not None:
                        found.append(c)
                if b["hi"] < fs / 2.0:
                    c = crossing(taps, fs, b["hi"], above, level)
                    if c is not None:
                        found.append(c)
        out[key] = sorted(float(x) for x in found)
    out["dc_db"] = float(db(abs(taps.sum())))
    out["nyq_db"] = float(db(abs((taps * (-1.0) ** np.arange(len(taps))).sum())))
    if not gd_f:
        gd_f = list(np.linspace(0, fs / 2.0, 4097))
    _, gd = signal.group_delay((taps, [1.0]), w=np.asarray(gd_f), fs=fs)
    gd = gd[np.isfinite(gd)]
    out["gd_min"] = float(gd.min()) if len(gd) else 0.0
    out["gd_max"] = float(gd.max()) if len(gd) else 0.0
    return out


def main():
    warnings.simplefilter("ignore")  # group_delay at the zeros of H
    with open(sys.argv[1]) as f:
        cases = json.load(f)
    results = [figures(c["taps"], c["fs"], c["bands"], c["crossings"]) for c in cases]
    with open(sys.argv[2], "w") as f:
        json.dump(results, f)


if __name__ == "__main__":
    main()
