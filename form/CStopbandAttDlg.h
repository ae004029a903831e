#pragma once

#include "platform/CDialog.h"

// "Dolph-Chebyshev Window" (template 131): stopband attenuation in whole dB,
// 10 .. 100, checked by the standard integer exchange.
class CStopbandAttDlg : public CDialog {
public:
    enum { IDD = 131 };
    enum Control {
        IDC_ATT_PROMPT = 1033,
        IDC_ATT_EDIT = 1034,
    };

    explicit CStopbandAttDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;

    int m_nAttenuation = 30;  // dB
};
