#include "dsp/WordGrid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "dsp/GoldenSection.h"

namespace {

constexpr double kGridInfinity = std::numeric_limits<double>::infinity();
constexpr int kOutside = -1;   // outside every band: the whole response
constexpr int kNotJudged = -2;
// Golden-section steps of a peak's refinement between two grid points.
constexpr int kGridPeakSteps = 30;
// Width of the soft minimum, in margin units.
constexpr double kSoftness = 0.02;

}  // namespace

WordGrid::WordGrid(const WordLayout& layout, const WordRequirement& req, double referenceGain, double fixedNominal,
                   int intervals)
    : m_layout(layout), m_req(req), m_reference(referenceGain), m_fixedNominal(fixedNominal),
      m_intervals(std::max(intervals, 8)) {
    m_gainDeviation = kGridInfinity;
    for (std::size_t b = 0; b < req.bands.size(); ++b) {
        const WordBand& band = req.bands[b];
        m_allowed.push_back(AllowedDeviation(band));
        m_kind.push_back(band.band.kind);
        if (band.band.kind != BandKind::Stop) {
            m_gainDeviation = std::min(m_gainDeviation, m_allowed.back());
        }
        if (band.band.kind == BandKind::Pass) {
            m_anyPass = true;
        }
        if (band.band.kind == BandKind::Slope && m_gainBand < 0) {
            m_gainBand = static_cast<int>(b);
        }
    }
    if (m_anyPass) {
        m_gainBand = -1;
    }
    m_judgeWhole = JudgesWholeResponse(req);
    for (const WordBand& band : req.bands) {
        m_wholeRatio.push_back(band.band.kind == BandKind::Pass ? WholeRatio(req, band) : 0.0);
    }

    const int table = 4 * m_intervals;
    m_cos.resize(static_cast<std::size_t>(table));
    for (int j = 0; j < table; ++j) {
        m_cos[j] = std::cos(std::numbers::pi * j / (2.0 * m_intervals));
    }
    // Exact where the cosine is 0 or 1 (sums over symmetric grids cancel).
    m_cos[0] = 1.0;
    m_cos[static_cast<std::size_t>(m_intervals)] = 0.0;
    m_cos[static_cast<std::size_t>(2 * m_intervals)] = -1.0;
    m_cos[static_cast<std::size_t>(3 * m_intervals)] = 0.0;

    for (int i = 0; i <= m_intervals; ++i) {
        AddRegionPoint(std::numbers::pi * i / m_intervals, i);
    }
    for (const WordBand& band : req.bands) {
        AddPoint(std::numbers::pi * band.band.loHz / (req.fs / 2.0));
        AddPoint(std::numbers::pi * band.band.hiHz / (req.fs / 2.0));
    }
}

int WordGrid::RegionAt(double w) const {
    const double hz = w / std::numbers::pi * (m_req.fs / 2.0);
    const double tolerance = 1e-12 * m_req.fs;
    for (std::size_t b = 0; b < m_req.bands.size(); ++b) {
        const MaskBand& band = m_req.bands[b].band;
        if (hz >= band.loHz - tolerance && hz <= band.hiHz + tolerance) {
            return static_cast<int>(b);
        }
    }
    return kOutside;
}

void WordGrid::AddRegionPoint(double w, int gridIndex) {
    int region = RegionAt(w);
    double scale = 1.0;
    if (region >= 0 && m_kind[region] == BandKind::Slope) {
        // Gain over the ideal line w / pi (its height at fs/2 cancels in the
        // ripple); where the line is 0 nothing is judged.
        if (w > 0.0) {
            scale = std::numbers::pi / w;
        } else {
            region = kNotJudged;
        }
    }
    m_w.push_back(w);
    m_gridIndex.push_back(gridIndex);
    m_region.push_back(region);
    m_scale.push_back(scale);
    if (gridIndex < 0) {
        std::vector<double> basis;
        for (int k = 0; k < m_layout.variables; ++k) {
            const WordBasisValue v = WordBasisAt(m_layout, k, w);
            basis.push_back(v.re);
            if (m_layout.Complex()) {
                basis.push_back(v.im);
            }
        }
        m_addedIndex.push_back(static_cast<int>(m_addedBasis.size()));
        m_addedBasis.push_back(std::move(basis));
    } else {
        m_addedIndex.push_back(-1);
    }
    double re = 0.0, im = 0.0;
    for (std::size_t k = 0; k < m_words.size(); ++k) {
        const WordBasisValue v = BasisAt(static_cast<int>(k), Points() - 1);
        re += static_cast<double>(m_words[k]) * v.re;
        im += static_cast<double>(m_words[k]) * v.im;
    }
    m_re.push_back(re);
    m_im.push_back(im);
    for (Direction& d : m_directions) {
        double dre = 0.0, dim = 0.0;
        for (const WordStep& step : d.words) {
            const WordBasisValue v = BasisAt(step.word, Points() - 1);
            dre += static_cast<double>(step.delta) * v.re;
            dim += static_cast<double>(step.delta) * v.im;
        }
        d.re.push_back(dre);
        d.im.push_back(dim);
    }
}

