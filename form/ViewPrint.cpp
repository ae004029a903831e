#include "form/CZantroView.h"

#include "document/CFilPar.h"
#include "document/CZantroDoc.h"
#include "document/MethodExport.h"
#include "platform/CPrintInfo.h"
#include "platform/DialogTemplate.h"
#include "plot/ReportText.h"

namespace {

// The entry a drop-down list of the form shows at index; empty for an index
// outside the list (a document may carry any number there).
std::string ListEntry(const CZantroView& view, int id, int index)
{
    const DialogTemplate* form = view.GetTemplate();
    const ControlTemplate* list = form ? form->Find(id) : nullptr;
    if (!list || index < 0 || index >= static_cast<int>(list->items.size()))
        return {};
    return list->items[static_cast<size_t>(index)];
}

void DrawRow(DrawContext& dc, int row, int left, int right, const std::string& text)
{
    dc.DrawTextA(text, {left, row * kReportRowHeight, right, (row + 1) * kReportRowHeight}, DT_TOP);
}

// Both text blocks sit in a 1024 x 256 window on three quarters of the page.
void MapTextBlock(DrawContext& dc, const Rect& page)
{
    const int w = page.right, h = page.bottom;
    dc.SetWindowExtEx(1024, 256);
    dc.SetViewportExtEx(3 * w / 4, 3 * h / 4);
    dc.SetViewportOrgEx(w / 8, h / 16);
}

}  // namespace

bool CZantroView::OnPreparePrinting(CPrintInfo& info)
{
    info.SetMinPage(1);
    info.SetMaxPage(GetPrintPageCount());
    return true;
}

void CZantroView::OnPrint(DrawContext& dc, const CPrintInfo& info)
{
    const Rect& page = info.m_rectDraw;
    const int w = page.right, h = page.bottom;
    if (info.m_nCurPage == 1) {
        dc.SetMapMode(MM_ISOTROPIC);
        PrintParameterList(dc, page);
        dc.SetWindowExtEx(CPlotWnd::kWindowWidth, CPlotWnd::kWindowHeight);
        dc.SetViewportExtEx(w / 2, h / 2);
        CPlotWnd* plots[] = {&m_MagnitudeWnd, &m_PhaseWnd, &m_ImpulseWnd, &m_StepWnd};
        for (int k = 0; k < 4; ++k) {
            dc.SetViewportOrgEx(w / 4, 3 * h / 16 + k * (h / 5));
            plots[k]->DrawAll(dc);
        }
    } else if (info.m_nCurPage == 2) {
        dc.SetMapMode(MM_ISOTROPIC);
        PrintBandTable(dc, page);
    }
}

void CZantroView::PrintParameterList(DrawContext& dc, const Rect& page)
{
    const Font previous = dc.SelectFont(ReportFont(m_pHost ? m_pHost->GetScreenLogPixelsY() : 96));
    MapTextBlock(dc, page);

    const bool custom = m_nDesignMethod == DM_FREQUENCY_SAMPLING || m_nDesignMethod == DM_REMEZ;
    const std::string left[5][2] = {
        {"Filter Type", custom ? "custom" : ListEntry(*this, IDC_FILTER_TYPE, m_nFilterType)},
        {"# of Taps", FormatTrimmed("%4d", m_nTaps)},
        {"Design Method",
         ShownMethodRequest() ? MethodListName(*ShownMethodRequest()) : ListEntry(*this, IDC_DESIGN_METHOD, m_nDesignMethod)},
        {"Window Type", ListEntry(*this, IDC_WINDOW_TYPE, m_nWindowType)},
        {"IR Scaling", ListEntry(*this, IDC_IR_SCALING, m_nIRScaling)},
    };
    const std::string right[5][2] = {
        {"Sampling Rate", FormatTrimmed("%6d", m_nSamplingRate)},
        {"First Corner", FormatTrimmed("%6d", m_nFirstCorner)},
        {"Second Corner", FormatTrimmed("%6d", m_nSecondCorner)},
        {"sin(x)/x Comp", m_bSinXComp ? "YES" : "NO"},
        {"IR Scale", m_strIRScale},
    };
    for (int row = 0; row < 5; ++row) {
        DrawRow(dc, row, 0, 512, left[row][0]);
        DrawRow(dc, row, 256, 512, left[row][1]);
    }
    for (int row = 0; row < 5; ++row) {
        DrawRow(dc, row, 640, 1024, right[row][0]);
        DrawRow(dc, row, 896, 1024, right[row][1]);
    }

    if (m_nFilterType == FT_GAUSSIAN) {
        DrawRow(dc, 5, 0, 512, "Variance");
        DrawRow(dc, 5, 256, 512, FormatTrimmed("%2.2f", m_dVariance));
    } else if (m_nWindowType == WT_CHEBYSHEV) {
        DrawRow(dc, 5, 0, 512, "Stopband Att");
        DrawRow(dc, 5, 256, 512, FormatTrimmed("%3d", m_nStopbandAtt));
    } else if (m_nWindowType == WT_KAISER) {
        DrawRow(dc, 5, 0, 512, "Shape Factor");
        DrawRow(dc, 5, 256, 512, FormatTrimmed("%2.2f", m_dShapeFactor));
    }

    dc.SelectFont(previous);
}

void CZantroView::PrintBandTable(DrawContext& dc, const Rect& page)
{
    const Font previous = dc.SelectFont(ReportFont(m_pHost ? m_pHost->GetScreenLogPixelsY() : 96));
    MapTextBlock(dc, page);

    dc.DrawTextA(kBandTableHeader, {0, 0, 1024, 32}, DT_TOP);
    if (m_pDocument) {
        const CFilPar& par = m_pDocument->m_FilPar;
        for (int b = 1; b <= kBandCount; ++b)
            dc.DrawTextA(FormatBandLine(b, par.m_Bands[b - 1]), {0, 32 + 32 * b, 1024, 64 + 32 * b}, DT_TOP);
        dc.DrawTextA(FormatGridLine(par.m_nGridDensity), {0, 384, 1024, 416}, DT_TOP);
    }

    dc.SelectFont(previous);
}
