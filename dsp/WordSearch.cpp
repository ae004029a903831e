#include "dsp/WordSearch.h"

#include <algorithm>

namespace {

// Progress is reported after about this many point evaluations.
constexpr double kProgressEvery = 2e6;

}  // namespace

WordSearch::WordSearch(const WordLayout& layout, WordGrid& grid, long long lowest, long long highest,
                       const WordOptions& options, double budget)
    : m_layout(layout), m_grid(grid), m_lowest(lowest), m_highest(highest), m_options(options), m_budget(budget) {}

void WordSearch::Report(double margin) {
    if (m_options.progress && m_spent >= m_nextReport) {
        m_nextReport = m_spent + kProgressEvery;
        if (!m_options.progress(std::min(1.0, m_spent / m_budget), margin)) {
            m_cancelled = true;
        }
    }
}

double WordSearch::Search(std::vector<long long>& words, double budgetEnd) {
    m_grid.SetWords(words);
    m_spent += m_grid.Points();
    m_current = m_grid.Score();
    m_bestMargin = m_current.margin;
    m_best = words;
    const int directions = m_grid.Directions();
    int cursor = 0;
    while (!m_cancelled && m_spent < budgetEnd) {
        m_grid.FindActive();
        const double cost = m_grid.ActivePoints();
        const WordScore active = m_grid.ActiveScore();
        bool moved = false;
        // Single moves, the first that helps from a rotating start.
        for (int t = 0; t < directions && !moved && m_spent < budgetEnd; ++t) {
            const int k = (cursor + t) % directions;
            for (long long d : {1LL, -1LL}) {
                if (!Allowed(k, d)) {
                    continue;
                }
                m_spent += cost;
                if (m_grid.Trial(k, d).soft > active.soft && Accept({{k, d}})) {
                    moved = true;
                    cursor = k + 1;
                    break;
                }
            }
        }
        if (!moved && m_options.pairMoves) {
            moved = PairStep(active, cost, budgetEnd);
        }
        if (!moved) {
            break;
        }
        Report(m_bestMargin);
    }
    words = m_best;
    return m_bestMargin;
}

bool WordSearch::Allowed(int direction, long long sign) const {
    const long long lowest = m_layout.symmetry < 0 ? -m_highest : m_lowest;
    for (const WordGrid::WordStep& s : m_grid.StepsOf(direction)) {
        const long long w = m_grid.Words()[s.word] + sign * s.delta;
        if (w < lowest || w > m_highest) {
            return false;
        }
    }
    return true;
}

// Applies the moves when the whole grid confirms the active points' gain;
// keeps the best words.
bool WordSearch::Accept(std::initializer_list<Step> steps) {
    for (const Step& s : steps) {
        m_grid.Move(s.direction, s.sign);
        m_spent += m_grid.Points();
    }
    const WordScore now = m_grid.Score();
    if (now.soft > m_current.soft) {
        m_current = now;
        if (now.margin > m_bestMargin) {
            m_bestMargin = now.margin;
            m_best = m_grid.Words();
        }
        return true;
    }
    for (const Step& s : steps) {
        m_grid.Move(s.direction, -s.sign);
        m_spent += m_grid.Points();
    }
    return false;
}

bool WordSearch::PairStep(const WordScore& active, double cost, double budgetEnd) {
    const int n = m_grid.Directions();
    for (int j = 0; j < n; ++j) {
        for (int k = j + 1; k < n; ++k) {
            for (long long dj : {1LL, -1LL}) {
                for (long long dk : {1LL, -1LL}) {
                    if (!Allowed(j, dj) || !Allowed(k, dk)) {
                        continue;
                    }
                    m_spent += cost;
                    if (m_spent >= budgetEnd) {
                        return false;
                    }
                    if (m_grid.Trial(j, dj, k, dk).soft > active.soft && Accept({{j, dj}, {k, dk}})) {
                        return true;
                    }
                }
            }
        }
        Report(m_bestMargin);
        if (m_cancelled) {
            return false;
        }
    }
    return false;
}
