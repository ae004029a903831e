#include "form/RateChangeAnalysis.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "dsp/DesignKinds.h"
#include "form/CZantroView.h"

std::optional<MultirateDesign> RateChangeOf(const CZantroView& view)
{
    return view.m_design ? RateChangeOf(*view.m_design) : std::nullopt;
}

RateChangeFigures MeasureRateChange(const MultirateDesign& design, double fs, std::span<const double> taps,
                                    std::span<const double> quantised)
{
    RateChangeFigures f;
    f.design = design;
    f.fs = fs;
    f.aliasBands = MultirateStopBands(design.factor, fs, design.passHz, true);
    f.aliasAttenuationDb = AliasAttenuationDb(taps, design.factor, fs, design.passHz);
    f.quantAliasAttenuationDb = quantised.empty() ? std::numeric_limits<double>::quiet_NaN()
                                                  : AliasAttenuationDb(quantised, design.factor, fs, design.passHz);
    return f;
}

ResponseCurve FoldedResponseDb(std::span<const double> taps, int factor, double fs, int count)
{
    count = std::max(count, 2);
    factor = std::max(factor, 1);
    // Grid index i is i fs / (2 factor (count - 1)): the output rate fs/factor
    // is 2 (count - 1) steps, so k fs/factor -+ f are whole indices.
    const int steps = count - 1;
    const ResponseCurve fine = MagnitudeCurveDb(taps, fs, factor * steps + 1);
    const int last = factor * steps;
    ResponseCurve c;
    std::vector<int> folding;
    for (int j = 0; j <= steps; ++j) {
        folding.clear();
        // k = 0 is f itself. At f = 0 the two folding frequencies of each k
        // coincide; at fs/(2 factor) the mirror fs/factor - f is f again and
        // is counted, the limit of the curve from below.
        for (int k = 1; 2 * k * steps - j <= last; ++k) {
            folding.push_back(2 * k * steps - j);
            if (2 * k * steps + j <= last)
                folding.push_back(2 * k * steps + j);
        }
        std::sort(folding.begin(), folding.end());
        folding.erase(std::unique(folding.begin(), folding.end()), folding.end());
        double power = 0.0;
        for (int i : folding)
            power += std::pow(10.0, fine.values[static_cast<size_t>(i)] / 10.0);
        c.hz.push_back(fs * j / (2.0 * factor * steps));
        c.values.push_back(power > 0.0 ? 10.0 * std::log10(power) : -400.0);
    }
    return c;
}
