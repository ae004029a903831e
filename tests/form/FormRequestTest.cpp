#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ViewFixture.h"
#include "design/Design.h"
#include "design/DesignMessages.h"
#include "document/CFilPar.h"
#include "form/FileCommands.h"
#include "form/FormRequest.h"

namespace fs = std::filesystem;

namespace {

FormFields RemezFields()
{
    FormFields f = NewDocumentFields();
    f.designMethod = DM_REMEZ;
    f.taps = 41;
    f.bands[0] = {1, 0, 1000, 1.0, 1.0};
    f.bands[1] = {1, 1500, 4000, 0.0, 10.0};
    return f;
}

}  // namespace

// The form's list methods take the parameters they use and nothing else;
// More Methods replaces the method, a rate change makes the lowpass of its
// own (no table, no scaling).
TEST(FormRequest, EachMethodTakesItsOwnParameters)
{
    FormFields f = NewDocumentFields();
    f.windowType = WT_KAISER;
    f.shapeFactor = 7.5;
    f.diffGain = 2.5;
    f.irScaling = SC_CUSTOM;
    f.irScale = 2.0;
    f.inputData = std::vector<Complex>{{1.0, 0.0}, {0.0, 0.0}};
    f.bands = RemezFields().bands;

    const DesignRequest sinc = *RequestOf({f});
    EXPECT_EQ(sinc.method, MethodParameters(SincMethod{{WindowType::Kaiser, 7.5, 40}, 2.5}));
    EXPECT_EQ(sinc.scale, 2.0);
    f.designMethod = DM_FREQUENCY_SAMPLING;
    EXPECT_EQ(RequestOf({f})->method, MethodParameters(FrequencySamplingMethod{{WindowType::Kaiser, 7.5, 40}, f.inputData}));
    f.designMethod = DM_DIRECT;
    f.variance = 0.5;
    EXPECT_EQ(RequestOf({f})->method, MethodParameters(DirectMethod{{WindowType::Kaiser, 7.5, 40}, 0.5}));
    f.designMethod = DM_REMEZ;
    f.gridDensity = 32;
    EXPECT_EQ(RequestOf({f})->method, MethodParameters(RemezMethod{f.bands, 32}));
    f.designMethod = 5;  // a damaged document's: nothing to design
    EXPECT_FALSE(RequestOf({f}).has_value());

    MethodChoice ls;
    ls.minimumPhase = true;
    const DesignRequest beside = *RequestOf({f, ls});
    EXPECT_EQ(beside.method, MethodParameters(LeastSquaresMethod{f.bands, 32, true}));
    EXPECT_EQ(beside.firstCorner, 0);
    EXPECT_EQ(beside.scaling, IRScaling::Custom);
    MethodChoice pulse;
    pulse.method = MethodChoice::Method::Pulse;
    const DesignRequest shaped = *RequestOf({f, pulse});
    EXPECT_EQ(shaped.method, MethodParameters(PulseMethod{PulseRequest{}}));
    EXPECT_EQ(std::get<PulseMethod>(shaped.method).pulse.normalisation, PulseNormalisation::UnitEnergy);
    EXPECT_EQ(shaped.scaling, IRScaling::Natural);

    FormFields rate = NewDocumentFields();
    SetRateChangeDefaults(rate);
    rate.bands = f.bands;
    rate.irScaling = SC_CUSTOM;
    rate.irScale = 3.0;
    const DesignRequest decimator = *RequestOf({rate, {}, RateChange{RateChangeKind::Decimate, 4}});
    EXPECT_EQ(decimator.method, MethodParameters(RemezMethod{{}, 16}));
    EXPECT_EQ(decimator.scaling, IRScaling::Natural);
    ASSERT_TRUE(decimator.rateChange.has_value());
    EXPECT_EQ(decimator.rateChange->factor, 4);
}

