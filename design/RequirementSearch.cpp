#include "design/RequirementSearch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>

#include "dsp/DesignKinds.h"

namespace {

bool IsWholeHz(double x)
{
    return std::isfinite(x) && x == std::floor(x) && x <= 10000000.0;
}

// Fixed-point text, independent of the process locale.
std::string Fixed(double value, int decimals)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
}

double RoundTo(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

std::string BandLine(const BandVerdict& v, const BandVerdict* quant, const std::string& format)
{
    const bool pass = v.required.kind == BandKind::Pass;
    std::string line = std::string(pass ? "Pass band " : "Stop band ") + Fixed(v.required.loHz, 0) + " - " +
                       Fixed(v.required.hiHz, 0) + " Hz: ";
    const int decimals = pass ? 3 : 2;
    auto figure = [&](const BandVerdict& b) {
        return Fixed(pass ? b.figures.rippleDb : b.figures.attenuationDb, decimals) + " dB";
    };
    line += pass ? "ripple " : "attenuation ";
    line += figure(v);
    if (quant)
        line += ", " + format + " " + figure(*quant);
    line += pass ? " (at most " : " (at least ";
    line += Fixed(v.required.limitDb, decimals) + " dB)";
    return line;
}

std::string BandLines(const SpecRequest& request, const TrialVerdict& v)
{
    const std::string format = request.quantize ? (request.chooseWords ? "optimised " : "") +
                                                      QuantFormatName(*request.quantize)
                                                : std::string();
    std::string text;
    for (size_t i = 0; i < v.bands.size(); ++i) {
        const BandVerdict* quant = i < v.quantBands.size() ? &v.quantBands[i] : nullptr;
        text += '\n';
        text += BandLine(v.bands[i], quant, format);
    }
    // The whole response is named only when it is what fails.
    const WholeVerdict* whole = !v.whole.met && !v.bands.empty() ? &v.whole
                                : v.quantWhole && !v.quantWhole->met ? &*v.quantWhole
                                                                     : nullptr;
    if (whole)
        text += "\nOutside the stop bands: " + Fixed(whole->peakDb, 2) + " dB at " + Fixed(whole->peakHz, 0) +
                " Hz" + (whole == &v.whole ? std::string() : " in " + format) + " (at most " +
                Fixed(whole->limitDb, 2) + " dB, the pass band's upper ripple limit)";
    return text;
}

// The beta a Kaiser window of `taps` taps could afford: Kaiser's formula
// for the attenuation his length formula gives those taps across the
// narrowest transition (Kaiser, "Nonrecursive digital filter design using
// the I0-sinh window function", 1974).
double ReachableBeta(const SpecRequest& request, const SpecPlan& plan, int taps)
{
    constexpr double kPi = 3.14159265358979323846;
    const double width = plan.kaiser.widthHz / (request.requirement.fs / 2.0);
    return KaiserBeta(7.95 + 2.285 * kPi * width * (taps - 1));
}

// Designs of `taps` taps with several betas, for the one that meets the
// requirement or else comes closest (the largest worst margin). Beta trades
// attenuation far from the transitions against attenuation near them, so
// the margin rises and then falls with it: the formula's beta and the one
// the length affords are tried first, then a golden-section search over the
// bracket around both, in the hundredths the shape dialog holds, stopping
// at the first beta that meets. At most kBetaTrials designs per N.
class KaiserBetaSearch {
public:
    KaiserBetaSearch(const SpecRequest& request, const SpecPlan& plan, const SpecTrialDesigner& designer)
        : m_request(request), m_plan(plan), m_designer(designer)
    {
    }

    TrialDesign Design(int taps)
    {
        m_taps = taps;
        m_trials.clear();
        m_met = false;
        m_bestMargin = -std::numeric_limits<double>::infinity();
        m_best = TrialDesign{};
        m_bestBeta = m_plan.kaiser.beta;
        const double reach = ReachableBeta(m_request, m_plan, taps);
        const double formula = m_plan.kaiser.beta;
        if (!Try(reach) && !Try(formula)) {
            double a = std::max(std::min(reach, formula) - kBetaMargin, 0.0);
            double b = std::min(std::max(reach, formula) + kBetaMargin, kMaxBeta);
            GoldenSectionMaximum(a, b, 0.02, [this](double beta) { return Margin(beta); },
                                 [this] { return !m_met && m_trials.size() < kBetaTrials; });
        }
        m_chosen[taps] = m_bestBeta;
        return m_best;
    }

    // The beta of the design returned for taps; the formula's if none.
    double BetaFor(int taps) const
    {
        const auto it = m_chosen.find(taps);
        return it == m_chosen.end() ? m_plan.kaiser.beta : it->second;
    }

private:
    static constexpr std::size_t kBetaTrials = 8;
    static constexpr double kBetaMargin = 0.25;
    static constexpr double kMaxBeta = 20.0;

    bool Try(double beta)
    {
        Margin(beta);
        return m_met;
    }

    // The worst margin of the design with beta (in the dialog's hundredths);
    // each beta is designed once.
    double Margin(double beta)
    {
        beta = std::clamp(RoundTo(beta, 2), 0.0, kMaxBeta);
        const long key = std::lround(beta * 100.0);
        const auto seen = m_trials.find(key);
        if (seen != m_trials.end())
            return seen->second;
        double margin = -std::numeric_limits<double>::infinity();
        if (m_met) {
            return margin;
        }
        SpecFormSetting s = SettingFor(m_request, m_plan, m_taps);
        s.shapeFactor = beta;
        TrialDesign d = m_designer(s);
        bool met = false;
        if (d.status == TrialStatus::Designed && static_cast<int>(d.taps.size()) == m_taps) {
            const TrialVerdict v =
                JudgeTaps(d.taps, m_request.requirement, m_request.quantize, m_request.chooseWords);
            met = v.met;
            margin = std::isnan(v.worstMarginDb) ? margin : v.worstMarginDb;
        }
        m_trials.emplace(key, margin);
        if (m_trials.size() == 1 || met || margin > m_bestMargin) {
            m_best = std::move(d);
            m_bestBeta = beta;
            m_bestMargin = margin;
            m_met = met;
        }
        return margin;
    }

    const SpecRequest& m_request;
    const SpecPlan& m_plan;
    const SpecTrialDesigner& m_designer;
    int m_taps = 0;
    std::map<long, double> m_trials;  // beta in hundredths -> worst margin
    bool m_met = false;
    double m_bestMargin = 0.0;
    double m_bestBeta = 0.0;
    TrialDesign m_best;
    std::map<int, double> m_chosen;  // taps -> beta of the design returned
};

// Remez designs of `taps` taps on the plan's band table and, when that
// misses, on tables users reach for when a transition band misbehaves: the
// wider transitions narrowed to the narrowest (the stop band's edge moved
// toward the pass band, so the requirement's bands stay inside the
// table's), then that table with the stop weights halved and doubled. A
// Remez design on unequal transitions leaves the wider one unconstrained,
// and its gain there can rise far above the pass band. The first table
// that meets is taken, else the one closest to meeting.
class RemezTableSearch {
public:
    RemezTableSearch(const SpecRequest& request, const SpecPlan& plan, const SpecTrialDesigner& designer)
        : m_request(request), m_plan(plan), m_designer(designer)
    {
    }

    TrialDesign Design(int taps)
    {
        const SpecFormSetting base = SettingFor(m_request, m_plan, taps);
        std::vector<SpecFormSetting> tables = {base};
        const std::vector<RemezBand> narrowed = Narrowed(base.bands);
        bool moved = false;
        for (size_t i = 0; i < narrowed.size(); ++i)
            moved = moved || narrowed[i].m_nLowerEdge != base.bands[i].m_nLowerEdge ||
                    narrowed[i].m_nUpperEdge != base.bands[i].m_nUpperEdge;
        if (moved) {
            SpecFormSetting s = base;
            s.bands = narrowed;
            tables.push_back(s);
        }
        for (double factor : {0.5, 2.0}) {
            SpecFormSetting s = tables.back();
            for (RemezBand& b : s.bands)
                if (b.m_dValue == 0.0)
                    b.m_dWeight = std::max(RoundTo(b.m_dWeight * factor, 2), 1.0);
            tables.push_back(s);
        }
        TrialDesign best;
        double bestMargin = -std::numeric_limits<double>::infinity();
        for (size_t i = 0; i < tables.size(); ++i) {
            TrialDesign d = m_designer(tables[i]);
            double margin = -std::numeric_limits<double>::infinity();
            bool met = false;
            if (d.status == TrialStatus::Designed && static_cast<int>(d.taps.size()) == taps) {
                const TrialVerdict v = JudgeTaps(d.taps, m_request.requirement, m_request.quantize);
                met = v.met;
                margin = std::isnan(v.worstMarginDb) ? margin : v.worstMarginDb;
            }
            if (i == 0 || met || margin > bestMargin) {
                best = std::move(d);
                bestMargin = margin;
                m_chosen[taps] = tables[i];
            }
            if (met)
                break;
        }
        return best;
    }

    SpecFormSetting SettingOf(int taps) const
    {
        const auto it = m_chosen.find(taps);
        return it == m_chosen.end() ? SettingFor(m_request, m_plan, taps) : it->second;
    }

private:
    // The rows with each transition wider than the narrowest narrowed to
    // it, by moving the stop band's edge.
    static std::vector<RemezBand> Narrowed(std::vector<RemezBand> rows)
    {
        int narrowest = std::numeric_limits<int>::max();
        for (size_t i = 0; i + 1 < rows.size(); ++i)
            narrowest = std::min(narrowest, rows[i + 1].m_nLowerEdge - rows[i].m_nUpperEdge);
        for (size_t i = 0; i + 1 < rows.size(); ++i) {
            RemezBand& lower = rows[i];
            RemezBand& upper = rows[i + 1];
            if (upper.m_nLowerEdge - lower.m_nUpperEdge <= narrowest)
                continue;
            if (lower.m_dValue != 0.0 && upper.m_dValue == 0.0)
                upper.m_nLowerEdge = lower.m_nUpperEdge + narrowest;
            else if (lower.m_dValue == 0.0 && upper.m_dValue != 0.0)
                lower.m_nUpperEdge = upper.m_nLowerEdge - narrowest;
        }
        return rows;
    }

    const SpecRequest& m_request;
    const SpecPlan& m_plan;
    const SpecTrialDesigner& m_designer;
    std::map<int, SpecFormSetting> m_chosen;  // taps -> the table of the design returned
};

// The estimate as the messages give it; one the tap limit cut says what
// the formula asked for.
std::string EstimateText(const SpecRequest& request, const SpecPlan& plan)
{
    std::string text = std::to_string(plan.estimatedTaps) + " taps by " + plan.estimator + "'s formula";
    double asked = 0.0;
    if (request.designMethod == DM_REMEZ)
        asked = std::ceil(plan.remez.usedIchige ? plan.remez.ichigeLength : plan.remez.herrmannLength);
    else if (request.requirement.fs > 0.0)
        asked = std::ceil(KaiserLength(plan.kaiser.attenuationDb, plan.kaiser.widthHz / (request.requirement.fs / 2.0)));
    if (std::isfinite(asked) && asked > plan.estimatedTaps)
        text += ", capped at " + std::to_string(plan.estimatedTaps) + " from the formula's " + Fixed(asked, 0);
    return text;
}

// With a fixed-point format: the double taps met every band and the words
// missed one, so the format is what cannot reach the requirement.
std::string FormatLimitText(const SpecRequest& request, const TrialVerdict& v)
{
    if (!request.quantize || v.bands.empty() || v.quantBands.size() != v.bands.size() || !v.whole.met)
        return {};
    for (const BandVerdict& b : v.bands)
        if (!b.met)
            return {};
    const std::string format = (request.chooseWords ? "optimised " : "") + QuantFormatName(*request.quantize);
    for (const BandVerdict& q : v.quantBands)
        if (!q.met && q.required.kind == BandKind::Stop)
            return "\nThe double-precision taps meet it: " + format + " words cannot reach the " +
                   Fixed(q.required.limitDb, 2) + " dB attenuation (" + Fixed(q.figures.attenuationDb, 2) +
                   " dB at best); choose a longer word.";
    for (const BandVerdict& q : v.quantBands)
        if (!q.met)
            return "\nThe double-precision taps meet it: " + format + " words cannot keep the ripple within " +
                   Fixed(q.required.limitDb, 3) + " dB; choose a longer word.";
    return {};
}

}  // namespace

