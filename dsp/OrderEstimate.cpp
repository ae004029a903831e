#include "dsp/OrderEstimate.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "dsp/DesignKinds.h"

namespace {

constexpr int kMinTaps = 4;
constexpr int kMaxTaps = 1025;

// Rounds a real length up to whole taps without letting a huge or NaN
// estimate overflow the conversion.
int CeilTaps(double length)
{
    if (!(length < kMaxTaps + 1.0))
        return kMaxTaps + 1;
    return static_cast<int>(std::ceil(std::max(length, 0.0)));
}

// (2/pi) atan(c (1/fp - 1/(0.5 - dF))): the position terms of Ichige's
// formula, 1 in the limit fp -> 0.
double IchigeTerm(double c, double fp, double dF)
{
    if (!(fp > 0.0))
        return 1.0;
    return 2.0 / std::numbers::pi * std::atan(c * (1.0 / fp - 1.0 / (0.5 - dF)));
}

struct Transition {
    const SpecBand* lower;
    const SpecBand* upper;
};

std::vector<Transition> Transitions(const SpecRequirement& req)
{
    std::vector<Transition> out;
    for (size_t i = 0; i + 1 < req.bands.size(); ++i)
        out.push_back({&req.bands[i], &req.bands[i + 1]});
    return out;
}

}  // namespace

SpecCheck CheckRequirement(const SpecRequirement& req)
{
    if (!(req.fs > 0.0) || !std::isfinite(req.fs))
        return SpecCheck::BadRate;
    if (req.bands.size() < 2)
        return SpecCheck::TooFewBands;
    if (req.bands.size() > 3)
        return SpecCheck::TooManyBands;
    for (const SpecBand& b : req.bands)
        if (!(b.loHz >= 0.0 && b.loHz < b.hiHz && b.hiHz <= req.fs / 2.0))
            return SpecCheck::BadEdges;
    for (size_t i = 0; i + 1 < req.bands.size(); ++i)
        if (!(req.bands[i].hiHz < req.bands[i + 1].loHz))
            return SpecCheck::NoTransition;
    for (size_t i = 0; i < req.bands.size(); ++i) {
        const BandKind kind = req.bands[i].kind;
        if ((kind != BandKind::Pass && kind != BandKind::Stop) || (i > 0 && kind == req.bands[i - 1].kind))
            return SpecCheck::NotAlternating;
    }
    for (const SpecBand& b : req.bands)
        if (!(b.limitDb > 0.0) || !std::isfinite(b.limitDb))
            return SpecCheck::BadLimit;
    return SpecCheck::Ok;
}

int RequirementFilterType(const SpecRequirement& req)
{
    if (CheckRequirement(req) != SpecCheck::Ok)
        return -1;
    const bool passFirst = req.bands.front().kind == BandKind::Pass;
    if (req.bands.size() == 2)
        return passFirst ? FT_LOWPASS : FT_HIGHPASS;
    return passFirst ? FT_BANDSTOP : FT_BANDPASS;
}

bool NeedsOddTaps(int filterType)
{
    return filterType == FT_HIGHPASS || filterType == FT_BANDSTOP;
}

double PassDeviation(double rippleDb)
{
    const double r = std::pow(10.0, rippleDb / 20.0);
    return (r - 1.0) / (r + 1.0);
}

double StopDeviation(double attenuationDb)
{
    return std::pow(10.0, -attenuationDb / 20.0);
}

double BandDeviation(const SpecBand& band)
{
    return band.kind == BandKind::Pass ? PassDeviation(band.limitDb) : StopDeviation(band.limitDb);
}

double KaiserBeta(double a)
{
    if (a > 50.0)
        return 0.1102 * (a - 8.7);
    if (a > 21.0)
        return 0.5842 * std::pow(a - 21.0, 0.4) + 0.07886 * (a - 21.0);
    return 0.0;
}

double KaiserLength(double attenuationDb, double widthFraction)
{
    // Below 8 dB the formula turns negative; the shortest window then does.
    const double a = std::max(attenuationDb, 8.0);
    return (a - 7.95) / (2.285 * std::numbers::pi * widthFraction) + 1.0;
}

int KaiserTaps(double attenuationDb, double widthFraction)
{
    return CeilTaps(KaiserLength(attenuationDb, widthFraction));
}

