#pragma once

#include <memory>

// The series of one plot: m_nCount doubles, new values 0.0. Indexing is
// unchecked; callers keep 0 <= i < m_nCount.
class CValues {
public:
    explicit CValues(int n = 0);
    CValues(const CValues&) = delete;
    CValues& operator=(const CValues&) = delete;

    // Keeps the first min(n, count) values, zeroes the rest; no change when
    // n equals the count.
    void SetSize(int n);

    double& operator[](int i) { return m_pValues[i]; }
    double operator[](int i) const { return m_pValues[i]; }

    int m_nCount = 0;
    std::unique_ptr<double[]> m_pValues;
};