void GoldenSectionMaximum(double a, double b, double width, const std::function<double(double)>& margin,
                          const std::function<bool()>& keepGoing)
{
    const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
    double x1 = b - ratio * (b - a), x2 = a + ratio * (b - a);
    double g1 = margin(x1), g2 = margin(x2);
    while (keepGoing() && b - a > width) {
        if (g1 >= g2) {
            b = x2;
            x2 = x1;
            g2 = g1;
            x1 = b - ratio * (b - a);
            g1 = margin(x1);
        } else {
            a = x1;
            x1 = x2;
            g1 = g2;
            x2 = a + ratio * (b - a);
            g2 = margin(x2);
        }
    }
}

const char* RefusalOf(const SpecRequest& request)
{
    const SpecRequirement& req = request.requirement;
    if (request.designMethod != DM_SINC && request.designMethod != DM_REMEZ)
        return kMsgSpecMethod;
    if (!IsWholeHz(req.fs) || !(req.fs > 0.0))
        return kMsgSpecRate;
    if (request.designMethod == DM_REMEZ && (request.gridDensity < 8 || request.gridDensity > 64))
        return kMsgSpecGrid;
    for (const SpecBand& b : req.bands)
        if (!IsWholeHz(b.loHz) || !IsWholeHz(b.hiHz))
            return kMsgSpecEdges;
    switch (CheckRequirement(req)) {
    case SpecCheck::Ok:
        return nullptr;
    case SpecCheck::BadRate:
        return kMsgSpecRate;
    case SpecCheck::BadEdges:
        return kMsgSpecEdges;
    case SpecCheck::NoTransition:
        return kMsgSpecTransitions;
    case SpecCheck::BadLimit:
        return kMsgSpecLimits;
    default:
        return kMsgSpecPattern;
    }
}

