#pragma once

#include <string>

#include "form/CFloatKeys.h"
#include "platform/CDialog.h"
#include "design/DesignMessages.h"

// "Variance" (template 135): sigma of the Gaussian edge, 0.1 .. 3.0 taps.
// Shown with two decimals in an edit of at most 5 characters, so accepting
// it unchanged rounds it.
class CVarianceDlg : public CDialog {
public:
    enum { IDD = 135 };
    enum Control {
        IDC_VARIANCE_PROMPT = 1067,
        IDC_VARIANCE_EDIT = 1068,
        IDC_SIGMA_LABEL = 1070,
    };

    explicit CVarianceDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    std::string m_strVariance;  // at most 5 characters
    double m_dVariance = 1.0;
    CFloatKeys m_VarianceEdit;
};
