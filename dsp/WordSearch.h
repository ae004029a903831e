#pragma once

#include <initializer_list>
#include <vector>

#include "dsp/WordGrid.h"
#include "dsp/WordLayout.h"
#include "dsp/WordOptimization.h"

// The local search of OptimizeWords: words moved along the grid's
// directions (single words by one step, and the lattice's short vectors)
// while the soft minimum of the points' margins rises (WordScore), first
// single moves, then pairs of moves when none helps, the best margin met on
// the way kept. Work is counted in point evaluations against a budget, and
// the progress callback hears of it.
class WordSearch {
public:
    // Words stay within lowest .. highest (antisymmetric words within
    // -highest .. highest, so their mirrors fit). budget: the evaluations
    // the whole optimisation may spend, for the progress callback's share.
    WordSearch(const WordLayout& layout, WordGrid& grid, long long lowest, long long highest, const WordOptions& options,
               double budget);

    bool Cancelled() const { return m_cancelled; }
    double Spent() const { return m_spent; }
    // Counts work done outside the search.
    void Spend(double evaluations) { m_spent += evaluations; }
    // Asks the progress callback, at most every so many evaluations.
    void Report(double margin);

    // Searches from words until no move helps or Spent() reaches
    // budgetEnd; words become the best found; returns their grid margin.
    double Search(std::vector<long long>& words, double budgetEnd);

private:
    struct Step {
        int direction;
        long long sign;
    };
    bool Allowed(int direction, long long sign) const;
    bool Accept(std::initializer_list<Step> steps);
    bool PairStep(const WordScore& active, double cost, double budgetEnd);

    const WordLayout& m_layout;
    WordGrid& m_grid;
    long long m_lowest, m_highest;
    const WordOptions& m_options;
    double m_budget;
    double m_spent = 0.0;
    double m_nextReport = 0.0;
    bool m_cancelled = false;
    WordScore m_current;
    double m_bestMargin = 0.0;
    std::vector<long long> m_best;
};
