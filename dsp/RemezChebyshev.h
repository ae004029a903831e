#pragma once

#include <vector>

#include "dsp/RemezAlgorithm.h"

// The interpolant of an exchange pass as a Chebyshev series in
// x = cos(2 pi f): sum_j c_j T_j(x) = sum_j c_j cos(2 pi j f), so the series
// coefficients are the cosine coefficients of the design.

// The interpolant through ext (x_k, ad_k, y_k) at x by the barycentric
// formula, taking y_k only where x equals x_k exactly. Unlike the node test
// of the passes this is exact to rounding near a node; 0 where the sums vanish.
double InterpolateExact(const std::vector<ExtremalPoint>& ext, double x);

// cos(pi (i + 1/2) / count), the i-th of count Chebyshev points.
double ChebyshevPoint(int i, int count);
// The coefficients c_0 .. c_(m-1) of the polynomial of degree m - 1 with the
// values v at the m Chebyshev points (a DCT-II).
std::vector<double> ChebyshevCoefficients(const std::vector<double>& v);
// The same with the table of ChebyshevCosineTable(v.size()) at hand.
std::vector<double> ChebyshevCoefficients(const std::vector<double>& v, const std::vector<double>& table);
// cos(pi q / (2m)) for q = 0 .. 4m - 1, exactly symmetric (0 at q = m, 3m).
std::vector<double> ChebyshevCosineTable(int m);

// The count coefficients c_0 .. c_(count-1) of the polynomial of degree
// count - 1 through the interpolant's values at the count Chebyshev points
// cos(pi (m + 1/2) / count), m = 0 .. count-1. The points lie all across
// [-1, 1], never on an interval end, and the sum is a DCT-II. With count =
// ext.size() the series is the interpolant itself.
std::vector<double> InterpolantCoefficients(const std::vector<ExtremalPoint>& ext, int count);

// The coefficients in x of sum_j a_j T_j(t), t = alpha x + beta: a series
// found on a part [lo, hi] of [-1, 1] (t = (2x - lo - hi) / (hi - lo)),
// written as one in x. Clenshaw's recurrence with series for its values
// (McClellan, Parks and Rabiner's program, 1973, converts its coefficients
// so); about 2 n^2 operations for n coefficients, n out.
std::vector<double> ComposeWithLine(const std::vector<double>& a, double alpha, double beta);

// c_0 + sum_(j >= 1) c_j T_j(x) by Clenshaw's recurrence
// b_j = fma(2x, b_(j+1), c_j - b_(j+2)), the last step with x for 2x: in
// exactly the operations of the vector kernels; n coefficients, 0 for n = 0.
double ChebyshevSeries(const double* c, int n, double x);

// Bound on the rounding error of ChebyshevSeries over [-1, 1] relative to
// the coefficients' size: n eps sum |c_j| (the recurrence adds at most a few
// roundings of size eps sum |c_j| per step).
double ChebyshevSeriesErrorBound(const std::vector<double>& c);

// The n coefficients c minimising sum_i (W_i (sum_j c_j T_j(x_i) - value_i))^2
// over the points x_i, by Householder QR: the residual stays at rounding
// size however the points cluster. Empty when there are fewer points than n.
// Work about 2 rows n^2.
std::vector<double> WeightedSeriesFit(const std::vector<double>& x, const std::vector<double>& value,
                                      const std::vector<double>& weight, int n);
