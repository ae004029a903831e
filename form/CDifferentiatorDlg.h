#pragma once

#include <string>

#include "form/CFloatKeys.h"
#include "platform/CDialog.h"
#include "design/DesignMessages.h"

// "Differentiator" (template 133): the normalised gain at fs/2, chosen by
// radio button or typed into "Other:" (0.1 .. 10.0).
class CDifferentiatorDlg : public CDialog {
public:
    enum { IDD = 133 };
    enum Control {
        IDC_NOTE = 1040,
        IDC_GAIN_LABEL = 1049,
        IDC_GAIN_PI = 1050,
        IDC_GAIN_ONE = 1051,
        IDC_GAIN_OTHER = 1052,
        IDC_GAIN_EDIT = 1053,
        IDC_GAIN_GROUP = 1054,
        IDC_GAIN_HALF_PI = 1155,
    };

    explicit CDifferentiatorDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    // The radio buttons.
    void OnCommand(int id) override;

    std::string m_strGain = "1.0";  // "Other:" text, at most 8 characters
    double m_dGain = 0.0;           // set on OK
    int m_nGainSel = 0;             // 0 "PI", 1 "PI / 2", 2 "1.0", 3 "Other:"
    CFloatKeys m_GainEdit;
};
