#include "dsp/WordLattice.h"

#include <algorithm>
#include <cmath>

#include <fplll/fplll.h>

namespace {

// Candidate functionals per word kept for the node choice: a denser set
// costs time in proportion and gives the same nodes to within a grid step.
constexpr int kCandidatesPerWord = 8;
// The reduced basis holds the functionals scaled so their largest entry is
// 2^kScaleBits and rounded.
constexpr int kScaleBits = 20;

// The judged points' weighted functionals, column by column (variables
// values each), thinned to at most kCandidatesPerWord per word (band edges
// and added points always kept).
std::vector<std::vector<double>> Functionals(const WordGrid& grid, int variables) {
    std::vector<int> judged;
    for (int i = 0; i < grid.Points(); ++i) {
        if (grid.WeightOf(i) > 0.0) {
            judged.push_back(i);
        }
    }
    const bool complex = grid.Complex();
    const std::size_t perPoint = complex ? 2 : 1;
    const std::size_t wanted = static_cast<std::size_t>(kCandidatesPerWord) * variables;
    const std::size_t stride = std::max<std::size_t>(1, judged.size() * perPoint / std::max<std::size_t>(wanted, 1));
    std::vector<std::vector<double>> columns;
    for (std::size_t n = 0; n < judged.size(); ++n) {
        if (n % stride != 0 && n + 1 != judged.size()) {
            continue;
        }
        const int i = judged[n];
        const double w = grid.WeightOf(i);
        std::vector<double> re(static_cast<std::size_t>(variables)), im(static_cast<std::size_t>(variables));
        for (int k = 0; k < variables; ++k) {
            const WordBasisValue v = grid.BasisAt(k, i);
            re[k] = w * v.re;
            im[k] = w * v.im;
        }
        columns.push_back(std::move(re));
        if (complex) {
            columns.push_back(std::move(im));
        }
    }
    return columns;
}

// Indices of up to `count` columns picked greedily by the largest norm
// left after projecting out those already picked.
std::vector<std::size_t> PickNodes(const std::vector<std::vector<double>>& columns, int count) {
    std::vector<std::vector<double>> work = columns;
    std::vector<double> norm(work.size());
    for (std::size_t j = 0; j < work.size(); ++j) {
        double s = 0.0;
        for (double x : work[j]) {
            s += x * x;
        }
        norm[j] = s;
    }
    double first = *std::max_element(norm.begin(), norm.end());
    std::vector<char> picked(work.size(), 0);
    std::vector<std::size_t> out;
    for (int step = 0; step < count; ++step) {
        std::size_t best = work.size();
        double bestNorm = 1e-24 * first;
        for (std::size_t j = 0; j < work.size(); ++j) {
            if (!picked[j] && norm[j] > bestNorm) {
                bestNorm = norm[j];
                best = j;
            }
        }
        if (best == work.size()) {
            break;
        }
        picked[best] = 1;
        out.push_back(best);
        std::vector<double> q = work[best];
        const double scale = 1.0 / std::sqrt(bestNorm);
        for (double& x : q) {
            x *= scale;
        }
        for (std::size_t j = 0; j < work.size(); ++j) {
            if (picked[j]) {
                continue;
            }
            double p = 0.0;
            for (std::size_t k = 0; k < q.size(); ++k) {
                p += q[k] * work[j][k];
            }
            for (std::size_t k = 0; k < q.size(); ++k) {
                work[j][k] -= p * q[k];
            }
            norm[j] = std::max(norm[j] - p * p, 0.0);
        }
    }
    return out;
}

// Raw bits of the generator as a double in [0, 1): the same sequence with
// any standard library (its distributions are not specified bit for bit).
double Uniform(std::mt19937_64& random) { return static_cast<double>(random() >> 11) * 0x1.0p-53; }

// The largest reduction tried in double precision first. Measured on a
// minimum-phase lowpass (14 bits): doubles reduce 230 words in half the
// time long doubles take, but fail at 255 after as long as the long
// doubles then take to succeed (where fplll's own choice, multiple
// precision, takes four times that).
constexpr int kDoubleMostWords = 224;

// The transform's entries are used in double precision: exact below this.
constexpr double kLargestTransform = 0x1.0p40;

}  // namespace

