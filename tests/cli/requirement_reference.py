"""Does a set of taps meet a requirement? Judged with scipy.signal.freqz.

Input (argv[1]): a JSON list of cases {"fs", "bands": [{"kind": "pass" or
"stop", "lo", "hi", "limit"}], "designs": [[taps...], ...]}. Output
(argv[2]): a JSON list, per case a list per design of {"margins": [dB per
band], "worst": dB}. A pass band's margin is limit - ripple (20 log10 of its
largest over its smallest gain); a stop band's is its attenuation below the
nominal pass gain (midpoint of the pass bands' largest and smallest gain)
minus the limit.
"""
import json
import sys

import numpy as np
from scipy import signal

POINTS = 1 << 15  # per band, plus both edges


def margins(taps, fs, bands):
    gains = []
    for b in bands:
        f = np.linspace(b["lo"], b["hi"], POINTS)
        _, h = signal.freqz(np.asarray(taps, dtype=float), worN=f, fs=fs)
        gains.append(np.abs(h))
    passes = [g for g, b in zip(gains, bands) if b["kind"] == "pass"]
    top = max(g.max() for g in passes)
    bottom = min(g.min() for g in passes)
    nominal = 0.5 * (top + bottom)
    out = []
    for g, b in zip(gains, bands):
        if b["kind"] == "pass":
            ripple = 20.0 * np.log10(g.max() / max(g.min(), 1e-300))
            out.append(b["limit"] - ripple)
        else:
            attenuation = 20.0 * np.log10(nominal / max(g.max(), 1e-300))
            out.append(attenuation - b["limit"])
    return out


def main():
    with open(sys.argv[1]) as f:
        cases = json.load(f)
    result = []
    for c in cases:
        per = []
        for taps in c["designs"]:
            m = margins(taps, c["fs"], c["bands"])
            per.append({"margins": m, "worst": min(m)})
        result.append(per)
    with open(sys.argv[2], "w") as f:
        json.dump(result, f)


if __name__ == "__main__":
    main()
