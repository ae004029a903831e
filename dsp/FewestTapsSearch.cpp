#include "dsp/FewestTapsSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace {

constexpr double kMissing = -std::numeric_limits<double>::infinity();
constexpr int kLinearSteps = 8;
// The estimate's lower bound as a share of the start, when the settings do
// not give one; at least kMinScan and at most kMaxScan allowed N below the
// boundary of the bracket are designed.
constexpr double kLowerBoundShare = 0.95;
constexpr int kMinScan = 4;
constexpr int kMaxScan = 16;

std::vector<MaskBand> MaskOf(const SpecRequirement& req)
{
    std::vector<MaskBand> mask;
    for (const SpecBand& b : req.bands)
        mask.push_back({b.kind, b.loHz, b.hiHz, 1.0});
    return mask;
}

// Band verdicts of one measurement; the smallest margin goes to worst.
std::vector<BandVerdict> Verdicts(const ResponseFigures& f, const SpecRequirement& req, double& worst)
{
    std::vector<BandVerdict> out;
    if (f.status != MeasureStatus::Ok || f.bands.size() != req.bands.size()) {
        worst = kMissing;
        return out;
    }
    for (size_t i = 0; i < req.bands.size(); ++i) {
        BandVerdict v;
        v.required = req.bands[i];
        v.figures = f.bands[i];
        v.marginDb = v.required.kind == BandKind::Pass ? v.required.limitDb - v.figures.rippleDb
                                                   : v.figures.attenuationDb - v.required.limitDb;
        // A NaN margin (a measurement gone wrong) compares false: missed.
        v.met = v.marginDb >= 0.0;
        worst = std::isnan(v.marginDb) ? kMissing : std::min(worst, v.marginDb);
        out.push_back(v);
    }
    return out;
}

WholeVerdict WholeOf(const ResponseFigures& f, const std::vector<BandVerdict>& bands, double& worst)
{
    WholeVerdict w;
    bool anyPass = false;
    w.limitDb = -std::numeric_limits<double>::infinity();
    for (const BandVerdict& b : bands) {
        if (b.required.kind == BandKind::Pass) {
            anyPass = true;
            w.limitDb = std::max(w.limitDb, b.figures.minDb + b.required.limitDb);
        }
    }
    if (!anyPass || f.status != MeasureStatus::Ok || !f.whole.measured) {
        w.met = !anyPass && f.status == MeasureStatus::Ok;
        return w;
    }
    w.peakDb = f.whole.passTopDb + f.whole.peakDb;
    w.peakHz = f.whole.peakHz;
    w.marginDb = w.limitDb - w.peakDb;
    w.met = w.marginDb >= 0.0;
    worst = std::isnan(w.marginDb) ? kMissing : std::min(worst, w.marginDb);
    return w;
}

bool AllMet(const std::vector<BandVerdict>& bands)
{
    return !bands.empty() && std::all_of(bands.begin(), bands.end(), [](const BandVerdict& b) { return b.met; });
}

// The allowed tap counts as indices 0 .. last: taps = first + k * step.
struct Lattice {
    int first = 4;
    int step = 1;
    int last = 0;
    int Taps(int k) const { return first + k * step; }
    int Index(int taps) const { return std::clamp((taps - first + step - 1) / step, 0, last); }
};

}  // namespace

TrialVerdict JudgeTaps(std::span<const double> taps, const SpecRequirement& req, const std::optional<QuantSpec>& quantize,
                       bool chooseWords)
{
    TrialVerdict v;
    v.taps = static_cast<int>(taps.size());
    v.design = TrialStatus::Designed;
    v.coefficients.assign(taps.begin(), taps.end());
    v.worstMarginDb = std::numeric_limits<double>::infinity();
    const std::vector<MaskBand> mask = MaskOf(req);
    const ResponseFigures f = MeasureResponse(taps, req.fs, mask, false);
    v.measure = f.status;
    v.bands = Verdicts(f, req, v.worstMarginDb);
    v.whole = WholeOf(f, v.bands, v.worstMarginDb);
    v.met = AllMet(v.bands) && v.whole.met;
    if (quantize) {
        if (chooseWords) {
            // The words' figures on the requirement's bands, in its order.
            v.quantized = OptimizeWords(taps, WordRequirementOf(req), *quantize).words;
        } else {
            v.quantized = QuantizeAndMeasure(taps, *quantize, req.fs, mask, false);
        }
        if (v.quantized->status == QuantStatus::Ok) {
            v.quantBands = Verdicts(v.quantized->figures, req, v.worstMarginDb);
            v.quantWhole = WholeOf(v.quantized->figures, v.quantBands, v.worstMarginDb);
            v.met = v.met && AllMet(v.quantBands) && v.quantWhole->met;
        } else {
            v.met = false;
            v.worstMarginDb = kMissing;
        }
    }
    if (!v.met && v.bands.empty())
        v.worstMarginDb = kMissing;
    return v;
}