WordLattice::WordLattice(const WordGrid& grid, int variables, long long lowest, long long highest)
    : m_variables(variables), m_lowest(lowest), m_highest(highest) {
    if (variables <= 0) {
        return;
    }
    const std::vector<std::vector<double>> columns = Functionals(grid, variables);
    if (columns.empty()) {
        return;
    }
    const std::vector<std::size_t> nodes = PickNodes(columns, variables);
    const int d = static_cast<int>(nodes.size());
    if (d < variables) {
        return;
    }
    double peak = 0.0;
    for (std::size_t j : nodes) {
        for (double x : columns[j]) {
            peak = std::max(peak, std::abs(x));
        }
        m_nodeValues.push_back(columns[j]);
    }
    if (!(peak > 0.0) || !std::isfinite(peak)) {
        return;
    }
    m_dimension = d;
    m_scale = std::ldexp(1.0, kScaleBits) / peak;

    // Rows are the words' vectors of values at the nodes. The lattice point
    // sought is the step from the rounded target, whose size is a few
    // words' steps, so the rounded entries need only resolve a small share
    // of one step: short integers, and a fast reduction.
    fplll::ZZ_mat<mpz_t> basis(variables, d), transform;
    for (int j = 0; j < d; ++j) {
        for (int k = 0; k < variables; ++k) {
            mpz_set_d(basis[k][j].get_data(), std::round(m_nodeValues[j][k] * m_scale));
        }
    }
    // The fast floating-point reduction (short entries, a basis well
    // conditioned by the nodes), in double precision up to
    // kDoubleMostWords words, then in long double, then at fplll's own
    // choice of precision.
    const fplll::ZZ_mat<mpz_t> original = basis;
    int status = fplll::RED_LLL_FAILURE;
    for (const fplll::FloatType precision : {fplll::FT_DOUBLE, fplll::FT_LONG_DOUBLE, fplll::FT_DEFAULT}) {
        if (precision == fplll::FT_DOUBLE && variables > kDoubleMostWords) {
            continue;
        }
        basis = original;
        transform.gen_identity(variables);
        status = precision == fplll::FT_DEFAULT
                     ? fplll::lll_reduction(basis, transform, fplll::LLL_DEF_DELTA, fplll::LLL_DEF_ETA)
                     : fplll::lll_reduction(basis, transform, fplll::LLL_DEF_DELTA, fplll::LLL_DEF_ETA, fplll::LM_FAST,
                                            precision);
        if (status == fplll::RED_SUCCESS) {
            break;
        }
    }
    if (status != fplll::RED_SUCCESS) {
        return;
    }
    const std::size_t n = static_cast<std::size_t>(variables);
    m_reduced.assign(n, std::vector<double>(static_cast<std::size_t>(d)));
    m_transform.assign(n, std::vector<double>(n));
    for (int k = 0; k < variables; ++k) {
        for (int j = 0; j < d; ++j) {
            m_reduced[k][j] = basis[k][j].get_d();
        }
        for (int w = 0; w < variables; ++w) {
            const double t = transform[k][w].get_d();
            if (!(std::abs(t) < kLargestTransform)) {
                return;
            }
            m_transform[k][w] = t;
        }
    }
    // Gram-Schmidt of the reduced rows in double precision: they are nearly
    // orthogonal now.
    m_star = m_reduced;
    m_starNorm.assign(n, 0.0);
    for (int k = 0; k < variables; ++k) {
        for (int i = 0; i < k; ++i) {
            if (m_starNorm[i] == 0.0) {
                continue;
            }
            double mu = 0.0;
            for (int j = 0; j < d; ++j) {
                mu += m_reduced[k][j] * m_star[i][j];
            }
            mu /= m_starNorm[i];
            for (int j = 0; j < d; ++j) {
                m_star[k][j] -= mu * m_star[i][j];
            }
        }
        double sum = 0.0;
        for (double x : m_star[k]) {
            sum += x * x;
        }
        m_starNorm[k] = sum;
    }
    m_ok = true;
}

std::vector<std::vector<long long>> WordLattice::Directions() const {
    std::vector<std::vector<long long>> out;
    for (const std::vector<double>& row : m_transform) {
        std::vector<long long> d;
        for (double t : row) {
            d.push_back(static_cast<long long>(t));
        }
        out.push_back(std::move(d));
    }
    return out;
}

WordLattice::Words WordLattice::Nearest(std::span<const double> target) const { return Walk(target, 0.0, nullptr); }

WordLattice::Words WordLattice::Sample(std::span<const double> target, double spread, std::mt19937_64& random) const {
    return Walk(target, spread, &random);
}

WordLattice::Words WordLattice::Walk(std::span<const double> target, double spread, std::mt19937_64* random) const {
    Words out;
    if (!m_ok || static_cast<int>(target.size()) != m_variables) {
        return out;
    }
    const int n = m_variables, d = m_dimension;
    std::vector<double> start(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        start[k] = std::clamp(std::round(target[k]), static_cast<double>(m_lowest), static_cast<double>(m_highest));
    }
    std::vector<double> rest(static_cast<std::size_t>(d), 0.0);
    for (int j = 0; j < d; ++j) {
        for (int k = 0; k < n; ++k) {
            rest[j] += m_nodeValues[j][k] * m_scale * (target[k] - start[k]);
        }
    }
    const double spreadScaled = spread * m_scale;
    std::vector<double> coefficient(static_cast<std::size_t>(n), 0.0);
    for (int k = n - 1; k >= 0; --k) {
        if (m_starNorm[k] == 0.0) {
            continue;
        }
        double p = 0.0;
        for (int j = 0; j < d; ++j) {
            p += rest[j] * m_star[k][j];
        }
        p /= m_starNorm[k];
        double c = std::round(p);
        if (random && spreadScaled > 0.0) {
            const double other = c + (p >= c ? 1.0 : -1.0);
            const double extra = ((other - p) * (other - p) - (c - p) * (c - p)) * m_starNorm[k];
            const double odds = std::exp(-extra / (spreadScaled * spreadScaled));
            if (Uniform(*random) < odds / (1.0 + odds)) {
                c = other;
            }
        }
        coefficient[k] = c;
        if (c != 0.0) {
            for (int j = 0; j < d; ++j) {
                rest[j] -= c * m_reduced[k][j];
            }
        }
    }
    double error = 0.0;
    for (double r : rest) {
        error = std::max(error, std::abs(r));
    }
    out.nodeError = error / m_scale;
    out.words.assign(static_cast<std::size_t>(n), 0);
    for (int w = 0; w < n; ++w) {
        double word = start[w];
        for (int k = 0; k < n; ++k) {
            word += coefficient[k] * m_transform[k][w];
        }
        const double held = std::clamp(word, static_cast<double>(m_lowest), static_cast<double>(m_highest));
        out.clamped = out.clamped || held != word;
        out.words[w] = static_cast<long long>(held);
    }
    for (double c : coefficient) {
        out.coefficients.push_back(static_cast<long long>(c));
    }
    return out;
}
