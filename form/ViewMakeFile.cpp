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
    if (!m_bDesignValid) {
        MessageBox(kMsgNoDesign, MB_OK);
        return;
    }
    // An open or a preset since the design replaced the tap count; the
    // coefficients held no longer match it.
    if (m_nTaps != m_Coeffs.m_nCount) {
        MessageBox(kMsgTapsChanged, MB_OK);
        return;
    }

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
    if (IsFixedPointFormat(m_nNumFormat) && m_Coeffs.GetMaxMagnitude() > 1.0) {
        MessageBox(kMsgValuesAboveOne, MB_OK);
        return;
    }
    if (WriteCoefficientFiles(m_strOutfile, m_nOutExt, m_nNumFormat, m_nTaps, m_Coeffs, this) && m_pHost)
        m_pHost->SetStatusText(WrittenFilesText(WrittenFiles(m_strOutfile, m_nOutExt)) + m_shown.WrittenNote(*this));
}
