#pragma once

#include <complex>
#include <memory>

using Complex = std::complex<double>;

class CArchive;

// A counted array of complex doubles: coefficients, windows, spectra,
// compensation factors and input data. Real sequences carry 0 imaginary
// parts. The storage always holds exactly m_nCount elements; every change of
// size allocates a new array of exactly that size, new elements 0 + 0i.
class CPoints {
public:
    explicit CPoints(int n = 0);
    virtual ~CPoints() = default;
    CPoints(const CPoints&) = delete;
    CPoints& operator=(const CPoints&) = delete;
    CPoints(CPoints&& other) noexcept;
    CPoints& operator=(CPoints&& other) noexcept;

    // No change when n equals the count; otherwise keeps elements below
    // min(n, count) and zeroes the rest.
    void SetSize(int n);
    void Clear();
    // Takes the source's count, version and elements.
    void Copy(const CPoints& source);
    void MakeReal();
    // Zeroes imaginary parts whose magnitude is strictly below 1e-14.
    void CleanImaginary();
    // Grows to n elements with the old ones starting at (n - count) / 2;
    // nothing happens unless n > count and the array holds storage.
    void CenterPad(int n);
    // odd 1: x0..x(n-1), x(n-2)..x0 (2n - 1 elements); otherwise
    // x0..x(n-1), x(n-1)..x0 (2n elements).
    void MirrorExtend(int odd);
    void Scale(double re, double im);
    void Divide(double re, double im);
    // Element-wise product; other must hold at least m_nCount elements.
    void Multiply(const CPoints& other);
    // In-place running sum; returns the total.
    Complex CumulativeSum();
    // selector 0 real, 1 imaginary, 2 magnitude, 3 phase (-pi..pi), else 0.
    double GetValue(int i, unsigned selector) const;
    // Largest magnitude of any element; 0 for an empty array.
    double GetMaxMagnitude() const;

    // Stores or loads the array; defined with the document's archive, so the
    // numerics never need it. Not virtual: a virtual member defined in a layer
    // above would tie this class's vtable to that layer.
    void Serialize(CArchive& ar);

    Complex& operator[](int i) { return m_pData[i]; }
    const Complex& operator[](int i) const { return m_pData[i]; }

    int m_nCount = 0;
    std::unique_ptr<Complex[]> m_pData;
    int m_nVersion = 0;
};
