#include "plot/CValues.h"

#include <algorithm>

CValues::CValues(int n) : m_nCount(n)
{
    if (n > 0)
        m_pValues.reset(new double[static_cast<size_t>(n)]());
}

void CValues::SetSize(int n)
{
    if (n == m_nCount)
        return;
    std::unique_ptr<double[]> values;
    if (n > 0) {
        values.reset(new double[static_cast<size_t>(n)]());
        std::copy_n(m_pValues.get(), std::min(n, m_nCount), values.get());
    }
    m_pValues = std::move(values);
    m_nCount = n;
}
