#include "form/ExportCommand.h"

#include "document/CZantroDoc.h"
#include "document/DocumentMessages.h"
#include "document/ExportProfileTraits.h"
#include "document/MethodExport.h"
#include "form/CZantroView.h"
#include "form/DesignAnalysis.h"
#include "form/WrittenFiles.h"

namespace {

ExportDesign ViewExportDesign(const CZantroView& view)
{
    if (!view.m_design) {
        ExportDesign d;
        d.outline = OutlineOf(view);
        return d;
    }
    const DesignValue& v = *view.m_design;
    if (v.rateChangeExport)
        return *v.rateChangeExport;
    if (const DesignRequest* request = MethodRequestOf(v))
        return MethodExportDesign(*request, v.taps, v.gain);
    ExportDesign d;
    d.outline = OutlineOf(view);
    d.irScaling = v.fields.irScaling;
    d.sinXComp = v.fields.sinXComp;
    d.variance = v.fields.variance;
    d.gridDensity = v.fields.gridDensity;
    const DesignAnalysis a = AnalyzeDesign(view, std::nullopt, QuantSpec{});
    d.taps = a.taps;
    d.bands = a.bands;
    d.bandsDerived = a.bandsDerived;
    d.crossings = a.crossings;
    d.figures = a.figures;
    return d;
}

}  // namespace

ExportDesign ExportDesignOf(const CZantroView& view)
{
    ExportDesign d = ViewExportDesign(view);
    if (view.m_design)
        d.converged = d.converged && view.m_bConverged;
    if (view.m_design && !d.taps.empty() && view.m_WordRequest)
        d.chosenWords = ChosenWordsOf(view, d.taps, d.outline.fs, d.bands, view.m_WordRequest->format);
    return d;
}

bool ExportDesignFiles(CZantroView& view, const ExportOptions& options)
{
    if (!view.m_design) {
        view.MessageBox(kMsgNoDesign, MB_OK);
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
