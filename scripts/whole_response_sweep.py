#!/usr/bin/python3
"""Is any design Zantro calls met, valid or exports cleanly misbehaving outside its bands?

Usage: /usr/bin/python3 scripts/whole_response_sweep.py ZANTRO_CLI [COUNT] [SEED]

COUNT (default 500) random cases through zantro-cli, spread over six
kinds: --to-spec Remez band-pass and band-stop requirements with unequal
transitions, pass-stop-pass requirements (two pass bands), rate changes
(--decimate and --interpolate of a random length), half-bands, and
minimum phase (--method remez and ls, lowpass, bandpass and bandstop).
Each answer is judged with numpy and scipy alone
(tests/cli/requirement_reference.py: 2^18 points to fs/2, every peak
refined):

- a requirement called met: its whole response (the largest gain anywhere
  outside the stop bands) must stay at or below the highest pass band's
  upper ripple limit (its smallest gain plus its ripple limit);
- a design with design_valid true (and so exported without a warning):
  its whole response may rise at most the largest pass-band ripple (at
  least 0.1 dB) over the pass bands' top; a minimum-phase one must also
  keep every zero strictly inside the unit circle (numpy.roots) and, for
  a Remez prototype, its stop bands at or below sqrt((ds + s) / (1 + s)),
  ds the prototype's stop ripple and s = 1.001 ds.

Prints a table per kind: cases, answered met or valid, and those that
break the limits (with the worst few listed); exits 1 when any does.
"""
import json
import os
import random
import subprocess
import sys

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "cli"))
import requirement_reference as ref  # noqa: E402

TOLERANCE_DB = 1e-3


def run(cli, args):
    done = subprocess.run([cli] + args + ["--json"], capture_output=True, text=True, timeout=600)
    try:
        return json.loads(done.stdout), done.returncode
    except json.JSONDecodeError:
        return None, done.returncode


def stretches_peak_db(taps, fs, stops):
    """The largest gain outside the stop bands, dB."""
    regions, start = [], 0.0
    for lo, hi in sorted(stops):
        if lo > start:
            regions.append({"kind": "stop", "lo": start, "hi": lo})
        start = max(start, hi)
    if start < fs / 2.0:
        regions.append({"kind": "stop", "lo": start, "hi": fs / 2.0})
    peak = max(hi for hi, lo in ref.band_gains(taps, fs, regions))
    return 20.0 * np.log10(max(peak, 1e-300))


def requirement_breaks(taps, fs, bands):
    """dB by which a requirement's whole response passes its limit (<= 0: holds)."""
    taps = np.asarray(taps, dtype=float)
    return -ref.whole_margin(taps, fs, bands, ref.band_gains(taps, fs, bands))


def design_breaks(taps, fs, passes, stops):
    """dB by which a design's whole response rises past its pass band's top plus its ripple."""
    taps = np.asarray(taps, dtype=float)
    gains = ref.band_gains(taps, fs, [{"kind": "pass", "lo": lo, "hi": hi} for lo, hi in passes])
    top = 20.0 * np.log10(max(max(hi for hi, lo in gains), 1e-300))
    ripple = max([0.1] + [20.0 * np.log10(hi / max(lo, 1e-300)) for hi, lo in gains])
    return stretches_peak_db(taps, fs, stops) - top - ripple


def spec_case(rng, kind):
    fs = rng.choice([8000, 16000, 44100, 48000])
    half = fs // 2
    ripple = round(rng.uniform(0.1, 1.0), 2)
    att = round(rng.uniform(40, 80), 1)
    if kind == "two-pass":
        a = int(rng.uniform(0.08, 0.2) * fs)
        b = a + int(rng.uniform(0.02, 0.06) * fs)
        c = int(rng.uniform(0.26, 0.34) * fs)
        d = c + int(rng.uniform(0.04, 0.12) * fs)
        bands = [("pass", 0, a, ripple), ("stop", b, c, att), ("pass", d, half, ripple)]
    else:
        a = int(rng.uniform(0.04, 0.12) * fs)
        w1 = int(rng.uniform(0.01, 0.03) * fs)
        c = int(rng.uniform(0.22, 0.32) * fs)
        w2 = int(rng.uniform(0.04, 0.12) * fs)
        if rng.random() < 0.5:
            w1, w2 = w2, w1
        outer, inner = ("stop", "pass") if kind == "band-pass" else ("pass", "stop")
        lim = lambda k: ripple if k == "pass" else att
        bands = [(outer, 0, a, lim(outer)), (inner, a + w1, c, lim(inner)), (outer, c + w2, half, lim(outer))]
    args = ["--to-spec", "--method", "remez", "--fs", str(fs)]
    for k, lo, hi, limit in bands:
        args += ["--%s-band" % k, "%d:%d:%g" % (lo, hi, limit)]
    return fs, bands, args


def judge_spec(cli, rng, kind):
    fs, bands, args = spec_case(rng, kind)
    j, status = run(cli, args)
    met = j is not None and status == 0 and (j.get("to_spec") or {}).get("status") == "met"
    if not met:
        return False, 0.0, " ".join(args)
    req = [{"kind": k, "lo": lo, "hi": hi, "limit": limit} for k, lo, hi, limit in bands]
    return True, requirement_breaks(j["coefficients"], fs, req), " ".join(args)


