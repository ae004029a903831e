#pragma once

#include <cmath>

// cos(pi x) and sin(pi x) for x in [-1, 1], to about an ulp. The angle is
// never formed: x is reduced to t = x - n/2, |t| <= 1/4, exactly, and the
// series of cos(pi t) and sin(pi t) in t are summed, so values near the
// zeros keep their relative accuracy (unlike std::cos(2.0 * pi * f), whose
// rounded angle costs up to an ulp of pi there). Exact at 0, 1/2 and 1.
// Branch-free and inline, so loops over arrays vectorise; every lane does
// the same operations as the scalar call and gives the same bits.

// sin(pi t) and cos(pi t) for |t| <= 1/4 by their Taylor series in t
// (the first terms left out lie below 1e-19).
inline double SinPiSeries(double t)
{
    const double z = t * t;
    double p = -2.2948428997269873e-08;
    p = p * z + 7.952054001475513e-07;
    p = p * z + -2.1915353447830217e-05;
    p = p * z + 0.00046630280576761255;
    p = p * z + -0.0073704309457143504;
    p = p * z + 0.08214588661112823;
    p = p * z + -0.5992645293207921;
    p = p * z + 2.5501640398773455;
    p = p * z + -5.16771278004997;
    return t * (p * z + 3.141592653589793);
}

inline double CosPiSeries(double t)
{
    const double z = t * t;
    double p = 3.604730797462501e-09;
    p = p * z + -1.3878952462213771e-07;
    p = p * z + 4.303069587032947e-06;
    p = p * z + -0.0001046381049248457;
    p = p * z + 0.0019295743094039231;
    p = p * z + -0.02580689139001406;
    p = p * z + 0.2353306303588932;
    p = p * z + -1.3352627688545895;
    p = p * z + 4.0587121264167685;
    p = p * z + -4.934802200544679;
    return p * z + 1.0;
}

// cos(pi x), |x| <= 1.
inline double CosPi(double x)
{
    const double a = x < 0.0 ? -x : x;
    // a - 1/2 and a - 1 are exact where they are taken (a >= 1/4, Sterbenz).
    const double half = (a > 0.25 ? 0.5 : 0.0) + (a > 0.75 ? 0.5 : 0.0);
    const double t = a - half;
    const double s = SinPiSeries(t);
    const double c = CosPiSeries(t);
    // cos(pi (t + 1/2)) = -sin(pi t), cos(pi (t + 1)) = -cos(pi t); 0 - v keeps a zero positive.
    return half == 0.0 ? c : half == 0.5 ? 0.0 - s : 0.0 - c;
}

// sin(pi x), |x| <= 1.
inline double SinPi(double x)
{
    const double a = x < 0.0 ? -x : x;
    const double half = (a > 0.25 ? 0.5 : 0.0) + (a > 0.75 ? 0.5 : 0.0);
    const double t = a - half;
    const double s = SinPiSeries(t);
    const double c = CosPiSeries(t);
    // sin(pi (t + 1/2)) = cos(pi t), sin(pi (t + 1)) = -sin(pi t).
    const double v = half == 0.0 ? s : half == 0.5 ? c : 0.0 - s;
    return x < 0.0 ? 0.0 - v : v;
}

// sin(pi x) and cos(pi x) for any finite x: the remainder by 2 is exact.
inline double SinPiAny(double x)
{
    return SinPi(std::remainder(x, 2.0));
}

inline double CosPiAny(double x)
{
    return CosPi(std::remainder(x, 2.0));
}
