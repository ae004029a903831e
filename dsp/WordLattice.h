#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "dsp/WordGrid.h"

// Integer words whose response comes close to a real design's at a few
// well-spread frequencies, by Euclidean lattice basis reduction: the
// method of Brisebarre, Filip and Hanrot ("A lattice basis reduction
// approach for the design of finite wordlength FIR filters", IEEE Trans.
// Signal Processing 66(10), 2018, sections III and IV).
//
// Each point of the grid gives a weighted functional of the words (a
// band's weight makes 1 its allowed deviation at the reference gain,
// outside the bands the whole response's allowance; complex responses give
// their real and imaginary parts). As many functionals as there are words
// are picked by the greedy maximum-volume rule (approximate Fekete points:
// Gram-Schmidt with column pivoting, the largest remaining norm first), so
// that closeness at them bounds the error between them. The words' values
// at those points span a lattice, reduced once by LLL (libfplll); Babai's
// nearest-plane rounding then gives the lattice point nearest to a target's
// values, and Klein's randomised variant of it (Klein, "Finding the
// closest lattice vector when it's unusually close", SODA 2000) lattice
// points around it, from which the caller keeps the best by its own
// measure.
class WordLattice {
public:
    // The grid gives the points, weights and functions (its words are not
    // used); words stay within lowest .. highest.
    WordLattice(const WordGrid& grid, int variables, long long lowest, long long highest);

    // false when no lattice could be built (no weighted point, or the
    // reduction failed); the other members then give nothing.
    bool Ok() const { return m_ok; }

    struct Words {
        std::vector<long long> words;  // free words (WordLayout)
        // The words are those of the rounded target plus these multiples of
        // the reduced basis (Directions), before any word was held in range.
        std::vector<long long> coefficients;
        bool clamped = false;          // a word was held at an end of the range
        double nodeError = 0.0;        // largest weighted |response - target| at the nodes
    };
    // The nearest lattice point to the target's values: target holds real
    // free words in word units (the design's).
    Words Nearest(std::span<const double> target) const;
    // A lattice point drawn around it: each nearest-plane step rounds to
    // the farther integer with a probability falling as exp(-d^2 / spread^2),
    // d the extra distance from the plane in weighted units.
    Words Sample(std::span<const double> target, double spread, std::mt19937_64& random) const;

    // The reduced basis as changes of the words: short vectors of the
    // lattice, changes of many words whose response at the nodes is small.
    std::vector<std::vector<long long>> Directions() const;

private:
    Words Walk(std::span<const double> target, double spread, std::mt19937_64* random) const;

    bool m_ok = false;
    int m_variables = 0;
    int m_dimension = 0;
    long long m_lowest = 0;
    long long m_highest = 0;
    double m_scale = 1.0;
    std::vector<std::vector<double>> m_nodeValues;  // per node: each word's weighted value (unscaled)
    std::vector<std::vector<double>> m_reduced;     // reduced rows, scaled
    std::vector<std::vector<double>> m_star;        // their Gram-Schmidt vectors
    std::vector<double> m_starNorm;                 // squared norms
    std::vector<std::vector<double>> m_transform;   // reduced row k = sum_w transform[k][w] original row w
};
