#pragma once

#include "dsp/Multirate.h"
#include "platform/CDialog.h"

// "Rate Change" (template 142): the lowpass of a decimator or an
// interpolator by a factor of 2 .. 64 at the high sampling rate, with its
// pass-band edge and taps; its stop band runs from fs/factor - f1 to fs/2,
// or with "Alias bands only" covers only the bands k fs/factor -+ f1 that
// fold onto the pass band. OK refuses a factor, rate or edge that cannot be
// designed (the edge must lie below fs / (2 factor)).
class CRateChangeDlg : public CDialog {
public:
    enum { IDD = 142 };
    enum Control {
        IDC_RATE_KIND = 1170,
        IDC_RATE_FACTOR = 1171,
        IDC_RATE_FS = 1172,
        IDC_RATE_PASS = 1173,
        IDC_RATE_TAPS = 1174,
        IDC_RATE_ALIAS = 1175,
    };

    explicit CRateChangeDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;

    // The Remez band table of the fields (valid after OK); the rows in use.
    int BandTable(RemezBand (&table)[kBandCount]) const;

    int m_nKind = 0;  // 0 decimation, 1 interpolation
    unsigned m_nFactor = 4;
    unsigned m_nSamplingRate = 48000;
    unsigned m_nPassEdge = 4000;
    unsigned m_nTaps = 63;
    int m_bAliasBands = 0;
};