void WordGrid::AddPoint(double w) { AddRegionPoint(std::clamp(w, 0.0, std::numbers::pi), -1); }

double WordGrid::MagnitudeAt(double w, int region) const {
    double re = 0.0, im = 0.0;
    for (int k = 0; k < m_layout.variables; ++k) {
        const WordBasisValue v = WordBasisAt(m_layout, k, w);
        re += static_cast<double>(m_words[k]) * v.re;
        im += static_cast<double>(m_words[k]) * v.im;
    }
    const bool slope = region >= 0 && m_kind[region] == BandKind::Slope;
    return Length(re, im) * (slope && w > 0.0 ? std::numbers::pi / w : 1.0);
}

void WordGrid::AddPeaks() {
    std::vector<double> found;
    int lastGrid = 0;
    while (lastGrid + 1 < Points() && m_gridIndex[lastGrid + 1] >= 0) {
        ++lastGrid;
    }
    for (int i = 1; i < lastGrid; ++i) {
        const int r = m_region[i];
        if (r == kNotJudged || m_region[i - 1] != r || m_region[i + 1] != r) {
            continue;
        }
        const double a = Magnitude(i - 1), b = Magnitude(i), c = Magnitude(i + 1);
        const bool top = b >= a && b >= c;
        if (!top && !(b <= a && b <= c)) {
            continue;
        }
        const double sign = top ? 1.0 : -1.0;
        found.push_back(GoldenMaximum([&](double w) { return sign * MagnitudeAt(w, r); }, m_w[i - 1], m_w[i + 1],
                                      kGridPeakSteps));
    }
    for (double w : found) {
        AddPoint(w);
    }
}

WordBasisValue WordGrid::BasisAt(int word, int point) const {
    const int added = m_addedIndex[point];
    if (added >= 0) {
        const std::vector<double>& b = m_addedBasis[added];
        return m_layout.Complex() ? WordBasisValue{b[2 * word], b[2 * word + 1]} : WordBasisValue{b[word], 0.0};
    }
    const long long table = 4LL * m_intervals;
    const long long j = (static_cast<long long>(m_layout.halfMultiple[word]) * m_gridIndex[point]) % table;
    const double c = m_cos[j];
    const double s = m_cos[(j + 3LL * m_intervals) % table];  // sin x = cos(x - pi/2)
    if (m_layout.Complex()) {
        return {c, -s};
    }
    return {m_layout.amplitude[word] * (m_layout.symmetry > 0 ? c : s), 0.0};
}

void WordGrid::SetWords(std::span<const long long> words) {
    m_words.assign(words.begin(), words.end());
    std::fill(m_re.begin(), m_re.end(), 0.0);
    std::fill(m_im.begin(), m_im.end(), 0.0);
    for (int k = 0; k < m_layout.variables; ++k) {
        if (m_words[k] != 0) {
            const long long delta = m_words[k];
            m_words[k] = 0;
            Change(k, delta);
        }
    }
}

