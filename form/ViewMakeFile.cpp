#include <iterator>
#include <string>
#include <vector>

#include "form/CZantroView.h"
#include "form/COutfileDlg.h"
#include "form/WrittenFiles.h"
#include "document/CoefficientFiles.h"
#include "document/DocumentMessages.h"

namespace {

// The two files WriteCoefficientFiles made.
std::vector<std::string> WrittenFiles(const std::string& root, int extension)
{
    std::string source = root;
    if (extension >= 0 && extension < static_cast<int>(std::size(kSourceExtensions)))
        source += kSourceExtensions[extension];
    return {root + ".h", source};
}

}  // namespace

void CZantroView::OnMakeFile()
{
    // The design the plots show, whatever the fields hold since (the status
    // text then names it).
    if (!m_design) {
        MessageBox(kMsgNoDesign, MB_OK);
        return;
    }
    const std::vector<double>& taps = m_design->taps;
    CPoints coeffs(static_cast<int>(taps.size()));
    for (int i = 0; i < coeffs.m_nCount; ++i)
        coeffs[i] = Complex(taps[static_cast<size_t>(i)], 0.0);

    COutfileDlg dlg(this);
    dlg.m_strOutfile = m_strOutfile;
    dlg.m_nOutExt = m_nOutExt;
    dlg.m_nNumFormat = m_nNumFormat;
    if (dlg.DoModal() != IDOK)
        return;
    // Remembered before the checks, so a refused choice is kept.
    m_strOutfile = dlg.m_strOutfile;
    m_nOutExt = dlg.m_nOutExt;
    m_nNumFormat = dlg.m_nNumFormat;

    if (m_nNumFormat < 0 || m_nNumFormat >= kNumberFormatCount) {
        MessageBox(kMsgNoNumberFormat, MB_OK);
        return;
    }
    if (IsFixedPointFormat(m_nNumFormat) && coeffs.GetMaxMagnitude() > 1.0) {
        MessageBox(kMsgValuesAboveOne, MB_OK);
        return;
    }
    if (WriteCoefficientFiles(m_strOutfile, m_nOutExt, m_nNumFormat, coeffs.m_nCount, coeffs, this) && m_pHost)
        m_pHost->SetStatusText(WrittenFilesText(WrittenFiles(m_strOutfile, m_nOutExt)) + m_shown.WrittenNote(*this));
}
