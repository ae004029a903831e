#!/usr/bin/python3
"""Two Python threads designing at once: does zantro.design release the GIL?

Usage: PYTHONPATH=BUILD/python /usr/bin/python3 bench/python_threads.py [--repetitions R] [--designs K]

Times K 1025-tap Remez lowpass designs in one thread, then 2K designs split
over two threads started together, R times each, and prints the medians and
their ratio (two threads / one thread). Holding the GIL would serialise the
threads and make the ratio 2; released, two threads on two cores finish in
clearly less. The engine itself evaluates a large Remez pass on a second
thread, so one design already keeps more than one core partly busy and the
ratio stays above 1. A second measure needs no second core: a pure-Python
thread counting while the main thread designs keeps counting at nearly its
own pace only when the design has let go of the GIL. The machine's load
shows in the spread: report the medians.
"""
import os
import statistics
import sys
import threading
import time

import zantro

# A transition narrow enough for 1025 taps to converge (about 60 dB).
BANDS = [(0, 1000, 1.0, 1.0), (1020, 4000, 0.0, 10.0)]


def design_many(count):
    for _ in range(count):
        d = zantro.design(method="remez", taps=1025, fs=8000, bands=BANDS, grid=16)
        assert d.converged


def one_thread(count):
    start = time.perf_counter()
    design_many(count)
    return time.perf_counter() - start


def two_threads(count):
    threads = [threading.Thread(target=design_many, args=(count,)) for _ in range(2)]
    start = time.perf_counter()
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    return time.perf_counter() - start


def counting_pace(work):
    """Loops per second of a pure-Python counting thread while this thread does work()."""
    done = threading.Event()
    loops = [0]

    def counter():
        while not done.is_set():
            loops[0] += 1

    t = threading.Thread(target=counter)
    start = time.perf_counter()
    t.start()
    work()
    done.set()
    t.join()
    return loops[0] / (time.perf_counter() - start)


def main(argv):
    repetitions = int(argv[argv.index("--repetitions") + 1]) if "--repetitions" in argv else 5
    designs = int(argv[argv.index("--designs") + 1]) if "--designs" in argv else 3
    design_many(1)  # warm up: the module's kernels and caches
    ones, twos = [], []
    for _ in range(repetitions):
        ones.append(one_thread(designs))
        twos.append(two_threads(designs))
    one, two = statistics.median(ones), statistics.median(twos)
    print("machine: %d cores (%s)" % (os.cpu_count(), os.uname().machine))
    print("%d designs of 1025 taps in one thread:   median %.3f s  (runs %s)" % (
        designs, one, " ".join("%.3f" % t for t in ones)))
    print("%d designs each in two threads at once: median %.3f s  (runs %s)" % (
        designs, two, " ".join("%.3f" % t for t in twos)))
    print("ratio two threads / one thread: %.2f (2.00 would mean the GIL serialises them)" % (two / one))
    alone = statistics.median(counting_pace(lambda: time.sleep(one)) for _ in range(repetitions))
    during = statistics.median(counting_pace(lambda: design_many(designs)) for _ in range(repetitions))
    print("a Python thread counting while designs run: %.0f%% of its pace alone (near 0%% with the GIL held)" % (
        100.0 * during / alone))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
