#!/usr/bin/python3
"""Sweep of the Remez design against scipy.signal.remez.

Usage: /usr/bin/python3 scripts/remez_sweep.py [ZANTRO_CLI] [--quick] [--csv FILE]
       /usr/bin/python3 scripts/remez_sweep.py --module BUILD/python [--quick] [--csv FILE]

Every N from 4 to 64, every 7th N from 71 to 1022, plus 1024 and 1025, at
grid densities 8, 16, 32 and 64, on two lowpass tables at fs 8000:
  (a) 0-1000 Hz value 1 weight 1, stop band value 0 weight 10 from
      1000 + 200*254/(N-1) Hz (rounded; at most 3900 Hz) to 4000 Hz;
  (b) 0-1000 Hz value 1 weight 1, 1200-4000 Hz value 0 weight 10.
Each design runs through zantro-cli --json (the Design command with
Natural scaling), or with --module through the Python module zantro in
that folder (zantro.design with the same keywords), and through
scipy.signal.remez with the same bands, weights, density and length
(maxiter 64).

The taps of both are checked here, independently of the program: the
zero-phase amplitude, summed from the taps on the algorithm's dense grid
(rebuilt here from its definition), gives the weighted error E. A design is
equiripple when E alternates in sign at r + 1 grid points whose |E| is at
least 99% of the largest (so it is within 1% of the best possible on that
grid), or exact when the largest |E| is below 1e-12.

Odd-length antisymmetric designs from 0 Hz, where Q = sin(2 pi f) is
smallest: a differentiator 0-3980 Hz (value 1, weight 1: the desired
response 2 f and weight 1/f, fractions of fs) and a Hilbert transformer
0-3900 Hz (value 1, weight 1), every odd N from 5 to 1025 in steps of 28,
plus 1025, at densities 16, 32 and 64. Their error is that of the taps'
antisymmetric amplitude on the grid, without any floor on Q.

Counts: converged and "did not converge" as the program reports them,
non-finite taps, false convergence (reported converged but neither
equiripple nor exact), and, where scipy's design is equiripple, how often
the program's weighted error is within 1% of scipy's. --quick runs a small
subset (CI-sized).
"""
import json
import math
import subprocess
import sys
import time

import numpy as np

try:
    import scipy.signal
except ImportError:
    scipy = None

FS = 8000
DENSITIES = (8, 16, 32, 64)


def lengths(quick):
    if quick:
        return [4, 5, 17, 38, 64, 127, 255]
    ns = list(range(4, 65)) + list(range(71, 1025, 7)) + [1024, 1025]
    return sorted(set(ns))


def tables(n):
    stop = min(1000 + int(round(200.0 * 254.0 / (n - 1))), 3900)
    return {"a": [(0, 1000, 1.0, 1.0), (stop, 4000, 0.0, 10.0)],
            "b": [(0, 1000, 1.0, 1.0), (1200, 4000, 0.0, 10.0)]}


def functions(n):
    return (n + 1) // 2 if n % 2 else n // 2


def antisymmetric_lengths(quick):
    if quick:
        return [5, 129, 257]
    return sorted(set(list(range(5, 1026, 28)) + [1025]))


ANTI_DENSITIES = (16, 32, 64)
ANTI_TABLES = {"differentiator": [(0, 3980, 1.0, 1.0)], "hilbert": [(0, 3900, 1.0, 1.0)]}


