#pragma once

#include <cmath>

// Where a function unimodal on [lo, hi] peaks, by golden-section search
// (Kiefer, "Sequential minimax search for a maximum", 1953): each of the
// steps narrows the bracket to 0.618 of its width, one new evaluation a
// step; returns the middle of the last bracket.
template <typename Fn>
double GoldenMaximum(Fn&& f, double lo, double hi, int steps)
{
    const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
    double x1 = hi - ratio * (hi - lo), x2 = lo + ratio * (hi - lo);
    double f1 = f(x1), f2 = f(x2);
    for (int step = 0; step < steps; ++step) {
        if (f1 >= f2) {
            hi = x2;
            x2 = x1;
            f2 = f1;
            x1 = hi - ratio * (hi - lo);
            f1 = f(x1);
        } else {
            lo = x1;
            x1 = x2;
            f1 = f2;
            x2 = lo + ratio * (hi - lo);
            f2 = f(x2);
        }
    }
    return 0.5 * (lo + hi);
}