void WordGrid::Accumulate(int word, double d, std::vector<double>& re, std::vector<double>& im) const {
    const int n = Points();
    const long long table = 4LL * m_intervals;
    const long long step = m_layout.halfMultiple[word];
    const double amplitude = m_layout.amplitude[word] * d;
    const bool complex = m_layout.Complex();
    const long long sinShift = 3LL * m_intervals;
    long long j = 0;
    for (int i = 0; i < n; ++i) {
        if (m_gridIndex[i] >= 0) {
            // Grid points come first, in order, so the index steps by the multiple.
            const double c = m_cos[j];
            const double s = m_cos[(j + sinShift) % table];
            if (complex) {
                re[i] += d * c;
                im[i] -= d * s;
            } else {
                re[i] += amplitude * (m_layout.symmetry > 0 ? c : s);
            }
            j += step;
            if (j >= table) {
                j %= table;
            }
        } else {
            const WordBasisValue v = BasisAt(word, i);
            re[i] += d * v.re;
            im[i] += d * v.im;
        }
    }
}

void WordGrid::Change(int word, long long delta) {
    m_words[word] += delta;
    Accumulate(word, static_cast<double>(delta), m_re, m_im);
}

int WordGrid::AddDirection(std::span<const long long> delta) {
    Direction dir;
    dir.re.assign(static_cast<std::size_t>(Points()), 0.0);
    dir.im.assign(static_cast<std::size_t>(Points()), 0.0);
    for (int w = 0; w < m_layout.variables && w < static_cast<int>(delta.size()); ++w) {
        if (delta[w] != 0) {
            dir.words.push_back({w, delta[w]});
            Accumulate(w, static_cast<double>(delta[w]), dir.re, dir.im);
        }
    }
    m_directions.push_back(std::move(dir));
    return m_layout.variables + static_cast<int>(m_directions.size()) - 1;
}

std::vector<WordGrid::WordStep> WordGrid::StepsOf(int direction) const {
    if (direction < m_layout.variables) {
        return {{direction, 1}};
    }
    return m_directions[direction - m_layout.variables].words;
}

WordBasisValue WordGrid::DirectionAt(int direction, int point) const {
    if (direction < m_layout.variables) {
        return BasisAt(direction, point);
    }
    const Direction& d = m_directions[direction - m_layout.variables];
    return {d.re[point], d.im[point]};
}

void WordGrid::Move(int direction, long long sign) {
    if (direction < m_layout.variables) {
        Change(direction, sign);
        return;
    }
    const Direction& d = m_directions[direction - m_layout.variables];
    for (const WordStep& s : d.words) {
        m_words[s.word] += sign * s.delta;
    }
    const double f = static_cast<double>(sign);
    for (int i = 0; i < Points(); ++i) {
        m_re[i] += f * d.re[i];
        m_im[i] += f * d.im[i];
    }
}

double WordGrid::Magnitude(int point) const { return Length(m_re[point], m_im[point]) * m_scale[point]; }

double WordGrid::WeightOf(int point) const {
    const int r = m_region[point];
    if (r == kNotJudged) {
        return 0.0;
    }
    if (r == kOutside) {
        // The whole response's allowance above the nominal gain, or without
        // one the loosest band's: the design's values between the bands hold
        // the words' response in shape there.
        double allowed = 0.0;
        for (double ratio : m_wholeRatio) {
            allowed = std::max(allowed, ratio - 1.0);
        }
        for (double a : m_allowed) {
            allowed = std::max(allowed, a);
        }
        return allowed > 0.0 ? 1.0 / (allowed * m_reference) : 0.0;
    }
    return m_scale[point] / (m_allowed[r] * m_reference);
}

