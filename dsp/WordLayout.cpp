#include "dsp/WordLayout.h"

#include <cmath>

WordLayout LayoutOf(int taps, int symmetry) {
    WordLayout l;
    l.taps = taps;
    l.symmetry = symmetry;
    auto add = [&](int tap, int mirror, int halfMultiple, double amplitude) {
        l.tap.push_back(tap);
        l.mirror.push_back(mirror);
        l.halfMultiple.push_back(halfMultiple);
        l.amplitude.push_back(amplitude);
    };
    if (symmetry == 0 || taps < 2) {
        l.symmetry = 0;
        for (int n = 0; n < taps; ++n) {
            add(n, -1, 2 * n, 1.0);
        }
    } else if (taps % 2 == 1) {
        const int m = taps / 2;
        if (symmetry > 0) {
            add(m, -1, 0, 1.0);
        }
        for (int k = 1; k <= m; ++k) {
            add(m - k, m + k, 2 * k, 2.0);
        }
    } else {
        const int m = taps / 2;
        for (int k = 0; k < m; ++k) {
            add(m - 1 - k, m + k, 2 * k + 1, 2.0);
        }
    }
    l.variables = static_cast<int>(l.tap.size());
    return l;
}

WordLayout LayoutOf(std::span<const double> taps, int symmetry) {
    const WordLayout all = LayoutOf(static_cast<int>(taps.size()), symmetry);
    WordLayout l = all;
    l.tap.clear();
    l.mirror.clear();
    l.halfMultiple.clear();
    l.amplitude.clear();
    for (int k = 0; k < all.variables; ++k) {
        if (taps[all.tap[k]] != 0.0) {
            l.tap.push_back(all.tap[k]);
            l.mirror.push_back(all.mirror[k]);
            l.halfMultiple.push_back(all.halfMultiple[k]);
            l.amplitude.push_back(all.amplitude[k]);
        }
    }
    l.variables = static_cast<int>(l.tap.size());
    return l;
}

std::vector<long long> TapsOfWords(const WordLayout& layout, std::span<const long long> words) {
    std::vector<long long> taps(static_cast<std::size_t>(layout.taps), 0);
    for (int k = 0; k < layout.variables; ++k) {
        taps[layout.tap[k]] = words[k];
        if (layout.mirror[k] >= 0) {
            taps[layout.mirror[k]] = layout.symmetry < 0 ? -words[k] : words[k];
        }
    }
    return taps;
}

std::vector<long long> WordsOfTaps(const WordLayout& layout, std::span<const long long> taps) {
    std::vector<long long> words;
    for (int k = 0; k < layout.variables; ++k) {
        words.push_back(taps[layout.tap[k]]);
    }
    return words;
}

std::vector<double> WordsOfTaps(const WordLayout& layout, std::span<const double> taps) {
    std::vector<double> words;
    for (int k = 0; k < layout.variables; ++k) {
        words.push_back(taps[layout.tap[k]]);
    }
    return words;
}

WordBasisValue WordBasisAt(const WordLayout& layout, int word, double w) {
    const double x = 0.5 * layout.halfMultiple[word] * w;
    const double a = layout.amplitude[word];
    if (layout.Complex()) {
        return {std::cos(x), -std::sin(x)};
    }
    return {a * (layout.symmetry > 0 ? std::cos(x) : std::sin(x)), 0.0};
}
