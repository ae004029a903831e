#include "form/DesignSnapshot.h"

#include <algorithm>
#include <utility>

#include "form/CZantroView.h"

namespace {

PlotAxes* const kAxes[4] = {&MagnitudeAxes, &PhaseAxes, &ImpulseAxes, &StepAxes};

CPlotWnd* PlotsOf(CZantroView& view, int i)
{
    CPlotWnd* plots[4] = {&view.m_MagnitudeWnd, &view.m_PhaseWnd, &view.m_ImpulseWnd, &view.m_StepWnd};
    return plots[i];
}

}  // namespace

DesignSnapshot::DesignSnapshot(CZantroView& view)
    : m_view(view),
      m_nFirType(view.m_nFirType),
      m_bDesignValid(view.m_bDesignValid),
      m_nRemezPasses(view.m_nRemezPasses),
      m_bConverged(view.m_bConverged),
      m_dIRPeak(view.m_dIRPeak),
      m_dGain(view.m_dGain),
      m_dPlotGain(view.m_MagnitudeWnd.m_dPlotGain),
      m_strCaption(view.GetDlgItemText(IDC_MAGNITUDE_CAPTION))
{
    m_Window.Copy(view.m_Window);
    m_Coeffs.Copy(view.m_Coeffs);
    m_Step.Copy(view.m_Step);
    m_Spectrum.Copy(view.m_Spectrum);
    m_SinXComp.Copy(view.m_SinXComp);
    for (int i = 0; i < 4; ++i) {
        Take(m_plots[i], *PlotsOf(view, i));
        m_axes[i] = *kAxes[i];
    }
}

void DesignSnapshot::Take(Plot& plot, const CPlotWnd& wnd)
{
    plot.axes = wnd.m_pAxes;
    plot.pen = wnd.m_nPen;
    plot.values.SetSize(wnd.m_values.m_nCount);
    std::copy_n(wnd.m_values.m_pValues.get(), wnd.m_values.m_nCount, plot.values.m_pValues.get());
}

void DesignSnapshot::Put(Plot& plot, CPlotWnd& wnd)
{
    wnd.m_pAxes = plot.axes;
    wnd.m_nPen = plot.pen;
    std::swap(wnd.m_values.m_nCount, plot.values.m_nCount);
    std::swap(wnd.m_values.m_pValues, plot.values.m_pValues);
}

void DesignSnapshot::Restore()
{
    CZantroView& v = m_view;
    std::swap(v.m_Window, m_Window);
    std::swap(v.m_Coeffs, m_Coeffs);
    std::swap(v.m_Step, m_Step);
    std::swap(v.m_Spectrum, m_Spectrum);
    std::swap(v.m_SinXComp, m_SinXComp);
    v.m_nFirType = m_nFirType;
    v.m_bDesignValid = m_bDesignValid;
    v.m_nRemezPasses = m_nRemezPasses;
    v.m_bConverged = m_bConverged;
    v.m_dIRPeak = m_dIRPeak;
    v.m_dGain = m_dGain;
    v.m_MagnitudeWnd.m_dPlotGain = m_dPlotGain;
    for (int i = 0; i < 4; ++i) {
        Put(m_plots[i], *PlotsOf(v, i));
        *kAxes[i] = m_axes[i];
    }
}
