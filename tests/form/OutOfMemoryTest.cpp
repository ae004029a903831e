#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "document/CFilPar.h"
#include "form/DesignMessages.h"

// This test program's allocator: malloc, except that the n-th allocation
// after FailAllocation(n) throws std::bad_alloc, as an exhausted heap does.
namespace {

long g_countdown = 0;  // 0: every allocation succeeds
long g_allocations = 0;

void FailAllocation(long n)
{
    g_countdown = n;
}

}  // namespace

// The replaced operator delete frees what the replaced operator new took
// from malloc; GCC, inlining the pair into gtest's factories, takes it for a
// mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size)
{
    if (g_countdown > 0 && --g_countdown == 0)
        throw std::bad_alloc();
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

// The non-throwing form too (std::stable_sort's buffer), so that the
// replaced delete never frees what another allocator took.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

// What the form shows of a design.
struct Shown {
    std::vector<double> coeffs, impulse, step, magnitude, phase;
    int valid = 0;
    double gain = 0.0, peak = 0.0, magnitudeMax = 0.0, stepMax = 0.0;
    std::string caption;

    bool operator==(const Shown&) const = default;
};

std::vector<double> Values(const CValues& v)
{
    return std::vector<double>(v.m_pValues.get(), v.m_pValues.get() + v.m_nCount);
}

Shown Capture(const ViewFixture& f)
{
    Shown s;
    for (int i = 0; i < f.view.m_Coeffs.m_nCount; ++i)
        s.coeffs.push_back(f.view.m_Coeffs.GetValue(i, 0));
    s.impulse = Values(f.view.m_ImpulseWnd.m_values);
    s.step = Values(f.view.m_StepWnd.m_values);
    s.magnitude = Values(f.view.m_MagnitudeWnd.m_values);
    s.phase = Values(f.view.m_PhaseWnd.m_values);
    s.valid = f.view.m_bDesignValid;
    s.gain = f.view.m_dGain;
    s.peak = f.view.m_dIRPeak;
    s.magnitudeMax = MagnitudeAxes.yMax;
    s.stepMax = StepAxes.yMax;
    s.caption = f.host.GetDlgItemText(f.view, IDC_MAGNITUDE_CAPTION);
    return s;
}

struct OutOfMemory : ::testing::Test, ViewFixture {
    // A 63-tap Hamming lowpass is shown; then the form is set up for the
    // next command, which fails at each of its allocations in turn.
    void SweepAllocations(int commandId, const std::function<void()>& setUp)
    {
        Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, 63);
        Design();
        ASSERT_EQ(view.m_bDesignValid, 1);
        const Shown before = Capture(*this);

        setUp();
        const long start = g_allocations;
        host.Click(view, commandId);
        const long needed = g_allocations - start;
        ASSERT_EQ(view.m_bDesignValid, 1) << LastMessage();
        ASSERT_NE(Capture(*this), before) << "the command must show another design";
        ASSERT_GT(needed, 10);

        for (long n = 1; n <= needed; ++n) {
            Configure(FT_LOWPASS, DM_SINC, WT_HAMMING, 63);
            Design();
            setUp();
            host.ClearMessages();
            ASSERT_EQ(Capture(*this), before);
            FailAllocation(n);
            host.Click(view, commandId);
            const bool failed = g_countdown == 0;
            FailAllocation(0);
            if (!failed)
                continue;  // the command took another path with fewer allocations
            ASSERT_FALSE(host.Messages().empty()) << "allocation " << n;
            EXPECT_EQ(host.Messages().back().text, kMsgOutOfMemory) << "allocation " << n;
            EXPECT_EQ(Capture(*this), before) << "allocation " << n;
        }
    }
};

}  // namespace

TEST_F(OutOfMemory, ASincDesignThatRunsOutKeepsThePreviousDesignAndPlots)
{
    SweepAllocations(IDC_DESIGN, [this]() {
        Select(IDC_FILTER_TYPE, FT_HILBERT);  // another caption and linear axes
        Type(IDC_TAPS, "128");
    });
}

TEST_F(OutOfMemory, FrequencySamplingRemezAndWindowCommandsKeepThePreviousDesign)
{
    SweepAllocations(IDC_DESIGN, [this]() {
        Select(IDC_DESIGN_METHOD, DM_FREQUENCY_SAMPLING);
        Select(IDC_WINDOW_TYPE, WT_RECTANGULAR);
        CPoints& p = doc.m_FilPar.m_InputData;
        p.SetSize(40);
        for (int i = 0; i < 40; ++i)
            p[i] = Complex(i < 10 ? 1.0 : 0.0, 0.0);
        doc.m_FilPar.m_bInputData = 1;
    });
    SweepAllocations(IDC_DESIGN, [this]() {
        Select(IDC_DESIGN_METHOD, DM_REMEZ);
        Type(IDC_TAPS, "31");
        doc.m_FilPar.m_Bands[0] = {1, 0, 1000, 1.0, 1.0};
        doc.m_FilPar.m_Bands[1] = {1, 1500, 4000, 0.0, 1.0};
    });
    SweepAllocations(ID_EXTRAS_WINDOW, [this]() { Select(IDC_WINDOW_TYPE, WT_BLACKMAN); });
}