SpecPlan PlanOf(const SpecRequest& request)
{
    SpecPlan plan;
    plan.filterType = RequirementFilterType(request.requirement);
    if (request.designMethod == DM_REMEZ) {
        plan.remez = EstimateRemezDesign(request.requirement);
        plan.estimatedTaps = plan.remez.taps;
        plan.estimator = plan.remez.usedIchige ? "Ichige" : "Herrmann";
    } else {
        plan.kaiser = EstimateKaiserDesign(request.requirement);
        plan.estimatedTaps = plan.kaiser.taps + (plan.kaiser.taps % 2 == 0 ? 1 : 0);
        plan.estimator = "Kaiser";
    }
    return plan;
}

SpecFormSetting SettingFor(const SpecRequest& request, const SpecPlan& plan, int taps)
{
    const SpecRequirement& req = request.requirement;
    SpecFormSetting s;
    s.filterType = plan.filterType;
    s.designMethod = request.designMethod;
    s.taps = taps;
    s.samplingRate = static_cast<int>(req.fs);
    // Both methods get the transition middles as corners, so the form reads
    // sensibly; only the windowed sinc uses them.
    std::vector<int> corners;
    for (size_t i = 0; i + 1 < req.bands.size(); ++i)
        corners.push_back(static_cast<int>(std::lround(0.5 * (req.bands[i].hiHz + req.bands[i + 1].loHz))));
    s.firstCorner = corners.empty() ? 0 : corners.front();
    s.secondCorner = corners.empty() ? 0 : corners.back();
    if (request.designMethod == DM_REMEZ) {
        s.windowType = -1;
        for (size_t i = 0; i < req.bands.size(); ++i) {
            RemezBand b;
            b.m_bUse = 1;
            b.m_nLowerEdge = static_cast<int>(req.bands[i].loHz);
            b.m_nUpperEdge = static_cast<int>(req.bands[i].hiHz);
            b.m_dValue = req.bands[i].kind == BandKind::Pass ? 1.0 : 0.0;
            const double w = i < plan.remez.weights.size() ? plan.remez.weights[i] : 1.0;
            // The true ratio of the deviations, loosest band 1, with the two
            // decimals the band table shows; weights above 100.00 stay in the
            // table as they are (the band dialog keeps a loaded weight whose
            // text is untouched, and only typed weights keep its range).
            b.m_dWeight = std::max(RoundTo(w, 2), 1.0);
            s.bands.push_back(b);
        }
        s.gridDensity = request.gridDensity;
    } else {
        s.windowType = WT_KAISER;
        s.shapeFactor = std::clamp(RoundTo(plan.kaiser.beta, 2), 0.0, 20.0);
    }
    return s;
}

