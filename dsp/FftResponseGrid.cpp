#include "dsp/FftResponseGrid.h"

#include <fftw3.h>

#include <cmath>
#include <limits>
#include <mutex>
#include <utility>

namespace {

// In-place r2c plans by size, made once per process and kept: a plan's
// making (its twiddle factors, its buffers) costs more than its run at the
// sizes measured here. FFTW's planner is not reentrant, its plans run on
// any thread, so making them is serialised; the plans never change, only
// their number grows (one per power of two in use).
class PlanCache {
public:
    PlanCache() = default;
    PlanCache(const PlanCache&) = delete;
    PlanCache& operator=(const PlanCache&) = delete;
    // At exit, with every measurement done: the plans and FFTW's own
    // tables go back, so a leak check finds nothing left.
    ~PlanCache()
    {
        for (const auto& [n, plan] : m_plans)
            fftw_destroy_plan(plan);
        fftw_cleanup();
    }

    fftw_plan InPlace(int size)
    {
        const std::lock_guard<std::mutex> guard(m_lock);
        for (const auto& [n, plan] : m_plans)
            if (n == size)
                return plan;
        double* scratch = fftw_alloc_real(static_cast<size_t>(size) + 2);
        fftw_plan plan = fftw_plan_dft_r2c_1d(size, scratch, reinterpret_cast<fftw_complex*>(scratch),
                                              FFTW_ESTIMATE | FFTW_UNALIGNED);
        fftw_free(scratch);
        m_plans.emplace_back(size, plan);
        return plan;
    }

private:
    std::mutex m_lock;
    std::vector<std::pair<int, fftw_plan>> m_plans;
};

PlanCache& Plans()
{
    static PlanCache cache;
    return cache;
}

// The r2c transform, in place, of values: 2 I real points zero-padded to
// 2 I + 2 doubles, which then hold the I + 1 bins.
void RealTransform(HugePageVector<double>& values)
{
    const int size = static_cast<int>(values.size()) - 2;
    fftw_execute_dft_r2c(Plans().InPlace(size), values.data(), reinterpret_cast<fftw_complex*>(values.data()));
}

}  // namespace

FftResponseGrid::FftResponseGrid(std::span<const double> taps, int intervals, bool withDelay) : m_intervals(intervals)
{
    const size_t size = 2 * static_cast<size_t>(intervals);
    const size_t count = std::min(taps.size(), size);
    m_response.assign(size + 2, 0.0);
    for (size_t n = 0; n < count; ++n) {
        m_response[n] = taps[n];
        m_scale += std::abs(taps[n]);
    }
    if (withDelay) {
        m_delayed.assign(size + 2, 0.0);
        for (size_t n = 0; n < count; ++n)
            m_delayed[n] = static_cast<double>(n) * taps[n];
        RealTransform(m_delayed);
    }
    RealTransform(m_response);
    m_magnitude.resize(static_cast<size_t>(intervals) + 1);
    for (size_t k = 0; k < m_magnitude.size(); ++k)
        m_magnitude[k] = std::sqrt(m_response[2 * k] * m_response[2 * k] + m_response[2 * k + 1] * m_response[2 * k + 1]);
    // Squares that overflow (taps beyond 1e150) take the careful way.
    for (size_t k = 0; k < m_magnitude.size(); ++k)
        if (!std::isfinite(m_magnitude[k]))
            m_magnitude[k] = std::hypot(m_response[2 * k], m_response[2 * k + 1]);
    if (!withDelay)
        m_response = {};
}

double FftResponseGrid::GroupDelay(int k) const
{
    const size_t i = static_cast<size_t>(k);
    if (m_delayed.empty() || i >= m_magnitude.size() || !(m_magnitude[i] > 1e-9 * m_scale))
        return std::numeric_limits<double>::quiet_NaN();
    const std::complex<double> h(m_response[2 * i], m_response[2 * i + 1]);
    const std::complex<double> nh(m_delayed[2 * i], m_delayed[2 * i + 1]);
    return (nh / h).real();
}
