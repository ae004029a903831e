#pragma once

#include <limits>
#include <vector>

#include "dsp/RemezExchange.h"

// Taps from where the exchange of DesignRemez ended (RemezExchange.h): the
// cosine coefficients of an extremal set's interpolant, checked on the
// grid, and the best candidate when the passes did not converge.

// The taps of one extremal set and what the grid says of them.
struct RemezFinish {
    std::vector<double> alpha;  // r cosine coefficients
    double delta = 0.0;
    double error = std::numeric_limits<double>::infinity();
    double resolution = 0.0;
    int alternations = 0;
    bool verified = false;
    bool exact = false;
};

// The finished design of one exchange: its converged set's taps when they
// pass the check (converged set), else the best of the candidates (the last
// set's taps, the best set's, the finished design of the coarser start),
// converged only when it is exact. Nothing (converged unset) without a grid.
RemezFinish FinishRemezExchange(RemezExchange& ex, int r, bool& converged);
