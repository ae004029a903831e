#pragma once

// Modified Bessel function of the first kind, order 0, by its power series
// (terms added until term / sum <= 1e-6).
double BesselI0(double x);
// Chebyshev polynomial T_n(x), n >= 0: cos(n acos x) for |x| <= 1, else
// cosh(n ArcCosh x), with the sign (-1)^n for x < -1.
double ChebyshevPoly(double x, int n);
// ln(x + sqrt(x^2 - 1)), for x >= 1.
double ArcCosh(double x);