def dense_grid(bands, n, density, kind="lowpass"):
    """The algorithm's grid: spacing 0.5/(r density), points by repeated
    addition from each lower edge (from the spacing for antisymmetric types
    starting below it), the band's last point moved onto its upper edge, and
    for even symmetric and odd antisymmetric N a last point above
    0.5 - delf dropped, Q vanishing there. Returns frequencies (fractions of
    fs), desired values, weights; a differentiator's desired value is
    2 value f and its weight weight / f."""
    anti = kind != "lowpass"
    r = n // 2 if anti else functions(n)
    delf = 0.5 / (r * density)
    f, d, w = [], [], []
    for index, (lo, hi, value, weight) in enumerate(bands):
        lo, hi = lo / FS, hi / FS
        if anti and index == 0 and lo < delf:
            lo = delf
        start = len(f)
        x = lo
        while x < hi:
            f.append(x)
            x = x + delf
        if len(f) > start:
            f[-1] = hi
        for x in f[start:]:
            diff = kind == "differentiator"
            d.append(2.0 * value * x if diff else value)
            w.append(weight / x if diff and value >= 1e-4 else weight)
    if (n % 2 == 0) != anti and f and f[-1] > 0.5 - delf:
        f.pop(), d.pop(), w.pop()
    return np.array(f), np.array(d), np.array(w)


def amplitude(h, f, anti=False):
    """Zero-phase amplitude of symmetric (or antisymmetric) taps h at
    frequencies f (fractions of fs)."""
    n = len(h)
    k = np.arange(n) - (n - 1) / 2.0
    out = np.empty(len(f))
    for s in range(0, len(f), 2048):
        phase = 2.0 * np.pi * np.outer(f[s:s + 2048], k)
        out[s:s + 2048] = (np.sin(phase) @ -h) if anti else (np.cos(phase) @ h)
    return out


def check(h, grid, n, kind="lowpass"):
    """Largest weighted error on the grid, and whether the taps are
    equiripple or exact. No floor on Q: the error is the taps' own."""
    f, d, w = grid
    if not np.all(np.isfinite(h)):
        return math.inf, False
    anti = kind != "lowpass"
    a = amplitude(h, f, anti)
    if anti and np.dot(a, d) < 0:
        a = -a
    e = (a - d) * w
    largest = float(np.max(np.abs(e)))
    if largest < 1e-12:
        return largest, True
    big = e[np.abs(e) >= 0.99 * largest]
    signs = np.sign(big)
    alternations = 1 + int(np.count_nonzero(signs[1:] != signs[:-1]))
    r = n // 2 if anti else functions(n)
    return largest, alternations >= r + 1


def run_cli(cli, n, bands, density, kind="lowpass"):
    args = [cli, "--method", "remez", "--type", kind, "--taps", str(n), "--grid", str(density),
            "--scaling", "natural", "--json"]
    for lo, hi, value, weight in bands:
        args += ["--band", "%d:%d:%.2f:%.2f" % (lo, hi, value, weight)]
    out = subprocess.run(args, capture_output=True, text=True)
    j = json.loads(out.stdout)
    taps = np.array([math.nan if c is None else float(c) for c in j["coefficients"]])
    converged = any("iterations to converge" in m for m in j["messages"])
    return taps, converged, j.get("design_seconds", 0.0)


def run_module(zantro, n, bands, density, kind="lowpass"):
    table = [(lo, hi, float("%.2f" % value), float("%.2f" % weight)) for lo, hi, value, weight in bands]
    start = time.perf_counter()
    d = zantro.design(method="remez", type=kind, taps=n, grid=density, scaling="natural", bands=table)
    seconds = time.perf_counter() - start
    return np.array(d.taps), d.converged, seconds


def run_scipy(n, bands, density, kind="lowpass"):
    edges, desired, weight = [], [], []
    for lo, hi, value, wt in bands:
        edges += [lo, hi]
        # scipy's differentiator asks for value f (fractions of fs), ours for 2 value f.
        desired.append(2.0 * value if kind == "differentiator" else value)
        weight.append(wt)
    start = time.process_time()
    try:
        h = scipy.signal.remez(n, edges, desired, weight=weight, fs=FS, grid_density=density, maxiter=64,
                               type={"lowpass": "bandpass"}.get(kind, kind))
    except Exception:
        h = None
    return h, time.process_time() - start


