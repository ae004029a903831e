#!/usr/bin/python3
"""Reference figures for the multirate tests, from scipy.signal.

Usage: multirate_reference.py COMMAND IN.json OUT.txt
  halfband: IN is {"taps", "fs", "pass"}; OUT gets the half-band taps built
    as h = (delta + G(z^2)) / 2 from G = remez((taps + 1) / 2, [0, 2 pass],
    [1]) on the first line, then the largest pass deviation |A - 1| over
    0 .. pass and the largest stop gain over fs/2 - pass .. fs/2.
  requirement: IN is {"fs", "factor", "pass", "ripple", "attenuation",
    "designs": [{"taps": [...], "alias": bool}]}; OUT gets one line per design:
    "met" or "missed", the pass ripple in dB, the weakest attenuation over the
    design's stop bands (all of fs/factor - pass .. fs/2, or the alias bands)
    in dB, and whether scipy's own remez of the same length on the same
    bands meets the requirement ("scipy-met" / "scipy-missed").
Exits with 3 when scipy cannot be imported.
"""
import json
import sys

try:
    import numpy as np
    import scipy.signal
except ImportError:
    sys.exit(3)


def response(h, fs):
    w, H = scipy.signal.freqz(h, worN=1 << 16, fs=fs)
    return w, np.abs(H)


def halfband(d, out):
    g = scipy.signal.remez((d["taps"] + 1) // 2, [0, 2 * d["pass"]], [1], fs=d["fs"])
    h = np.zeros(d["taps"])
    h[::2] = g / 2
    h[(d["taps"] - 1) // 2] += 0.5
    w, a = response(h, d["fs"])
    passDev = np.max(np.abs(a[w <= d["pass"]] - 1))
    stopGain = np.max(a[w >= d["fs"] / 2 - d["pass"]])
    out.write(" ".join(repr(float(v)) for v in h) + "\n")
    out.write("%r %r\n" % (float(passDev), float(stopGain)))


def stop_bands(d, alias):
    fs, m, fp = d["fs"], d["factor"], d["pass"]
    if not alias:
        return [(fs / m - fp, fs / 2)]
    return [(k * fs / m - fp, min(k * fs / m + fp, fs / 2)) for k in range(1, m // 2 + 1)]


def judge(h, d, stops):
    w, a = response(h, d["fs"])
    p = a[w <= d["pass"]]
    nominal = (p.max() + p.min()) / 2
    ripple = 20 * np.log10(p.max() / p.min())
    att = min(20 * np.log10(nominal / np.max(a[(w >= lo) & (w <= hi)])) for lo, hi in stops)
    return ripple <= d["ripple"] and att >= d["attenuation"], ripple, att


def requirement(d, out):
    dp = (10 ** (d["ripple"] / 20) - 1) / (10 ** (d["ripple"] / 20) + 1)
    ds = 10 ** (-d["attenuation"] / 20)
    for design in d["designs"]:
        stops = stop_bands(d, design["alias"])
        met, ripple, att = judge(np.array(design["taps"]), d, stops)
        edges = [0, d["pass"]]
        for lo, hi in stops:
            edges += [lo, hi]
        ref = scipy.signal.remez(len(design["taps"]), edges, [1] + [0] * len(stops),
                                 weight=[1] + [dp / ds] * len(stops), fs=d["fs"])
        scipy_met = judge(ref, d, stops)[0]
        out.write("%s %r %r %s\n" % ("met" if met else "missed", float(ripple), float(att),
                                     "scipy-met" if scipy_met else "scipy-missed"))


def main():
    with open(sys.argv[2]) as f:
        d = json.load(f)
    with open(sys.argv[3], "w") as out:
        {"halfband": halfband, "requirement": requirement}[sys.argv[1]](d, out)


if __name__ == "__main__":
    main()