template <typename Value>
WordScore WordGrid::ScoreOver(std::span<const int> points, Value&& value, bool withGain, bool soft) const {
    const std::size_t used = std::min(m_allowed.size(), kMostWordBands);
    double mx[kMostWordBands], mn[kMostWordBands];
    std::fill(mx, mx + used, 0.0);
    std::fill(mn, mn + used, kGridInfinity);
    double whole = 0.0;
    m_scratch.resize(points.size());
    for (std::size_t p = 0; p < points.size(); ++p) {
        const int i = points[p];
        const int r = m_region[i];
        if (r == kNotJudged) {
            continue;
        }
        const double mag = value(p, i);
        m_scratch[p] = mag;
        if (r == kOutside) {
            whole = std::max(whole, mag);
            continue;
        }
        const double s = mag * m_scale[i];
        mx[r] = std::max(mx[r], s);
        mn[r] = std::min(mn[r], s);
        if (m_kind[r] == BandKind::Pass) {
            whole = std::max(whole, mag);
        }
    }
    double passMax = 0.0, passMin = kGridInfinity;
    for (std::size_t b = 0; b < used; ++b) {
        if (m_kind[b] == BandKind::Pass && mn[b] < kGridInfinity) {
            passMax = std::max(passMax, mx[b]);
            passMin = std::min(passMin, mn[b]);
        }
    }
    const double nominal = m_anyPass ? 0.5 * (passMax + passMin) : m_fixedNominal;
    // The whole response against the highest pass band's upper limit.
    double wholeLowest = 0.0, wholeRatio = 0.0;
    if (m_judgeWhole) {
        double limit = -1.0;
        for (std::size_t b = 0; b < used; ++b) {
            if (m_kind[b] == BandKind::Pass && mn[b] < kGridInfinity && mn[b] * m_wholeRatio[b] > limit) {
                limit = mn[b] * m_wholeRatio[b];
                wholeLowest = mn[b];
                wholeRatio = m_wholeRatio[b];
            }
        }
    }
    const bool judgeWhole = m_judgeWhole && wholeLowest > 0.0 && wholeRatio > 1.0;
    auto wholeMargin = [&](double peak) { return 1.0 - (peak / wholeLowest - 1.0) / (wholeRatio - 1.0); };
    double margin = kGridInfinity;
    for (std::size_t b = 0; b < used; ++b) {
        if (mn[b] == kGridInfinity) {
            continue;
        }
        const double deviation = m_kind[b] == BandKind::Stop ? mx[b] / nominal
                                 : mx[b] + mn[b] > 0.0    ? (mx[b] - mn[b]) / (mx[b] + mn[b])
                                                          : kGridInfinity;
        margin = std::min(margin, 1.0 - deviation / m_allowed[b]);
    }
    if (judgeWhole) {
        margin = std::min(margin, wholeMargin(whole));
    } else if (m_judgeWhole) {
        margin = -kGridInfinity;
    }
    double gainMargin = kGridInfinity;
    if (withGain && std::isfinite(m_gainDeviation) && m_reference > 0.0) {
        double level = -1.0;
        if (m_anyPass) {
            level = nominal;
        } else if (m_gainBand >= 0 && static_cast<std::size_t>(m_gainBand) < used && mn[m_gainBand] < kGridInfinity) {
            level = 0.5 * (mx[m_gainBand] + mn[m_gainBand]);
        }
        if (level >= 0.0) {
            gainMargin = 1.0 - std::abs(level / m_reference - 1.0) / m_gainDeviation;
            margin = std::min(margin, gainMargin);
        }
    }
    WordScore score;
    score.margin = std::isnan(margin) ? -kGridInfinity : margin;
    if (!soft || !std::isfinite(score.margin)) {
        score.soft = score.margin;
        return score;
    }
    // Soft minimum of every point's own margin (a pass or slope point's
    // distance from its band's centre, a stop point's height, a point
    // outside the bands its rise above the nominal gain): it rises when any
    // point near the worst improves, so a search can move along words of
    // equal margin towards better ones.
    double centre[kMostWordBands];
    for (std::size_t b = 0; b < used; ++b) {
        centre[b] = 0.5 * (mx[b] + mn[b]);
    }
    double sum = std::isfinite(gainMargin) ? std::exp(-(gainMargin - score.margin) / kSoftness) : 0.0;
    for (std::size_t p = 0; p < points.size(); ++p) {
        const int i = points[p];
        const int r = m_region[i];
        double m = kGridInfinity;
        if (r >= 0) {
            const double s = m_scratch[p] * m_scale[i];
            m = m_kind[r] == BandKind::Stop ? 1.0 - s / (nominal * m_allowed[r])
                                            : 1.0 - std::abs(s / centre[r] - 1.0) / m_allowed[r];
        } else if (r == kOutside && judgeWhole) {
            m = wholeMargin(m_scratch[p]);
        }
        if (m < score.margin + 20.0 * kSoftness) {
            sum += std::exp(-(m - score.margin) / kSoftness);
        }
    }
    score.soft = sum > 0.0 ? score.margin - kSoftness * std::log(sum) : score.margin;
    return score;
}

std::vector<int> WordGrid::AllPoints() const {
    std::vector<int> all(static_cast<std::size_t>(Points()));
    for (int i = 0; i < Points(); ++i) {
        all[i] = i;
    }
    return all;
}