SpecDesignResult FindSpecDesign(const SpecRequest& request, const SpecTrialDesigner& designer,
                                const SpecSearchProgress& progress)
{
    SpecDesignResult result;
    result.plan = PlanOf(request);
    SpecSearchSettings settings;
    settings.progress = progress;
    settings.startTaps = result.plan.estimatedTaps;
    // The form's Kaiser window of even length peaks at N/2, half a tap off
    // the sinc's centre, so its taps are not linear phase: odd N only.
    settings.oddOnly = request.designMethod == DM_SINC;
    settings.quantize = request.quantize;
    settings.chooseWords = request.chooseWords;
    if (request.designMethod != DM_SINC) {
        RemezTableSearch tables(request, result.plan, designer);
        result.search = SearchFewestTaps(request.requirement, settings, [&](int taps) { return tables.Design(taps); });
        result.setting = tables.SettingOf(result.search.found.taps);
        return result;
    }
    // A window design gains nothing from more taps at the formula's beta
    // (its attenuation far from the transitions stays where beta puts it),
    // so each N gets the beta that serves it best.
    KaiserBetaSearch betas(request, result.plan, designer);
    result.search = SearchFewestTaps(request.requirement, settings, [&](int taps) { return betas.Design(taps); });
    result.setting = SettingFor(request, result.plan, result.search.found.taps);
    result.setting.shapeFactor = betas.BetaFor(result.search.found.taps);
    return result;
}

