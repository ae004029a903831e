#include "form/ExportCommand.h"

#include "document/CZantroDoc.h"
#include "document/DocumentMessages.h"
#include "document/ExportProfileTraits.h"
#include "document/MethodExport.h"
#include "form/CZantroView.h"
#include "form/DesignAnalysis.h"
#include "form/WrittenFiles.h"

namespace {

bool HasDesign(const CZantroView& view)
{
    return view.m_bDesignValid == 1 && view.m_nTaps == view.m_Coeffs.m_nCount;
}

}  // namespace

namespace {

ExportDesign ViewExportDesign(const CZantroView& view)
{
    if (view.m_RateChangeDesign && !view.m_MethodRequest && HasDesign(view))
        return view.m_RateChangeDesign->exportDesign;
    if (view.m_MethodRequest && HasDesign(view)) {
        std::vector<double> taps;
        for (int i = 0; i < view.m_nTaps; ++i)
            taps.push_back(view.m_Coeffs.GetValue(i, 0));
        ExportDesign d = MethodExportDesign(*view.m_MethodRequest, taps, view.m_dGain);
        d.converged = view.m_bConverged;
        return d;
    }
    ExportDesign d;
    d.outline = OutlineOf(view);
    if (view.m_MethodRequest)
        d.methodName = MethodName(*view.m_MethodRequest);
    d.multirate = RateChangeOf(view);
    d.irScaling = view.m_nIRScaling;
    d.sinXComp = view.m_bSinXComp != 0;
    d.variance = view.m_dVariance;
    if (const CZantroDoc* doc = view.GetDocument())
        d.gridDensity = doc->m_FilPar.m_nGridDensity;
    if (!HasDesign(view))
        return d;
    const DesignAnalysis a = AnalyzeDesign(view, std::nullopt, QuantSpec{});
    d.taps = a.taps;
    d.bands = a.bands;
    d.bandsDerived = a.bandsDerived;
    d.crossings = a.crossings;
    d.figures = a.figures;
    d.converged = view.m_bConverged;
    return d;
}

}  // namespace

ExportDesign ExportDesignOf(const CZantroView& view)
{
    ExportDesign d = ViewExportDesign(view);
    if (HasDesign(view) && view.m_WordRequest)
        d.chosenWords = ChosenWordsOf(view, d.taps, d.outline.fs, d.bands, view.m_WordRequest->format);
    return d;
}

bool ExportDesignFiles(CZantroView& view, const ExportOptions& options)
{
    if (view.m_bDesignValid != 1) {
        view.MessageBox(kMsgNoDesign, MB_OK);
        return false;
    }
    if (view.m_nTaps != view.m_Coeffs.m_nCount) {
        view.MessageBox(kMsgTapsChanged, MB_OK);
        return false;
    }
    if (!WriteExport(ExportDesignOf(view), options, &view))
        return false;
    if (Host* host = view.GetHost())
        host->SetStatusText(WrittenFilesText(ExportFilePaths(options)) + view.m_shown.WrittenNote(view));
    return true;
}

std::string ExportPreviewText(const ExportDesign& d, const ExportOptions& options)
{
    if (d.taps.empty())
        return {};
    const ExportWords words = ComputeExportWords(d, options);
    if (IsCProfile(options.profile)) {
        const std::string header = CExportHeaderText(d, options, words);
        const size_t end = header.find("*/\n");
        return end == std::string::npos ? header : header.substr(0, end + 3);
    }
    const char* marker = TraitsOf(options.profile).commentMarker;
    std::string text;
    for (const std::string& line : ExportSummary(d, options, words))
        text += marker + line + "\n";
    return text;
}