// A document's values as the form's quiet Design of it reads them through
// its dialogs, and the mapping's AsLoaded without them: the same request,
// so the same taps bit for bit and the same refusal text.
TEST(FormRequest, AsLoadedReadsADocumentAsTheFormsDialogsDo)
{
    struct Case {
        const char* name;
        std::function<void(FormFields&)> change;
    };
    const Case cases[] = {
        {"Kaiser beta and a custom scale rounded as shown",
         [](FormFields& f) {
             f.windowType = WT_KAISER;
             f.shapeFactor = 7.255;
             f.irScaling = SC_CUSTOM;
             f.irScale = 2.345;
         }},
        {"Gaussian sigma", [](FormFields& f) { f.filterType = FT_GAUSSIAN, f.designMethod = DM_DIRECT, f.variance = 0.555; }},
        {"Chebyshev", [](FormFields& f) { f.windowType = WT_CHEBYSHEV, f.stopbandAtt = 73; }},
        {"band values and weights, one a search's beyond 100",
         [](FormFields& f) {
             f = RemezFields();
             f.bands[0].m_dValue = 0.98765;
             f.bands[0].m_dWeight = 12.345;
             f.bands[1].m_dWeight = 57501.0;
         }},
        {"an unused row no dialog can show", [](FormFields& f) { f = RemezFields(), f.bands[5] = {0, -5, 10, 0.0, 0.0}; }},
        {"a value too long to show", [](FormFields& f) { f = RemezFields(), f.bands[6].m_dValue = 123456.0; }},
        {"a weight of 0 in use", [](FormFields& f) { f = RemezFields(), f.bands[1].m_dWeight = 0.0; }},
        {"the taps field before the band table",
         [](FormFields& f) { f = RemezFields(), f.taps = 2000, f.bands[5] = {0, -5, 10, 0.0, 0.0}; }},
    };
    const fs::path path = fs::temp_directory_path() / ("zantro-as-loaded-" + std::to_string(::getpid()) + ".fir");
    int refused = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormFields fields = NewDocumentFields();
        c.change(fields);
        {
            CZantroDoc doc;
            StoreFields(fields, doc.m_FilPar);
            ASSERT_TRUE(doc.OnSaveDocument(path.string(), nullptr));
        }
        ViewFixture f;
        ASSERT_TRUE(OpenDocument(f.doc, f.view, path.string()));
        CZantroDoc read;
        ASSERT_TRUE(read.OnOpenDocument(path.string(), nullptr));
        const DesignRequest request = *RequestOf({AsLoaded(FieldsOf(read.m_FilPar))});
        const std::optional<std::string> refusal = RefusalText(request, true);
        if (refusal) {
            ++refused;
            EXPECT_EQ(f.view.m_bDesignValid, 0);
            EXPECT_EQ(f.LastMessage(), *refusal);
            continue;
        }
        ASSERT_EQ(f.view.m_bDesignValid, 1) << f.LastMessage();
        EXPECT_EQ(Design(request).Taps(), FormTaps(f.view));
    }
    EXPECT_EQ(refused, 4);
    fs::remove(path);
}

// Without the band dialog (values given, not typed) only the design's own
// ranges count: any positive weight, rows not in use as they are.
TEST(FormRequest, ValuesGivenTakeTheDesignsRangesOnly)
{
    FormFields f = RemezFields();
    f.bands[1].m_dWeight = 500.0;
    f.bands[5] = {0, -5, 10, 123456.0, 0.0};
    const DesignRequest q = *RequestOf({f});
    EXPECT_FALSE(RefusalText(q, false).has_value());
    EXPECT_EQ(*RefusalText(q, true), "Please enter an integer between 0 and 10000000.");
    f.bands[1].m_dWeight = -1.0;
    EXPECT_EQ(*RefusalText(*RequestOf({f}), false), "Weights must be positive finite numbers.");
    EXPECT_EQ(ScaleText(2.0), "2.00");
    EXPECT_EQ(ScaleText(1.0 / 3.0), "0.33");
}
