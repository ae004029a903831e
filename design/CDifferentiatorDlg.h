#pragma once

#include <string>

#include "design/CFloatKeys.h"
#include "platform/CDialog.h"

// "Differentiator" (template 133): the normalised gain at fs/2.
class CDifferentiatorDlg : public CDialog {
public:
    explicit CDifferentiatorDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCommand(int id) override;

    std::string m_strGain = "1.0";  // "Other:" text, at most 8 characters
    double m_dGain = 0.0;           // set on OK
    int m_nGainSel = 0;             // 0 "PI", 1 "PI / 2", 2 "1.0", 3 "Other:"
    CFloatKeys m_GainEdit;
};
