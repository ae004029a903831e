#!/usr/bin/python3
"""Sweep of saving and reopening designs of every kind.

Usage: /usr/bin/python3 scripts/document_sweep.py BUILD/python ZANTRO_CLI [--count N] [--seed S]

Draws N random designs (default 400) over the kinds a ".fir" document keeps
beyond the form's fields (least squares, minimum phase, CIC-compensating and
inverse-sinc Remez, the three pulses, decimators, interpolators, half-band
filters, differentiators of any gain) and, for contrast, the form's own
windowed-sinc designs. Each design the module accepts is saved with
zantro.Design.save, reopened with zantro.read_fir and with zantro-cli --doc
(which saves it again with --save); it passes when both give the saved taps
bit for bit, the module's analysis names the same bands, and zantro-cli's
file equals the module's byte for byte. A design the module refuses is
counted, not checked. Prints the counts per kind and every failure; exits 1
on a failure.
"""
import json
import os
import random
import subprocess
import sys
import tempfile
from collections import Counter


def lowpass_table(rng, fs):
    edge = rng.randrange(fs // 16, fs // 4)
    stop = edge + rng.randrange(fs // 40, fs // 8)
    return [(0, edge, 1.0, 1.0), (stop, fs // 2, 0.0, round(rng.uniform(0.5, 50.0), 3))]


def draw(rng):
    kind = rng.choice(["ls", "min_phase", "cic_comp", "inverse_sinc", "pulse", "decimate", "interpolate",
                       "halfband", "differentiator", "sinc"])
    fs = rng.choice([8000, 44100, 48000])
    if kind == "ls":
        return kind, {"method": "ls", "taps": rng.randrange(8, 200), "fs": fs, "bands": lowpass_table(rng, fs),
                      "min_phase": rng.random() < 0.3}
    if kind == "min_phase":
        return kind, {"method": "remez", "min_phase": True, "taps": rng.randrange(8, 120), "fs": fs,
                      "bands": lowpass_table(rng, fs)}
    if kind == "cic_comp":
        return kind, {"method": "remez", "cic_comp": (rng.randrange(2, 32), rng.randrange(1, 3), rng.randrange(1, 6)),
                      "taps": rng.randrange(15, 128), "fs": fs, "bands": lowpass_table(rng, fs)}
    if kind == "inverse_sinc":
        return kind, {"method": "remez", "inverse_sinc": True, "taps": rng.randrange(15, 128), "fs": fs,
                      "bands": lowpass_table(rng, fs)}
    if kind == "pulse":
        shape = rng.choice(["rc", "rrc", "gaussian"])
        sps = rng.randrange(2, 17)
        span = rng.randrange(2, 17)
        if (span * sps) % 2:
            span += 1
        keywords = {"pulse": shape, "sps": sps, "span": span, "fs": fs,
                    "pulse_gain": rng.choice(["energy", "dc"])}
        if shape == "gaussian":
            keywords["bt"] = round(rng.uniform(0.1, 1.0), 3)
        else:
            keywords["rolloff"] = round(rng.uniform(0.05, 1.0), 3)
        return kind, keywords
    if kind in ("decimate", "interpolate"):
        factor = rng.randrange(2, 9)
        keywords = {kind: factor, "fs": fs, "f1": rng.randrange(fs // 40, fs // (2 * factor) - fs // 100),
                    "taps": rng.randrange(16, 160), "alias_bands": rng.random() < 0.5}
        if rng.random() < 0.3:
            keywords.update({"method": "sinc", "window": "kaiser", "beta": round(rng.uniform(2.0, 12.0), 2)})
        return kind, keywords
    if kind == "halfband":
        return kind, {"halfband": True, "fs": fs, "f1": rng.randrange(fs // 20, fs // 5),
                      "taps": 4 * rng.randrange(1, 40) + 3}
    if kind == "differentiator":
        return kind, {"type": "differentiator", "taps": rng.randrange(8, 128),
                      "gain": rng.choice(["pi", "pi/2", 1, round(rng.uniform(0.1, 10.0), 2)])}
    return kind, {"taps": rng.randrange(8, 256), "fs": fs, "f1": rng.randrange(fs // 40, fs // 3),
                  "window": rng.choice(["hamming", "blackman", "hanning"])}


def bands(analysis):
    return [(b["kind"], b["lo_hz"], b["hi_hz"]) for b in analysis["bands"]]


def main():
    args = sys.argv[1:]
    count, seed = 400, 1
    if "--count" in args:
        i = args.index("--count")
        count = int(args[i + 1])
        del args[i:i + 2]
    if "--seed" in args:
        i = args.index("--seed")
        seed = int(args[i + 1])
        del args[i:i + 2]
    if len(args) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    sys.path.insert(0, os.path.abspath(args[0]))
    import numpy as np
    import zantro
    cli = os.path.abspath(args[1])
    rng = random.Random(seed)
    checked, refused, failures = Counter(), Counter(), []
    with tempfile.TemporaryDirectory() as work:
        for n in range(count):
            kind, keywords = draw(rng)
            try:
                d = zantro.design(**keywords)
            except zantro.DesignError:
                refused[kind] += 1
                continue
            path = os.path.join(work, "d.fir")
            again_path = os.path.join(work, "cli.fir")
            d.save(path)
            problems = []
            again = zantro.read_fir(path)
            if not np.array_equal(again.taps, d.taps):
                problems.append("read_fir taps differ")
            if bands(again.analysis) != bands(d.analysis):
                problems.append("read_fir bands differ")
            done = subprocess.run([cli, "--doc", path, "--save", again_path, "--json"], capture_output=True, text=True)
            if done.returncode != 0:
                problems.append(f"zantro-cli --doc exits {done.returncode}: {done.stderr.strip()}")
            elif json.loads(done.stdout)["coefficients"] != d.taps.tolist():
                problems.append("zantro-cli --doc taps differ")
            elif open(again_path, "rb").read() != open(path, "rb").read():
                problems.append("zantro-cli --save file differs")
            checked[kind] += 1
            if problems:
                failures.append((n, kind, keywords, problems))
    print(f"{'kind':<16}{'checked':>8}{'refused':>8}")
    for kind in sorted(set(checked) | set(refused)):
        print(f"{kind:<16}{checked[kind]:>8}{refused[kind]:>8}")
    print(f"{'all':<16}{sum(checked.values()):>8}{sum(refused.values()):>8}")
    for n, kind, keywords, problems in failures:
        print(f"FAIL #{n} {kind} {keywords}: {'; '.join(problems)}")
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
