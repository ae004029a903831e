#!/usr/bin/python3
"""Module calls against scipy.signal in the same run, at 63, 255 and 1025 taps.

Usage: PYTHONPATH=BUILD/python /usr/bin/python3 bench/python_calls.py
           [--repetitions R] [--engine BUILD/bench/DesignBench]

For each N it times, R times each, and prints the medians in ms:
- remez: zantro.design(method="remez") against scipy.signal.remez on the
  same lowpass (8000 Hz, pass 0..1000 Hz weight 1, stop from 1200, 1060 or
  1020 Hz weight 10), and the largest difference of their taps;
- analysis: the same design with its analysis read (measured when first
  asked for), the cost a user pays who looks at the figures;
- sinc: a Kaiser windowed sinc (beta 6, 1000 Hz) against
  scipy.signal.firwin, where the call's own cost dominates;
- measure: zantro.measure of scipy's taps on the two bands against
  scipy.signal.freqz of 8192 points (a reference for an FFT's cost, not
  the same work: measure finds the band edges' extremes too).
Last, zantro.measure of 100,000 taps (a Kaiser lowpass from
scipy.signal.firwin) and scipy.signal.freqz of as many points, median of 3.
With --engine (a DesignBench built with -DZANTRO_BUILD_BENCH=ON) it also
runs ModuleRemezLowpass, the engine designing the same request without
Python, and prints module call / engine design: the module's own cost.
The machine's load shows in the spread: report medians and the load.
"""
import argparse
import json
import os
import statistics
import subprocess
import time

import numpy as np
import scipy.signal

import zantro

FS = 8000
STOP_EDGE = {63: 1200, 255: 1060, 1025: 1020}


def median_ms(call, repetitions):
    call()
    times = []
    for _ in range(repetitions):
        start = time.perf_counter()
        call()
        times.append(time.perf_counter() - start)
    return 1e3 * statistics.median(times)


def engine_ms(engine, repetitions):
    """ModuleRemezLowpass's medians by N, from DesignBench's JSON."""
    done = subprocess.run([engine, "--benchmark_filter=ModuleRemezLowpass", "--benchmark_format=json",
                           f"--benchmark_repetitions={max(repetitions // 4, 3)}",
                           "--benchmark_report_aggregates_only=true"], capture_output=True, text=True, check=True)
    medians = {}
    for b in json.loads(done.stdout)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            medians[int(b["run_name"].split("/")[1])] = b["real_time"]  # ms
    return medians


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--repetitions", type=int, default=41)
    parser.add_argument("--engine", help="a DesignBench program")
    args = parser.parse_args()
    engine = engine_ms(args.engine, args.repetitions) if args.engine else {}
    print(f"load average {os.getloadavg()[0]:.2f}, medians of {args.repetitions} in ms")
    print("   N | remez: zantro  scipy  ratio | +analysis | sinc: zantro  firwin | measure  freqz | max|dtap|"
          + (" | engine  call/engine" if engine else ""))
    for n in (63, 255, 1025):
        edge = STOP_EDGE[n]
        bands = [(0, 1000, 1.0, 1.0), (edge, FS // 2, 0.0, 10.0)]
        reps = args.repetitions if n < 1025 else max(args.repetitions // 4, 5)
        ours = zantro.design(method="remez", taps=n, fs=FS, bands=bands)
        theirs = scipy.signal.remez(n, [0, 1000, edge, FS // 2], [1, 0], weight=[1, 10], fs=FS)
        z_remez = median_ms(lambda: zantro.design(method="remez", taps=n, fs=FS, bands=bands), reps)
        s_remez = median_ms(lambda: scipy.signal.remez(n, [0, 1000, edge, FS // 2], [1, 0], weight=[1, 10], fs=FS),
                            reps)
        z_analysis = median_ms(lambda: zantro.design(method="remez", taps=n, fs=FS, bands=bands).analysis, reps)
        z_sinc = median_ms(lambda: zantro.design(method="sinc", window="kaiser", beta=6, taps=n, fs=FS, f1=1000),
                           args.repetitions)
        s_sinc = median_ms(lambda: scipy.signal.firwin(n, 1000, window=("kaiser", 6), fs=FS), args.repetitions)
        mask = [(0, 1000, "pass"), (edge, FS // 2, "stop")]
        z_measure = median_ms(lambda: zantro.measure(theirs, FS, bands=mask), reps)
        s_freqz = median_ms(lambda: scipy.signal.freqz(theirs, worN=8192, fs=FS), reps)
        row = (f"{n:4d} | {z_remez:12.3f} {s_remez:6.3f} {z_remez / s_remez:6.2f} | {z_analysis:9.3f} | "
               f"{z_sinc:12.3f} {s_sinc:7.3f} | {z_measure:7.3f} {s_freqz:6.3f} | "
               f"{np.max(np.abs(np.asarray(ours) - theirs)):.1e}")
        if n in engine:
            row += f" | {engine[n]:6.3f} {z_remez / engine[n]:12.2f}"
        print(row)
    long_taps = scipy.signal.firwin(100_000, 1000, window=("kaiser", 8), fs=FS)
    z_long = median_ms(lambda: zantro.measure(long_taps, FS, bands=[(0, 990, "pass"), (1010, FS // 2, "stop")]), 3)
    s_long = median_ms(lambda: scipy.signal.freqz(long_taps, worN=len(long_taps), fs=FS), 3)
    print(f"measure of 100000 taps: {z_long:.1f} ms; freqz of 100000 points: {s_long:.1f} ms")


if __name__ == "__main__":
    main()