SpecSearchResult SearchFewestTaps(const SpecRequirement& req, const SpecSearchSettings& settings,
                                  const SpecDesigner& designer)
{
    SpecSearchResult result;
    result.filterType = settings.filterType >= 0 ? settings.filterType : RequirementFilterType(req);
    if (result.filterType < 0 || settings.minTaps > settings.maxTaps)
        return result;

    Lattice lattice;
    lattice.first = settings.minTaps;
    int top = settings.maxTaps;
    if (settings.tapStep > 0) {
        lattice.step = settings.tapStep;
    } else {
        lattice.step = NeedsOddTaps(result.filterType) || settings.oddOnly ? 2 : 1;
        lattice.first += lattice.step == 2 && settings.minTaps % 2 == 0 ? 1 : 0;
        top -= lattice.step == 2 && settings.maxTaps % 2 == 0 ? 1 : 0;
    }
    if (top < lattice.first)
        return result;
    lattice.last = (top - lattice.first) / lattice.step;

    std::map<int, TrialVerdict> judged;
    bool cancelled = false;
    // After a cancel every N not yet designed misses, so each loop below
    // ends within a few cheap steps.
    auto meets = [&](int k) {
        auto it = judged.find(k);
        if (it == judged.end()) {
            const int n = lattice.Taps(k);
            if (!cancelled && settings.progress)
                cancelled = !settings.progress(static_cast<int>(result.tried.size()), n);
            if (cancelled)
                return false;
            result.tried.push_back(n);
            TrialDesign d = designer(n);
            TrialVerdict v;
            if (d.status == TrialStatus::Designed && static_cast<int>(d.taps.size()) == n) {
                v = JudgeTaps(d.taps, req, settings.quantize, settings.chooseWords);
            } else {
                v.taps = n;
                v.design = d.status == TrialStatus::Designed ? TrialStatus::Failed : d.status;
                v.worstMarginDb = kMissing;
            }
            it = judged.emplace(k, std::move(v)).first;
        }
        return it->second.met;
    };

    const int start = lattice.Index(settings.startTaps);
    result.startTaps = lattice.Taps(start);
    // Invariant once both are known: fail < met, fail misses, met meets.
    // One allowed step at a time near the start, where the answer usually
    // lies, then in doubling steps.
    auto stride = [](int moves) { return moves < kLinearSteps ? 1 : 1 << std::min(moves - kLinearSteps + 1, 20); };
    int met = -1, fail = -1;
    if (meets(start)) {
        met = start;
        for (int moves = 0; met > 0; ++moves) {
            const int k = std::max(met - stride(moves), 0);
            if (!meets(k)) {
                fail = k;
                break;
            }
            met = k;
        }
    } else {
        fail = start;
        for (int moves = 0; fail < lattice.last; ++moves) {
            const int k = std::min(fail + stride(moves), lattice.last);
            if (meets(k)) {
                met = k;
                break;
            }
            fail = k;
        }
    }
    if (met >= 0 && !cancelled) {
        while (fail >= 0 && met - fail > 1 && !cancelled) {
            const int mid = fail + (met - fail) / 2;
            (meets(mid) ? met : fail) = mid;
        }
        // Meeting is not monotonic in N: every allowed N from the lower bound
        // (or a few steps below the boundary, if that lies lower) up to the
        // boundary is designed, the smallest that meets is the answer.
        const int bound = settings.lowerBoundTaps > 0
                              ? settings.lowerBoundTaps
                              : static_cast<int>(std::floor(kLowerBoundShare * result.startTaps));
        const int floorIndex = std::max({0, std::min(lattice.Index(bound), met - kMinScan), met - kMaxScan});
        for (int k = floorIndex; k < met && !cancelled; ++k) {
            if (meets(k)) {
                met = k;
                break;
            }
        }
        if (met > 0) {
            fail = met - 1;
            meets(fail);
        }
    }
    if (met >= 0 && !cancelled) {
        result.status = SpecSearchStatus::Met;
        result.found = judged.at(met);
        if (fail >= 0)
            result.nextSmaller = judged.at(fail);
        return result;
    }
    result.status = cancelled ? SpecSearchStatus::Cancelled : SpecSearchStatus::Unreachable;
    if (judged.empty())
        return result;
    result.found = judged.begin()->second;
    for (const auto& [k, v] : judged)
        if (v.worstMarginDb > result.found.worstMarginDb)
            result.found = v;
    return result;
}
