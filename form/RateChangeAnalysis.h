#pragma once

#include <optional>
#include <span>
#include <vector>

#include "dsp/Multirate.h"
#include "dsp/ResponseMeasurement.h"

class CZantroView;

// What a rate change adds to the analysis of its lowpass: the alias bands
// (what folds onto the pass band: k fs/factor -+ f1, clipped to fs/2, Hz at
// the high rate fs) and their weakest attenuation, dB below the nominal
// pass gain, of the double and the quantised taps.
struct RateChangeFigures {
    MultirateDesign design;
    double fs = 0.0;
    std::vector<MaskBand> aliasBands;
    double aliasAttenuationDb = 0.0;
    double quantAliasAttenuationDb = 0.0;  // NaN without quantised taps
};

// The rate change the design the plots show was made for (Extras > Rate
// Change..., or a document that holds one).
std::optional<MultirateDesign> RateChangeOf(const CZantroView& view);

// The figures of taps (and of quantised, when not empty) for design at fs.
RateChangeFigures MeasureRateChange(const MultirateDesign& design, double fs, std::span<const double> taps,
                                    std::span<const double> quantised);

// The folded response of a decimator by factor: at each output frequency f
// of count points from 0 to fs/(2 factor) (Hz), the power of everything the
// taps pass that lands on f after the rate change (the distinct input
// frequencies k fs/factor -+ f, k >= 1, up to fs/2), in dB; -400 where
// nothing lands. At fs/(2 factor) the mirror fs/factor - f is f itself and
// counts, the limit from below. Evaluated on
// the grid of factor (count - 1) + 1 points from 0 to fs/2, on which every
// folding frequency lies. count >= 2.
ResponseCurve FoldedResponseDb(std::span<const double> taps, int factor, double fs, int count);
