#pragma once

#include <string>

#include "dsp/CPoints.h"
#include "plot/CValues.h"
#include "plot/PlotAxes.h"

class CPlotWnd;
class CZantroView;

// What the form shows of its last design: the five design arrays, the
// results, the four plots' series, the program-wide axis records and the
// magnitude caption. Taken before a command runs; a command that cannot
// complete (memory ran out) is undone with Restore, which allocates
// nothing. The fields keep what the user typed, as after any refusal.
class DesignSnapshot {
public:
    // Copies the view's state; may throw std::bad_alloc, leaving the view as it was.
    explicit DesignSnapshot(CZantroView& view);
    DesignSnapshot(const DesignSnapshot&) = delete;
    DesignSnapshot& operator=(const DesignSnapshot&) = delete;

    // Swaps the copies back into the view; the command's partial results
    // go with the snapshot. The controls and plots are not redrawn here.
    void Restore();
    // The magnitude plot's caption text as it was.
    const std::string& MagnitudeCaption() const { return m_strCaption; }

private:
    struct Plot {
        PlotAxes* axes = nullptr;
        CValues values;
        int pen = 0;
    };
    static void Take(Plot& plot, const CPlotWnd& wnd);
    static void Put(Plot& plot, CPlotWnd& wnd);

    CZantroView& m_view;
    CPoints m_Window, m_Coeffs, m_Step, m_Spectrum, m_SinXComp;
    int m_nFirType, m_bDesignValid, m_nRemezPasses;
    bool m_bConverged;
    double m_dIRPeak, m_dGain, m_dPlotGain;
    Plot m_plots[4];
    PlotAxes m_axes[4];
    std::string m_strCaption;
};
