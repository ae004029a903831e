#pragma once

#include <string>
#include <vector>

#include "form/CZantroView.h"
#include "document/CZantroDoc.h"
#include "platform/ScriptedHost.h"
#include "plot/PlotAxes.h"

// Starts view on host as the program starts its form: controls, the four
// plot windows, a new document doc with target filter 0. False when the
// plot windows could not be made.
inline bool StartForm(Host& host, CZantroDoc& doc, CZantroView& view)
{
    view.SetHost(&host);
    view.SetDocument(&doc);
    host.CreateControls(view);
    if (view.OnCreate() != 0)
        return false;
    view.OnInitialUpdate();
    return true;
}

// The form's coefficient array, as the plots show it.
inline std::vector<double> FormTaps(const CZantroView& view)
{
    std::vector<double> taps;
    for (int i = 0; i < view.m_Coeffs.m_nCount; ++i)
        taps.push_back(view.m_Coeffs[i].real());
    return taps;
}

// A main form on a scripted host, started as the program starts it: a new
// document and the form initialised with target filter 0.
struct ViewFixture {
    ScriptedHost host;
    CZantroDoc doc;
    CZantroView view;

    ViewFixture()
    {
        ResetPlotAxes();
        view.SetHost(&host);
        view.SetDocument(&doc);
        host.CreateControls(view);
        view.OnCreate();
        view.OnInitialUpdate();
    }

    void Type(int id, const std::string& text) { host.TypeText(view, id, text); }
    void Select(int id, int index) { host.SelectEntry(view, id, index); }
    void Design() { host.Click(view, IDC_DESIGN); }
    void ExtrasWindow() { host.Click(view, ID_EXTRAS_WINDOW); }

    // Sets the main parameters the way a user types them.
    void Configure(int filterType, int method, int window, int taps, int fs = 8000, int f1 = 1000, int f2 = 3000)
    {
        Select(IDC_FILTER_TYPE, filterType);
        Select(IDC_DESIGN_METHOD, method);
        Select(IDC_WINDOW_TYPE, window);
        Type(IDC_TAPS, std::to_string(taps));
        Type(IDC_SAMPLING_RATE, std::to_string(fs));
        Type(IDC_FIRST_CORNER, std::to_string(f1));
        Type(IDC_SECOND_CORNER, std::to_string(f2));
    }

    // The document's band table: these rows in use, the others unused.
    void SetBands(const std::vector<RemezBand>& rows)
    {
        for (int row = 0; row < kBandCount; ++row)
            doc.m_FilPar.m_Bands[row] = row < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row)] : RemezBand{};
    }

    std::string LastMessage() const
    {
        return host.Messages().empty() ? std::string() : host.Messages().back().text;
    }
    size_t MessageCount() const { return host.Messages().size(); }
};
