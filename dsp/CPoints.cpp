#include "dsp/CPoints.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "dsp/Transforms.h"

namespace {

std::unique_ptr<Complex[]> Allocate(int n)
{
    // A byte count that does not fit in 32 bits cannot be satisfied.
    if (n < 0 || static_cast<long long>(n) * 16 > std::numeric_limits<std::uint32_t>::max())
        throw std::bad_alloc();
    if (n == 0)
        return nullptr;
    return std::unique_ptr<Complex[]>(new Complex[static_cast<size_t>(n)]());
}

}  // namespace

CPoints::CPoints(int n) : m_nCount(n), m_pData(Allocate(n)) {}

CPoints::CPoints(CPoints&& other) noexcept
    : m_nCount(other.m_nCount), m_pData(std::move(other.m_pData)), m_nVersion(other.m_nVersion)
{
    other.m_nCount = 0;
}

CPoints& CPoints::operator=(CPoints&& other) noexcept
{
    m_nCount = other.m_nCount;
    m_pData = std::move(other.m_pData);
    m_nVersion = other.m_nVersion;
    other.m_nCount = 0;
    return *this;
}

void CPoints::SetSize(int n)
{
    if (n == m_nCount)
        return;
    std::unique_ptr<Complex[]> data = Allocate(n);
    std::copy_n(m_pData.get(), std::min(n, m_nCount), data.get());
    m_pData = std::move(data);
    m_nCount = n;
}

void CPoints::Clear()
{
    std::fill_n(m_pData.get(), m_nCount, Complex());
}

void CPoints::Copy(const CPoints& source)
{
    if (&source == this)
        return;
    if (source.m_nCount != m_nCount)
        SetSize(source.m_nCount);
    m_nVersion = source.m_nVersion;
    std::copy_n(source.m_pData.get(), m_nCount, m_pData.get());
}

void CPoints::MakeReal()
{
    for (int i = 0; i < m_nCount; ++i)
        m_pData[i].imag(0.0);
}

void CPoints::CleanImaginary()
{
    for (int i = 0; i < m_nCount; ++i)
        if (std::fabs(m_pData[i].imag()) < 1e-14)
            m_pData[i].imag(0.0);
}

void CPoints::CenterPad(int n)
{
    if (n == 0 || n <= m_nCount || !m_pData)
        return;
    std::unique_ptr<Complex[]> data = Allocate(n);
    std::copy_n(m_pData.get(), m_nCount, data.get() + (n - m_nCount) / 2);
    m_pData = std::move(data);
    m_nCount = n;
}

void CPoints::MirrorExtend(int odd)
{
    const int n = m_nCount;
    if (odd == 1) {
        SetSize(2 * n - 1);
        for (int k = 0; k <= n - 2; ++k)
            m_pData[n + k] = m_pData[n - 2 - k];
    } else {
        SetSize(2 * n);
        for (int k = 0; k <= n - 1; ++k)
            m_pData[n + k] = m_pData[n - 1 - k];
    }
}

void CPoints::Scale(double re, double im)
{
    const Complex f(re, im);
    for (int i = 0; i < m_nCount; ++i)
        m_pData[i] *= f;
}

void CPoints::Divide(double re, double im)
{
    const Complex d(re, im);
    for (int i = 0; i < m_nCount; ++i)
        m_pData[i] = ComplexDivide(m_pData[i], d);
}

void CPoints::Multiply(const CPoints& other)
{
    for (int i = 0; i < m_nCount; ++i)
        m_pData[i] *= other.m_pData[i];
}

Complex CPoints::CumulativeSum()
{
    Complex t;
    for (int i = 0; i < m_nCount; ++i) {
        t += m_pData[i];
        m_pData[i] = t;
    }
    return t;
}

double CPoints::GetValue(int i, unsigned selector) const
{
    const Complex& z = m_pData[i];
    switch (selector) {
    case 0:
        return z.real();
    case 1:
        return z.imag();
    case 2:
        return std::hypot(z.real(), z.imag());
    case 3:
        return std::atan2(z.imag(), z.real());
    default:
        return 0.0;
    }
}

double CPoints::GetMaxMagnitude() const
{
    double m = 0.0;
    for (int i = 0; i < m_nCount; ++i) {
        double v = GetValue(i, 2);
        if (v > m)
            m = v;
    }
    return m;
}
