#!/usr/bin/python3
"""References for the least-squares and minimum-phase tests, from numpy and scipy.

Usage: methods_reference.py firls IN.json OUT.txt
         IN.json: a list of {"taps", "bands" (edges, fractions of fs), "desired"
         (one value per band), "weight"}; OUT.txt: one line per design with
         scipy.signal.firls's taps (fs = 1), or "error".
       methods_reference.py roots IN.txt OUT.txt
         IN.txt: one set of taps per line; OUT.txt: per line the radii of the
         zeros of sum h[n] z^-n (numpy.roots, the companion matrix's
         eigenvalues), ascending.
Exits with 3 when numpy or scipy cannot be imported.
"""
import json
import sys

try:
    import numpy
    import scipy.signal
except ImportError:
    sys.exit(3)


def firls(src, dst):
    with open(src) as f:
        designs = json.load(f)
    with open(dst, "w") as out:
        for d in designs:
            try:
                desired = [v for v in d["desired"] for _ in (0, 1)]
                h = scipy.signal.firls(d["taps"], d["bands"], desired, weight=d["weight"], fs=1.0)
                out.write(" ".join(repr(float(v)) for v in h) + "\n")
            except Exception:
                out.write("error\n")


def roots(src, dst):
    with open(src) as f, open(dst, "w") as out:
        for line in f:
            h = [float(v) for v in line.split()]
            r = numpy.sort(numpy.abs(numpy.roots(h)))
            out.write(" ".join(repr(float(v)) for v in r) + "\n")


def main():
    {"firls": firls, "roots": roots}[sys.argv[1]](sys.argv[2], sys.argv[3])


if __name__ == "__main__":
    main()
