#pragma once

#include "platform/CDialog.h"

// "Dolph-Chebyshev Window" (template 131): stopband attenuation, 10 .. 100 dB.
class CStopbandAttDlg : public CDialog {
public:
    explicit CStopbandAttDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;

    int m_nAttenuation = 30;  // dB
};