double WordGrid::Margin() const {
    return ScoreOver(AllPoints(), [&](std::size_t, int i) { return Length(m_re[i], m_im[i]); }, true, false).margin;
}

WordScore WordGrid::Score() const {
    return ScoreOver(AllPoints(), [&](std::size_t, int i) { return Length(m_re[i], m_im[i]); }, true, true);
}

WordScore WordGrid::ActiveScore() const {
    return ScoreOver(m_active, [&](std::size_t, int i) { return Length(m_re[i], m_im[i]); }, true, true);
}

double WordGrid::RequirementMargin() const {
    return ScoreOver(AllPoints(), [&](std::size_t, int i) { return Length(m_re[i], m_im[i]); }, false, false).margin;
}

void WordGrid::FindActive() {
    m_active.clear();
    const int n = Points();
    std::vector<char> keep(static_cast<std::size_t>(n), 0);
    // Grid points in order of frequency: a local extreme of the scaled
    // magnitude within a region, and its neighbours.
    int lastGrid = -1;
    for (int i = 0; i < n && m_gridIndex[i] >= 0; ++i) {
        lastGrid = i;
    }
    for (int i = 0; i <= lastGrid; ++i) {
        const int r = m_region[i];
        if (r == kNotJudged || (r == kOutside && !m_judgeWhole)) {
            continue;
        }
        const bool firstOfRegion = i == 0 || m_region[i - 1] != r;
        const bool lastOfRegion = i == lastGrid || m_region[i + 1] != r;
        bool extreme = firstOfRegion || lastOfRegion;
        if (!extreme) {
            const double a = Magnitude(i - 1), b = Magnitude(i), c = Magnitude(i + 1);
            extreme = (b >= a && b >= c) || (b <= a && b <= c);
        }
        if (extreme) {
            for (int k = std::max(0, i - 1); k <= std::min(lastGrid, i + 1); ++k) {
                keep[k] = 1;
            }
        }
    }
    for (int i = lastGrid + 1; i < n; ++i) {
        keep[i] = 1;
    }
    for (int i = 0; i < n; ++i) {
        if (keep[i]) {
            m_active.push_back(i);
        }
    }
    // Every direction's response at the active points, read by the trials.
    const std::size_t count = m_active.size();
    const std::size_t directions = static_cast<std::size_t>(Directions());
    m_activeRe.assign(directions * count, 0.0);
    m_activeIm.assign(m_layout.Complex() ? directions * count : 0, 0.0);
    for (std::size_t d = 0; d < directions; ++d) {
        for (std::size_t p = 0; p < count; ++p) {
            const WordBasisValue v = DirectionAt(static_cast<int>(d), m_active[p]);
            m_activeRe[d * count + p] = v.re;
            if (m_layout.Complex()) {
                m_activeIm[d * count + p] = v.im;
            }
        }
    }
}

WordScore WordGrid::Trial(std::span<const DirectionStep> steps) const {
    return ScoreOver(
        m_active,
        [&](std::size_t p, int i) {
            double re = m_re[i], im = m_im[i];
            for (const DirectionStep& s : steps) {
                re += static_cast<double>(s.times) * ActiveRe(s.direction, p);
                im += static_cast<double>(s.times) * ActiveIm(s.direction, p);
            }
            return Length(re, im);
        },
        true, true);
}

WordScore WordGrid::Trial(int direction1, long long sign1, int direction2, long long sign2) const {
    const double d1 = static_cast<double>(sign1), d2 = static_cast<double>(sign2);
    return ScoreOver(
        m_active,
        [&](std::size_t p, int i) {
            return Length(m_re[i] + d1 * ActiveRe(direction1, p) + d2 * ActiveRe(direction2, p),
                          m_im[i] + d1 * ActiveIm(direction1, p) + d2 * ActiveIm(direction2, p));
        },
        true, true);
}

WordScore WordGrid::Trial(int direction, long long sign) const {
    const double d = static_cast<double>(sign);
    return ScoreOver(
        m_active,
        [&](std::size_t p, int i) {
            return Length(m_re[i] + d * ActiveRe(direction, p), m_im[i] + d * ActiveIm(direction, p));
        },
        true, true);
}
