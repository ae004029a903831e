#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "design/Design.h"
#include "design/DesignMessages.h"
#include "document/CFilPar.h"
#include "form/DesignAnalysis.h"
#include "form/FormRequest.h"

// Design of a request against the form's Design button with the same
// values typed and answered: the same bits in every array, the same
// results, and the same messages in the same order.

namespace {

struct Case {
    FilterType type;
    DesignMethod method;
    WindowType window;
    int taps;
    IRScaling scaling;
    const char* scale;  // as typed into the scale field
    bool sinX;
    int f1 = 1000;
    int f2 = 3000;
};

std::string Name(const Case& c)
{
    return std::string(kFilterTypeNames[IndexOf(c.type)]) + " / " + kDesignMethodNames[IndexOf(c.method)] + " / " +
           kWindowTypeNames[IndexOf(c.window)] + " / " + std::to_string(c.taps) + " taps / " +
           kIRScalingNames[IndexOf(c.scaling)] + " " + c.scale + (c.sinX ? " / x/sin(x)" : "");
}

bool SameBits(const CPoints& a, const CPoints& b)
{
    return a.m_nCount == b.m_nCount &&
           (a.m_nCount == 0 || std::memcmp(a.m_pData.get(), b.m_pData.get(), sizeof(Complex) * a.m_nCount) == 0);
}

// The dialog answers both sides use: values the dialogs show unchanged.
constexpr double kBeta = 7.25;
constexpr int kAttenuation = 60;
constexpr double kGain = 3.14159265358979323846 / 2.0;  // the dialog's pi/2
constexpr double kVariance = 0.75;

std::vector<RemezBand> BandsFor(FilterType type)
{
    switch (type) {
    case FilterType::Highpass:
        return {{1, 0, 1500, 0.0, 10.0}, {1, 2000, 4000, 1.0, 1.0}};
    case FilterType::Bandpass:
        return {{1, 0, 800, 0.0, 1.0}, {1, 1200, 2500, 1.0, 1.0}, {1, 2900, 4000, 0.0, 1.0}};
    case FilterType::Bandstop:
        return {{1, 0, 800, 1.0, 1.0}, {1, 1200, 2500, 0.0, 4.0}, {1, 2900, 4000, 1.0, 1.0}};
    case FilterType::Hilbert:
        return {{1, 200, 3800, 1.0, 1.0}};
    case FilterType::Differentiator:
        return {{1, 0, 3000, 1.5, 1.0}};
    default:
        return {{1, 0, 1000, 1.0, 1.0}, {1, 1500, 4000, 0.0, 25.0}};
    }
}

std::vector<Complex> SamplingPoints()
{
    std::vector<Complex> points;
    for (int i = 0; i < 17; ++i)
        points.emplace_back(i < 6 ? 1.0 : i < 9 ? 0.5 : 0.0, 0.0);
    return points;
}

// The request built from the case by hand, apart from the form's mapping.
DesignRequest RequestOf(const Case& c)
{
    DesignRequest q;
    q.filterType = c.type;
    q.taps = c.taps;
    q.samplingRate = 8000;
    q.firstCorner = c.f1;
    q.secondCorner = c.f2;
    const WindowChoice window{c.window, kBeta, kAttenuation};
    switch (c.method) {
    case DesignMethod::Sinc:
        q.method = SincMethod{window, kGain};
        break;
    case DesignMethod::FrequencySampling:
        q.method = FrequencySamplingMethod{window, SamplingPoints()};
        break;
    case DesignMethod::Remez: {
        std::vector<RemezBand> bands = BandsFor(c.type);
        bands.resize(kBandCount);
        q.method = RemezMethod{bands, 16};
        break;
    }
    default:
        q.method = DirectMethod{window, kVariance};
        break;
    }
    q.scaling = c.scaling;
    q.scale = std::stod(c.scale);
    q.sinXCompensation = c.sinX;
    return q;
}

// The same values into the form: the fields typed, the dialogs seeded with
// the answers and accepted as they open.
void Type(ViewFixture& f, const Case& c)
{
    f.Configure(IndexOf(c.type), IndexOf(c.method), IndexOf(c.window), c.taps, 8000, c.f1, c.f2);
    f.Select(IDC_IR_SCALING, IndexOf(c.scaling));
    f.Type(IDC_IR_SCALE, c.scale);
    f.view.CheckDlgButton(IDC_SINX_COMP, c.sinX ? 1 : 0);
    f.view.m_dShapeFactor = kBeta;
    f.view.m_nStopbandAtt = kAttenuation;
    f.view.m_nDiffGainSel = 1;
    f.view.m_dVariance = kVariance;
    CFilPar& par = f.doc.m_FilPar;
    const std::vector<RemezBand> bands = BandsFor(c.type);
    for (int row = 0; row < kBandCount; ++row)
        par.m_Bands[row] = row < static_cast<int>(bands.size()) ? bands[static_cast<size_t>(row)] : RemezBand{};
    par.m_nGridDensity = 16;
    const bool sampled = c.method == DesignMethod::FrequencySampling;
    par.m_bInputData = sampled ? 1 : 0;
    const std::vector<Complex> points = sampled ? SamplingPoints() : std::vector<Complex>{};
    par.m_InputData.SetSize(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        par.m_InputData[static_cast<int>(i)] = points[i];
}

void ExpectSameDesign(const Case& c)
{
    SCOPED_TRACE(Name(c));
    const DesignRequest q = RequestOf(c);
    ViewFixture f;
    Type(f, c);
    f.host.ClearMessages();
    f.Design();
    const DesignOutcome out = Design(q);

    std::vector<std::string> shown;
    for (const auto& m : f.host.Messages())
        shown.push_back(m.text);
    std::vector<std::string> mapped;
    for (const DesignNote& note : out.notes)
        mapped.push_back(DesignMessage(note));
    EXPECT_EQ(mapped, shown);

    const CZantroView& v = f.view;
    EXPECT_EQ(out.valid, v.m_bDesignValid == 1);
    // A field the form refuses leaves the last design's FIR type.
    if (!out.Refusal() || SourceOf(out.Refusal()->code) != CodeSource::Fields) {
        EXPECT_EQ(out.firType, v.m_nFirType);
    }
    EXPECT_EQ(out.taps, v.m_nTaps);
    if (!out.ran)
        return;
    EXPECT_TRUE(SameBits(out.coeffs, v.m_Coeffs));
    EXPECT_TRUE(SameBits(out.window, v.m_Window));
    EXPECT_TRUE(SameBits(out.step, v.m_Step));
    EXPECT_TRUE(SameBits(out.spectrum, v.m_Spectrum));
    if (out.sinXApplied) {
        EXPECT_TRUE(SameBits(out.sinXFactors, v.m_SinXComp));
    }
    if (!out.scaled)
        return;
    EXPECT_EQ(out.gain, v.m_dGain);
    EXPECT_EQ(out.irPeak, v.m_dIRPeak);
    EXPECT_EQ(ScaleText(out.gain), f.host.GetDlgItemText(v, IDC_IR_SCALE));
    if (c.method == DesignMethod::Remez) {
        EXPECT_TRUE(out.remez.ran);
        EXPECT_EQ(out.remez.passes, v.m_nRemezPasses);
    }
    if (!out.valid)
        return;
    const DesignAnalysis a = AnalyzeDesign(v, std::nullopt, QuantSpec{});
    ASSERT_EQ(out.figures.bands.size(), a.figures.bands.size());
    for (size_t i = 0; i < a.figures.bands.size(); ++i) {
        EXPECT_EQ(out.figures.bands[i].band.loHz, a.figures.bands[i].band.loHz);
        EXPECT_EQ(out.figures.bands[i].band.hiHz, a.figures.bands[i].band.hiHz);
        EXPECT_EQ(out.figures.bands[i].maxDb, a.figures.bands[i].maxDb);
        EXPECT_EQ(out.figures.bands[i].minDb, a.figures.bands[i].minDb);
        EXPECT_EQ(out.figures.bands[i].attenuationDb, a.figures.bands[i].attenuationDb);
    }
    EXPECT_EQ(out.figures.minus3dbHz, a.figures.minus3dbHz);
    EXPECT_EQ(out.figures.groupDelaySamples, a.figures.groupDelaySamples);
}

constexpr FilterType kSincTypes[] = {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass,
                                     FilterType::Bandstop, FilterType::Hilbert, FilterType::Differentiator};
constexpr WindowType kWindows[] = {WindowType::Rectangular, WindowType::Hanning, WindowType::Hamming,
                                   WindowType::Blackman, WindowType::Chebyshev, WindowType::Kaiser};
constexpr IRScaling kScalings[] = {IRScaling::Natural, IRScaling::Normalized, IRScaling::Optimized,
                                   IRScaling::Custom};
const char* const kScales[] = {"1.0", "2.5", "0.5", "0.25"};

}  // namespace

TEST(DesignEquivalence, WindowedSincOfEveryTypeWindowAndScaling)
{
    int k = 0;
    for (FilterType type : kSincTypes)
        for (WindowType window : kWindows) {
            const int taps = k % 3 == 0 ? 32 : 31 + 2 * (k % 5);
            ExpectSameDesign({type, DesignMethod::Sinc, window, taps, kScalings[k % 4], kScales[k % 4], k % 2 == 1});
            ++k;
        }
}

TEST(DesignEquivalence, DirectDesigns)
{
    int k = 0;
    for (FilterType type : {FilterType::Gaussian, FilterType::Allpass, FilterType::MovingAverage})
        for (WindowType window : {WindowType::Hamming, WindowType::Kaiser, WindowType::Chebyshev}) {
            ExpectSameDesign({type, DesignMethod::Direct, window, 20 + k, kScalings[k % 4], kScales[k % 4], k % 3 == 0});
            ++k;
        }
}

TEST(DesignEquivalence, FrequencySampling)
{
    int k = 0;
    for (FilterType type : {FilterType::Lowpass, FilterType::Highpass, FilterType::Bandpass, FilterType::Bandstop})
        for (WindowType window : {WindowType::Rectangular, WindowType::Blackman, WindowType::Kaiser}) {
            ExpectSameDesign(
                {type, DesignMethod::FrequencySampling, window, 64, kScalings[k % 4], kScales[k % 4], k % 2 == 0});
            ++k;
        }
}

TEST(DesignEquivalence, RemezOfEveryType)
{
    int k = 0;
    for (FilterType type : kSincTypes) {
        ExpectSameDesign({type, DesignMethod::Remez, WindowType::Hamming, 30 + 3 * k, kScalings[k % 4],
                          kScales[k % 4], k % 2 == 1});
        ++k;
    }
}

TEST(DesignEquivalence, RefusalsAndNotes)
{
    // Corner order (refused after the window), a null response whose
    // normalised scale is out of range, the unsupported combinations and
    // the fields.
    ExpectSameDesign({FilterType::Bandpass, DesignMethod::Sinc, WindowType::Kaiser, 33, IRScaling::Natural, "1.0",
                      false, 2000, 1000});
    ExpectSameDesign({FilterType::Hilbert, DesignMethod::Sinc, WindowType::Hamming, 33, IRScaling::Normalized, "1.0",
                      false, 1000, 1000});
    ExpectSameDesign(
        {FilterType::Allpass, DesignMethod::Sinc, WindowType::Hamming, 33, IRScaling::Natural, "1.0", false});
    ExpectSameDesign(
        {FilterType::Lowpass, DesignMethod::Direct, WindowType::Hamming, 33, IRScaling::Natural, "1.0", false});
    ExpectSameDesign({FilterType::Gaussian, DesignMethod::FrequencySampling, WindowType::Hamming, 33,
                      IRScaling::Natural, "1.0", false});
    ExpectSameDesign({FilterType::MovingAverage, DesignMethod::Remez, WindowType::Hamming, 33, IRScaling::Natural,
                      "1.0", false});
    ExpectSameDesign({FilterType::Lowpass, DesignMethod::Sinc, WindowType::Hamming, 33, IRScaling::Custom, "20",
                      false});
    ExpectSameDesign({FilterType::Lowpass, DesignMethod::Sinc, WindowType::Hamming, 33, IRScaling::Natural, "1.0",
                      false, 4000, 3000});
    ExpectSameDesign({FilterType::Lowpass, DesignMethod::Sinc, WindowType::Hamming, 2000, IRScaling::Natural, "1.0",
                      false});
}