double HerrmannLength(double fp, double fst, double dp, double ds)
{
    const double lp = std::log10(dp), ls = std::log10(ds);
    const double dInf = (0.005309 * lp * lp + 0.07114 * lp - 0.4761) * ls - (0.00266 * lp * lp + 0.5941 * lp + 0.4278);
    const double f = 11.01217 + 0.51244 * (lp - ls);
    const double dF = fst - fp;
    return dInf / dF - f * dF + 1.0;
}

double IchigeLength(double fp, double fst, double dp, double ds)
{
    const double dF = fst - fp;
    const double lp = -std::log10(dp);
    const double v = 2.325 * std::pow(lp, -0.445) * std::pow(dF, -1.39);
    const double nc = std::ceil(1.0 + 1.101 / dF * std::pow(-std::log10(2.0 * dp), 1.1));
    const double n3 = std::ceil(nc * (IchigeTerm(v, fp, dF) + IchigeTerm(v, 0.5 - dF - fp, dF) + 1.0) / 3.0);
    const double nm = 0.52 / dF * std::log10(dp / ds) * std::pow(lp, 0.17);
    const double dn = std::ceil(nm * (IchigeTerm(1.1 / dF, fp, dF) - (IchigeTerm(0.29 / dF, 0.5 - dF - fp, dF) - 1.0) / 2.0));
    return n3 + dn;
}

int AllowedTaps(int n, int filterType)
{
    n = std::clamp(n, kMinTaps, kMaxTaps);
    if (NeedsOddTaps(filterType) && n % 2 == 0)
        ++n;
    return std::min(n, kMaxTaps);
}

KaiserDesignEstimate EstimateKaiserDesign(const SpecRequirement& req)
{
    KaiserDesignEstimate e;
    const int type = RequirementFilterType(req);
    if (type < 0)
        return e;
    double delta = 1.0;
    for (const SpecBand& b : req.bands)
        delta = std::min(delta, BandDeviation(b));
    e.attenuationDb = -20.0 * std::log10(delta);
    e.beta = KaiserBeta(e.attenuationDb);
    e.widthHz = req.fs;
    for (const Transition& t : Transitions(req)) {
        e.widthHz = std::min(e.widthHz, t.upper->loHz - t.lower->hiHz);
        e.cornersHz.push_back(static_cast<int>(std::lround(0.5 * (t.lower->hiHz + t.upper->loHz))));
    }
    e.taps = AllowedTaps(KaiserTaps(e.attenuationDb, e.widthHz / (req.fs / 2.0)), type);
    return e;
}

RemezDesignEstimate EstimateRemezDesign(const SpecRequirement& req)
{
    RemezDesignEstimate e;
    const int type = RequirementFilterType(req);
    if (type < 0)
        return e;
    double loosest = 0.0;
    for (const SpecBand& b : req.bands)
        loosest = std::max(loosest, BandDeviation(b));
    for (const SpecBand& b : req.bands)
        e.weights.push_back(loosest / BandDeviation(b));

    // Both formulas are fitted to a lowpass: pass band below the transition.
    // A transition with the pass band above it is taken as its mirror image
    // about fs/4, which has the same length.
    for (const Transition& t : Transitions(req)) {
        const bool passBelow = t.lower->kind == BandKind::Pass;
        const SpecBand& pass = passBelow ? *t.lower : *t.upper;
        const SpecBand& stop = passBelow ? *t.upper : *t.lower;
        const double fp = passBelow ? pass.hiHz / req.fs : 0.5 - pass.loHz / req.fs;
        const double fst = passBelow ? stop.loHz / req.fs : 0.5 - stop.hiHz / req.fs;
        const double dp = BandDeviation(pass), ds = BandDeviation(stop);
        e.herrmannLength = std::max(e.herrmannLength, HerrmannLength(fp, fst, dp, ds));
        e.ichigeLength = std::max(e.ichigeLength, IchigeLength(fp, fst, dp, ds));
    }
    e.usedIchige = e.herrmannLength > kIchigeFromTaps;
    e.taps = AllowedTaps(CeilTaps(e.usedIchige ? e.ichigeLength : e.herrmannLength), type);
    return e;
}