std::string SpecProgressText(int designed, int taps)
{
    return std::to_string(designed) + (designed == 1 ? " design" : " designs") + " tried, now " +
           std::to_string(taps) + " taps";
}

std::string SpecOutcomeText(const SpecRequest& request, const SpecDesignResult& result)
{
    const SpecSearchResult& s = result.search;
    const std::string estimate = EstimateText(request, result.plan);
    const std::string precision =
        request.quantize ? " in double precision and in " + std::string(request.chooseWords ? "optimised " : "") +
                               QuantFormatName(*request.quantize) + (request.chooseWords ? " words" : "")
                         : std::string();
    if (s.status == SpecSearchStatus::Met) {
        std::string text = std::to_string(s.found.taps) + " taps meet the requirement" + precision +
                           " (estimate: " + estimate + ").";
        if (s.nextSmaller)
            text += '\n' + std::to_string(s.nextSmaller->taps) +
                    (s.nextSmaller->design == TrialStatus::Designed ? " taps do not." : " taps give no valid design.");
        return text + BandLines(request, s.found);
    }
    const size_t tried = s.tried.size();
    const std::string triedText = std::to_string(tried) + (tried == 1 ? " design" : " designs") + " tried";
    if (s.status == SpecSearchStatus::Cancelled) {
        std::string text = "The search was cancelled after " + triedText + " (estimate: " + estimate + ").";
        if (s.found.bands.empty())
            return text;
        return text + "\nBest so far, " + std::to_string(s.found.taps) + " taps:" + BandLines(request, s.found);
    }
    if (s.status == SpecSearchStatus::Unreachable) {
        std::string text = "No design up to 1025 taps meets the requirement" + precision + " (estimate: " +
                           estimate + "; " + triedText + ").";
        if (s.found.bands.empty())
            return text + "\nNone of them gave a valid design.";
        text += FormatLimitText(request, s.found);
        return text + "\nBest reached with " + std::to_string(s.found.taps) + " taps:" + BandLines(request, s.found);
    }
    return RefusalOf(request) ? RefusalOf(request) : kMsgSpecPattern;
}
