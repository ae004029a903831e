// The Remez band dialog's validation: the input is the text typed into the
// dialog, one field per line (per row: a Use click when the line is not
// empty, lower edge, upper edge, value, weight; then the grid density),
// the first byte choosing the filter type and the taps. A refused table
// leaves the document's band table and grid density as they were; an accepted one
// designs to finite taps or is refused with a message.
#include <algorithm>
#include <iterator>
#include <vector>

#include "document/CFilPar.h"
#include "form/CRemezDlg.h"
#include "fuzz/FuzzSession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::vector<std::string> fields(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == '\n')
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[i]);
    }

    FuzzSession s;
    static const int kTypes[] = {FT_LOWPASS, FT_HIGHPASS, FT_BANDPASS, FT_BANDSTOP, FT_HILBERT, FT_DIFFERENTIATOR};
    s.host.SelectEntry(s.view, IDC_FILTER_TYPE, kTypes[data[0] % 6]);
    s.host.SelectEntry(s.view, IDC_DESIGN_METHOD, DM_REMEZ);
    s.host.TypeText(s.view, IDC_TAPS, data[0] & 0x80 ? "32" : "31");

    using Action = ScriptedHost::Action;
    std::vector<Action> actions;
    std::size_t next = 0;
    auto field = [&]() -> const std::string* { return next < fields.size() ? &fields[next++] : nullptr; };
    for (int row = 0; row < CRemezDlg::kRows; ++row) {
        const std::string* use = field();
        if (!use)
            break;
        if (!use->empty())
            actions.push_back({Action::Click, CRemezDlg::UseId(row), {}});
        const int ids[] = {CRemezDlg::LowerEdgeId(row), CRemezDlg::UpperEdgeId(row), CRemezDlg::ValueId(row),
                           CRemezDlg::WeightId(row)};
        for (int id : ids)
            if (const std::string* text = field())
                actions.push_back({Action::Type, id, *text});
    }
    if (const std::string* grid = field())
        actions.push_back({Action::Type, CRemezDlg::IDC_GRID_DENSITY, *grid});
    s.host.QueueDialog(CRemezDlg::IDD, std::move(actions));

    const CFilPar& par = s.doc.m_FilPar;
    RemezBand before[kBandCount];
    std::copy(std::begin(par.m_Bands), std::end(par.m_Bands), before);
    const int grid = par.m_nGridDensity;
    auto same = [&](const RemezBand& a, const RemezBand& b) {
        return a.m_bUse == b.m_bUse && a.m_nLowerEdge == b.m_nLowerEdge && a.m_nUpperEdge == b.m_nUpperEdge &&
               a.m_dValue == b.m_dValue && a.m_dWeight == b.m_dWeight;
    };
    // The band dialog belongs to the form's Design; the design itself is
    // then checked without the form.
    s.host.Click(s.view, IDC_DESIGN);
    s.DesignAndCheck();
    if (s.host.RefusedDialogs() != 0) {
        FuzzSession::Require(s.view.m_bDesignValid == 0, "a refused band table designs nothing");
        FuzzSession::Require(std::equal(before, before + kBandCount, par.m_Bands, same) &&
                                 grid == par.m_nGridDensity,
                             "a refused band table leaves the document's table as it was");
    }
    return 0;
}
