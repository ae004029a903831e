#pragma once

#include <cmath>
#include <span>
#include <vector>

#include "dsp/WordLayout.h"
#include "dsp/WordRequirement.h"

// The response of integer words on a frequency grid, judged against a
// requirement as WordRequirement.h defines the margin, and kept up to date
// as single words change. Frequencies are radians per sample, 0 .. pi.
//
// The grid is uniform (intervals + 1 points from 0 to pi), so a word's
// function at every grid point is a lookup in one table of cosines; points
// added later (band edges, peaks found between grid points) carry their
// functions' values. Magnitudes are in word units (the taps times
// 2^fraction).
//
// Besides the requirement's bands, the margin holds the words' gain near
// the reference gain: the nominal pass gain (a slope band's level without
// pass bands) may leave the reference by at most the tightest pass or slope
// band's allowed deviation, which counts as one more band's margin. A
// requirement whose bands the optimiser leaves cannot be met by scaling.

// The margin of words, and beside it a soft minimum of every point's own
// margin, which orders words of equal margin by how close their other
// points come to the worst.
struct WordScore {
    double margin = 0.0;
    double soft = 0.0;
    bool Beats(const WordScore& other) const {
        return margin > other.margin || (margin == other.margin && soft > other.soft);
    }
};

class WordGrid {
public:
    // referenceGain: the gain the words should keep, word units (the
    // nominal pass gain of the design times 2^fraction, or a slope band's
    // level at fs/2); fixedNominal: the nominal pass gain stop bands count
    // from when the requirement has no pass band (word units).
    WordGrid(const WordLayout& layout, const WordRequirement& req, double referenceGain, double fixedNominal,
             int intervals);

    // A point at w, in whatever region w falls.
    void AddPoint(double w);
    // Adds the true extremes of the words' scaled magnitude next to every
    // local extreme of the grid points, found by golden-section search
    // between the extreme's neighbours.
    void AddPeaks();
    int Points() const { return static_cast<int>(m_w.size()); }
    bool Complex() const { return m_layout.Complex(); }
    // The relative drift of the gain the margin allows (the tightest pass
    // or slope band's allowed deviation); 0 without such a band.
    double GainAllowance() const { return std::isfinite(m_gainDeviation) ? m_gainDeviation : 0.0; }
    double FrequencyOf(int point) const { return m_w[point]; }

    void SetWords(std::span<const long long> words);
    const std::vector<long long>& Words() const { return m_words; }
    // Adds delta to one word and updates every point.
    void Change(int word, long long delta);

    // Directions of change: the first `variables` are the words one by one
    // (a step of 1), more may be added (a change of several words at once,
    // such as a short lattice vector), whose response is then kept at
    // every point.
    struct WordStep {
        int word;
        long long delta;
    };
    int AddDirection(std::span<const long long> delta);
    int Directions() const { return m_layout.variables + static_cast<int>(m_directions.size()); }
    std::vector<WordStep> StepsOf(int direction) const;
    // Adds sign times the direction to the words and updates every point.
    void Move(int direction, long long sign);

    // The margin over all points, the gain's margin included, and with
    // the soft minimum.
    double Margin() const;
    WordScore Score() const;
    // The requirement's margin only (no gain term).
    double RequirementMargin() const;

    // Picks the points where a change of a few words can decide the margin:
    // every local extreme of each region's scaled magnitude, its neighbours,
    // the regions' ends and every added point; and tabulates every
    // direction's response there. Trials need it again after directions are
    // added.
    void FindActive();
    int ActivePoints() const { return static_cast<int>(m_active.size()); }
    // The score on the active points, as the words are and after adding the
    // deltas to them (words differ; the grid is not changed).
    WordScore ActiveScore() const;
    WordScore Trial(int direction, long long sign) const;
    WordScore Trial(int direction1, long long sign1, int direction2, long long sign2) const;
    // After adding any multiples of directions.
    struct DirectionStep {
        int direction;
        long long times;
    };
    WordScore Trial(std::span<const DirectionStep> steps) const;

    // The response of a direction at a point.
    WordBasisValue DirectionAt(int direction, int point) const;

    // The scaled magnitude of point i, and its weighted error as the
    // lattice's targets take it (0 .. 1 at the limit): see WeightOf.
    double Magnitude(int point) const;
    // Per point: its region (a band's index, -1 outside every band, -2 not
    // judged) and the weight that makes an error of 1 the band's allowed
    // deviation at the reference gain (outside the bands the whole
    // response's allowance above the nominal gain, or the loosest band's;
    // 0 where not judged).
    int RegionOf(int point) const { return m_region[point]; }
    double WeightOf(int point) const;
    double ScaleOf(int point) const { return m_scale[point]; }
    // The functions of word k at point i (imaginary part 0 for linear phase).
    WordBasisValue BasisAt(int word, int point) const;

private:
    struct Stats;
    template <typename Value>
    WordScore ScoreOver(std::span<const int> points, Value&& value, bool withGain, bool soft) const;
    std::vector<int> AllPoints() const;
    // |re + j im|; the imaginary part is always 0 for linear phase.
    double Length(double re, double im) const { return m_layout.Complex() ? std::hypot(re, im) : std::abs(re); }
    void Accumulate(int word, double d, std::vector<double>& re, std::vector<double>& im) const;

    struct Direction {
        std::vector<WordStep> words;
        std::vector<double> re, im;  // response at every point
    };
    std::vector<Direction> m_directions;
    void AddRegionPoint(double w, int gridIndex);
    int RegionAt(double w) const;
    // The words' scaled magnitude at any w, summed directly.
    double MagnitudeAt(double w, int region) const;

    WordLayout m_layout;
    WordRequirement m_req;
    std::vector<double> m_allowed;  // per band
    std::vector<BandKind> m_kind;   // per band
    bool m_judgeWhole = false;
    std::vector<double> m_wholeRatio;  // per pass band: WholeRatio (0 for other bands)
    double m_gainDeviation = 0.0;   // the gain term's allowed relative drift
    int m_gainBand = -1;            // the slope band whose level is the gain, without pass bands
    bool m_anyPass = false;
    double m_reference = 1.0;
    double m_fixedNominal = 1.0;
    int m_intervals = 0;
    std::vector<double> m_cos;      // cos(pi j / (2 intervals)), j = 0 .. 4 intervals - 1

    std::vector<double> m_w;
    std::vector<int> m_gridIndex;   // -1 for an added point
    std::vector<int> m_region;
    std::vector<double> m_scale;    // 1, or 1 over the ideal line of a slope band
    std::vector<std::vector<double>> m_addedBasis;  // per added point: re (and im) per word
    std::vector<int> m_addedIndex;  // per point: index into m_addedBasis, -1 for grid points

    std::vector<long long> m_words;
    std::vector<double> m_re, m_im;
    std::vector<int> m_active;
    std::vector<double> m_activeRe, m_activeIm;  // per direction, per active point
    double ActiveRe(int direction, std::size_t p) const { return m_activeRe[direction * m_active.size() + p]; }
    double ActiveIm(int direction, std::size_t p) const {
        return m_activeIm.empty() ? 0.0 : m_activeIm[direction * m_active.size() + p];
    }
    mutable std::vector<double> m_scratch;  // magnitudes of the points being scored
};