def main():
    argv = [a for a in sys.argv[1:]]
    quick = "--quick" in argv
    csv_path = None
    if "--csv" in argv:
        csv_path = argv[argv.index("--csv") + 1]
        argv.remove(csv_path)
    design = None
    if "--module" in argv:
        folder = argv[argv.index("--module") + 1]
        argv.remove(folder)
        sys.path.insert(0, folder)
        import zantro
        design = lambda n, bands, density, kind: run_module(zantro, n, bands, density, kind)
    argv = [a for a in argv if not a.startswith("--")]
    cli = argv[0] if argv else "build-ci/cli/zantro-cli"
    if design is None:
        design = lambda n, bands, density, kind: run_cli(cli, n, bands, density, kind)
    counts = {"designs": 0, "converged": 0, "did not converge": 0, "non-finite taps": 0,
              "false convergence": 0, "scipy equiripple": 0, "within 1% of scipy": 0,
              "better than scipy by over 1%": 0, "worse than scipy by over 1%": 0,
              "converged, scipy not equiripple": 0}
    ours_seconds = scipy_seconds = 0.0
    # Seconds of both, split by whether the program converged.
    split = {True: [0.0, 0.0], False: [0.0, 0.0]}
    rows = []
    failures = []
    jobs = [(n, name, "lowpass", bands, density) for n in lengths(quick) for name, bands in tables(n).items()
            for density in DENSITIES]
    jobs += [(n, kind, kind, bands, density) for n in antisymmetric_lengths(quick)
             for kind, bands in ANTI_TABLES.items() for density in ANTI_DENSITIES]
    for n, name, kind, bands, density in jobs:
        grid = dense_grid(bands, n, density, kind)
        taps, converged, seconds = design(n, bands, density, kind)
        ours_seconds += seconds
        counts["designs"] += 1
        counts["converged" if converged else "did not converge"] += 1
        finite = bool(np.all(np.isfinite(taps)))
        if not finite:
            counts["non-finite taps"] += 1
        err, good = check(taps, grid, n, kind)
        if converged and not good:
            counts["false convergence"] += 1
            failures.append("false convergence: table %s N %d density %d error %.3g" % (name, n, density, err))
        ref_err, ref_good = math.nan, False
        ref_time = math.nan
        split[bool(converged)][0] += seconds
        if scipy is not None:
            ref, ref_time = run_scipy(n, bands, density, kind)
            scipy_seconds += ref_time
            split[bool(converged)][1] += ref_time
            if ref is not None:
                ref_err, ref_good = check(np.asarray(ref), grid, n, kind)
            if ref_good:
                counts["scipy equiripple"] += 1
                if err <= 1.01 * ref_err + 1e-15:
                    counts["within 1% of scipy"] += 1
                else:
                    counts["worse than scipy by over 1%"] += 1
                    failures.append("worse than scipy: table %s N %d density %d %.4g vs %.4g%s" % (
                        name, n, density, err, ref_err, "" if converged else " (did not converge)"))
                if err < 0.99 * ref_err:
                    counts["better than scipy by over 1%"] += 1
            elif converged:
                counts["converged, scipy not equiripple"] += 1
        rows.append((name, n, density, int(converged), int(finite), err, int(good), ref_err, int(ref_good),
                     seconds, ref_time))
        sys.stdout.write("\rN %4d" % n)
        sys.stdout.flush()
    print()
    for line in failures:
        print(line)
    for key, value in counts.items():
        print("%-32s %d" % (key, value))
    print("%-32s %.2f s (design_seconds summed)" % ("zantro time", ours_seconds))
    print("%-32s %.2f s (CPU)" % ("scipy time", scipy_seconds))
    for done in (True, False):
        print("%-32s zantro %.2f s, scipy %.2f s" % (
            "time, converged" if done else "time, did not converge", split[done][0], split[done][1]))
    if csv_path:
        with open(csv_path, "w") as out:
            out.write("table,taps,density,converged,finite,error,equiripple,scipy_error,scipy_equiripple,"
                      "seconds,scipy_seconds\n")
            for row in rows:
                out.write(",".join(str(v) for v in row) + "\n")
    bad = counts["non-finite taps"] + counts["false convergence"]
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
