#pragma once

#include <string>

#include "design/CFloatKeys.h"
#include "platform/CDialog.h"

// "Variance" (template 135): sigma of the Gaussian edge, 0.1 .. 3.0 taps.
class CVarianceDlg : public CDialog {
public:
    explicit CVarianceDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    std::string m_strVariance;  // at most 5 characters
    double m_dVariance = 1.0;
    CFloatKeys m_VarianceEdit;
};