def judge_rate(cli, rng, kind):
    fs = rng.choice([8000, 16000, 48000, 96000])
    if kind == "half-band":
        f1 = int(rng.uniform(0.02, 0.23) * fs)
        taps = 4 * rng.randint(1, 60) + 3
        args = ["--halfband", "--fs", str(fs), "--f1", str(f1), "--taps", str(taps)]
        stops = [(fs / 2.0 - f1, fs / 2.0)]
    else:
        m = rng.randint(2, 8)
        f1 = max(1, int(rng.uniform(0.05, 0.45) * fs / (2 * m)))
        taps = rng.randint(8, 300)
        args = ["--decimate" if rng.random() < 0.5 else "--interpolate", str(m), "--fs", str(fs), "--f1", str(f1),
                "--taps", str(taps)]
        stops = [(fs / m - f1, fs / 2.0)]
    j, status = run(cli, args)
    if j is None or status != 0 or not j.get("design_valid"):
        return False, 0.0, " ".join(args)
    taps_v = np.asarray(j["coefficients"], dtype=float)
    if kind != "half-band" and args[0] == "--interpolate":
        taps_v = taps_v / max(abs(taps_v.sum()), 1e-300) * 1.0  # unit pass gain, as the mask measures
    return True, design_breaks(taps_v, fs, [(0.0, float(f1))], stops), " ".join(args)


def judge_min_phase(cli, rng, kind):
    fs = rng.choice([8000, 16000, 48000])
    half = fs // 2
    method = rng.choice(["remez", "ls"])
    ftype = rng.choice(["lowpass", "bandpass", "bandstop"])
    taps = rng.randint(16, 90)
    sw = rng.choice([1, 10, 100])
    a = int(rng.uniform(0.06, 0.14) * fs)
    w1 = int(rng.uniform(0.02, 0.08) * fs)
    c = int(rng.uniform(0.24, 0.36) * fs)
    w2 = int(rng.uniform(0.02, 0.1) * fs)
    if ftype == "lowpass":
        rows = [(0, a, 1), (a + w1, half, 0)]
    elif ftype == "bandpass":
        rows = [(0, a, 0), (a + w1, c, 1), (c + w2, half, 0)]
    else:
        rows = [(0, a, 1), (a + w1, c, 0), (c + w2, half, 1)]
    args = ["--method", method, "--min-phase", "--type", ftype, "--taps", str(taps), "--fs", str(fs)]
    for lo, hi, v in rows:
        args += ["--band", "%d:%d:%d:%g" % (lo, hi, v, sw if v == 0 else 1)]
    j, status = run(cli, args)
    if j is None or status != 0 or not j.get("design_valid"):
        return False, 0.0, " ".join(args)
    h = np.asarray(j["coefficients"], dtype=float)
    passes = [(lo, hi) for lo, hi, v in rows if v]
    stops = [(lo, hi) for lo, hi, v in rows if not v]
    worst = design_breaks(h, fs, passes, stops)
    roots = np.roots(h) if len(h) > 1 else []
    if len(roots) and np.max(np.abs(roots)) >= 1.0:
        worst = max(worst, 1.0)
    mp = (j.get("methods") or {}).get("minimum_phase") or {}
    if method == "remez" and mp.get("prototype_error"):
        ds = abs(mp["prototype_error"]) / sw
        s = ds * 1.001
        promise = 10.0 * np.log10((ds + s) / (1.0 + s))
        gains = ref.band_gains(h, fs, [{"kind": "stop", "lo": lo, "hi": hi} for lo, hi in stops])
        level = max(20.0 * np.log10(max(g[0], 1e-300)) for g in gains)
        worst = max(worst, level - promise - 0.01)
    return True, worst, " ".join(args)


KINDS = [
    ("band-pass", judge_spec),
    ("band-stop", judge_spec),
    ("two-pass", judge_spec),
    ("rate change", judge_rate),
    ("half-band", judge_rate),
    ("minimum phase", judge_min_phase),
]


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    cli = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 500
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 33)
    rows = {name: [0, 0, 0, []] for name, _ in KINDS}
    for i in range(count):
        name, judge = KINDS[i % len(KINDS)]
        answered, breaks, args = judge(cli, rng, name)
        row = rows[name]
        row[0] += 1
        if answered:
            row[1] += 1
            if breaks > TOLERANCE_DB:
                row[2] += 1
                row[3].append((breaks, args))
    print("%-14s %6s %14s %8s" % ("kind", "cases", "met or valid", "breaks"))
    total = 0
    for name, _ in KINDS:
        cases, answered, broken, examples = rows[name]
        total += broken
        print("%-14s %6d %14d %8d" % (name, cases, answered, broken))
    for name, _ in KINDS:
        for breaks, args in sorted(rows[name][3], reverse=True)[:3]:
            print("  %s: %.2f dB past the limit: %s" % (name, breaks, args))
    return 1 if total else 0


if __name__ == "__main__":
    sys.exit(main())
