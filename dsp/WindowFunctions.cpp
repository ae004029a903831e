#include "dsp/WindowFunctions.h"

#include <cmath>

double BesselI0(double x)
{
    const double half = x / 2.0;
    double sum = 1.0;
    double term = 1.0;
    int k = 0;
    do {
        ++k;
        const double factor = half / k;
        term *= factor * factor;
        sum += term;
    } while (term / sum > 1e-6);
    return sum;
}

double ChebyshevPoly(double x, int n)
{
    if (std::fabs(x) <= 1.0)
        return std::cos(n * std::acos(x));
    if (x > 0.0)
        return std::cosh(n * ArcCosh(x));
    // ArcCosh has no real value below -1; T_n(-x) = (-1)^n T_n(x).
    const double t = std::cosh(n * ArcCosh(-x));
    return n % 2 == 0 ? t : -t;
}

double ArcCosh(double x)
{
    return std::log(x + std::sqrt(x * x - 1.0));
}
