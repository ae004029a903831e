#include "form/AnalysisTable.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

std::string ListText(const std::vector<double>& hz)
{
    if (hz.empty())
        return "-";
    std::string text;
    for (double f : hz)
        text += (text.empty() ? "" : ", ") + FixedText(f, 1);
    return text;
}

const char* KindText(BandKind kind)
{
    return kind == BandKind::Pass ? "pass" : kind == BandKind::Stop ? "stop" : "slope";
}

}  // namespace

std::string FixedText(double v, int decimals)
{
    if (std::isnan(v))
        return "-";
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    return ec == std::errc() ? std::string(buf, end) : "-";
}

std::vector<MaskBand> RequirementMask(const SpecRequirement& requirement)
{
    std::vector<MaskBand> mask;
    for (const SpecBand& b : requirement.bands)
        mask.push_back({b.kind, b.loHz, b.hiHz, b.kind == BandKind::Pass ? 1.0 : 0.0});
    return mask;
}

std::vector<double> RequirementLimits(const SpecRequirement& requirement)
{
    std::vector<double> limits;
    for (const SpecBand& b : requirement.bands)
        limits.push_back(b.limitDb);
    return limits;
}

std::vector<double> DefaultBandLimits(const ResponseFigures& figures)
{
    std::vector<double> limits;
    for (const BandFigures& b : figures.bands) {
        if (b.band.kind == BandKind::Pass)
            limits.push_back(std::ceil(b.rippleDb * 100.0 + 1e-9) / 100.0);
        else if (b.band.kind == BandKind::Stop)
            limits.push_back(std::floor(b.attenuationDb));
        else
            limits.push_back(kNone);
    }
    return limits;
}

std::vector<FigureRow> FigureRows(const DesignAnalysis& a, const std::vector<double>& limits)
{
    std::vector<FigureRow> rows;
    const ResponseFigures& d = a.figures;
    const bool quantOk = a.quantized.status == QuantStatus::Ok && a.quantized.figures.status == MeasureStatus::Ok;
    const ResponseFigures& q = a.quantized.figures;
    auto add = [&](const std::string& label, double dv, double qv, int decimals) {
        rows.push_back({label, FixedText(dv, decimals), quantOk ? FixedText(qv, decimals) : "-"});
    };

    for (size_t i = 0; i < d.bands.size(); ++i) {
        const BandFigures& b = d.bands[i];
        const BandFigures* qb = quantOk && i < q.bands.size() ? &q.bands[i] : nullptr;
        const double limit = i < limits.size() ? limits[i] : kNone;
        const std::string name = "Band " + std::to_string(i + 1) + " (" + KindText(b.band.kind) + " " +
                                 FixedText(b.band.loHz, 0) + "-" + FixedText(b.band.hiHz, 0) + " Hz) ";
        if (b.band.kind == BandKind::Pass) {
            add(name + "ripple dB", b.rippleDb, qb ? qb->rippleDb : kNone, 4);
            rows.back().doubleMisses = !std::isnan(limit) && b.rippleDb > limit;
            rows.back().quantMisses = qb && !std::isnan(limit) && qb->rippleDb > limit;
        } else if (b.band.kind == BandKind::Stop) {
            add(name + "attenuation dB", b.attenuationDb, qb ? qb->attenuationDb : kNone, 2);
            rows.back().doubleMisses = !std::isnan(limit) && b.attenuationDb < limit;
            rows.back().quantMisses = qb && !std::isnan(limit) && qb->attenuationDb < limit;
        } else {
            add(name + "deviation", b.maxDeviation, qb ? qb->maxDeviation : kNone, 6);
        }
        add(name + "max dB", b.maxDb, qb ? qb->maxDb : kNone, 4);
        if (b.band.kind != BandKind::Stop)
            add(name + "min dB", b.minDb, qb ? qb->minDb : kNone, 4);
    }
    if (a.crossings) {
        rows.push_back({"-3 dB Hz", ListText(d.minus3dbHz), quantOk ? ListText(q.minus3dbHz) : "-"});
        rows.push_back({"-6 dB Hz", ListText(d.minus6dbHz), quantOk ? ListText(q.minus6dbHz) : "-"});
    }
    if (d.whole.measured) {
        const bool wholeOk = quantOk && q.whole.measured;
        rows.push_back({"Peak outside stop bands dB", FixedText(d.whole.peakDb, 4),
                        wholeOk ? FixedText(q.whole.peakDb, 4) : "-"});
        rows.back().doubleMisses = WholeResponseExceeds(d);
        rows.back().quantMisses = wholeOk && WholeResponseExceeds(q);
        rows.push_back({"Peak outside stop bands Hz", FixedText(d.whole.peakHz, 1),
                        wholeOk ? FixedText(q.whole.peakHz, 1) : "-"});
    }
    if (a.rateChange) {
        const RateChangeFigures& r = *a.rateChange;
        const std::string by = std::to_string(r.design.factor);
        const char* label = r.design.kind == MultirateKind::Interpolate ? "Interpolation by"
                            : r.design.kind == MultirateKind::Halfband  ? "Half-band by"
                                                                        : "Decimation by";
        rows.push_back({label, by, by});
        rows.push_back({"Alias attenuation dB", FixedText(r.aliasAttenuationDb, 2),
                        quantOk ? FixedText(r.quantAliasAttenuationDb, 2) : "-"});
    }
    add("Group delay samples", d.groupDelaySamples, q.groupDelaySamples, 3);
    add("Group delay ms", d.groupDelayMs, q.groupDelayMs, 4);
    rows.push_back({"Linear phase", d.linearPhase ? "yes" : "no", quantOk ? (q.linearPhase ? "yes" : "no") : "-"});
    add("DC gain dB", d.dcGainDb, q.dcGainDb, 4);
    add("fs/2 gain dB", d.nyquistGainDb, q.nyquistGainDb, 2);
    add("Peak tap", d.peakTap, q.peakTap, 6);
    add("Sum |h|", d.sumAbsTaps, q.sumAbsTaps, 6);
    add("Headroom bits", d.headroomBits, q.headroomBits, 0);

    const QuantResult& r = a.quantized;
    const bool ok = r.status == QuantStatus::Ok;
    rows.push_back({"Word / fraction length", "-",
                    ok ? std::to_string(r.wordLength) + " / " + std::to_string(r.fractionLength) : "-"});
    rows.push_back({"Shift", "-", ok ? std::to_string(r.shift) : "-"});
    rows.push_back({"Max error LSB", "-", ok ? FixedText(r.maxErrorLsb, 3) : "-"});
    rows.push_back({"Saturated taps", "-", ok ? std::to_string(r.saturated) : "-"});
    rows.push_back({"Symmetry", r.symmetryBefore > 0 ? "even" : r.symmetryBefore < 0 ? "odd" : "none",
                    !ok ? "-" : r.symmetryAfter > 0 ? "even" : r.symmetryAfter < 0 ? "odd" : "none"});
    rows.back().quantMisses = ok && r.symmetryBefore != 0 && r.symmetryAfter != r.symmetryBefore;
    rows[rows.size() - 2].quantMisses = ok && r.saturated > 0;
    return rows;
}

std::vector<FigureRow> AlignedRows(const std::vector<FigureRow>& rows, const std::vector<FigureRow>& other)
{
    std::vector<FigureRow> aligned;
    for (const FigureRow& row : rows) {
        FigureRow match{row.label, "-", "-"};
        for (const FigureRow& o : other)
            if (o.label == row.label) {
                match = o;
                break;
            }
        aligned.push_back(match);
    }
    return aligned;
}
