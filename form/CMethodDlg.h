#pragma once

#include <string>

#include "form/CFloatKeys.h"
#include "form/FormRequest.h"
#include "platform/CDialog.h"

// "More Methods" (template 143): the methods beside the form's four.
//  - Least squares or Remez on the band table of the Remez dialog, with
//    minimum phase (lowpass, bandpass, bandstop) or, for Remez, a pass band
//    shaped to compensate a CIC decimator (R, M, N) or a zero-order hold
//    (inverse sinc).
//  - A pulse-shaping filter: raised cosine, root raised cosine (roll-off
//    0 .. 1) or Gaussian (BT 0.05 .. 1), samples per symbol 2 .. 64 and a
//    span of 1 .. 64 symbols, span x sps + 1 <= 1025 taps, unit energy or
//    unit gain at DC: the pulse's own gain, which the form's scaling and
//    x/sin(x) do not change (the dialog says so beside the list).
// OK refuses what no design of the form's filter type can take, with the
// design's own message.
class CMethodDlg : public CDialog {
public:
    enum { IDD = 143 };
    enum Control {
        IDC_MORE_METHOD = 1180,
        IDC_MORE_MIN_PHASE = 1181,
        IDC_MORE_SHAPE = 1182,
        IDC_MORE_CIC_R = 1183,
        IDC_MORE_CIC_M = 1184,
        IDC_MORE_CIC_N = 1185,
        IDC_MORE_PULSE = 1186,
        IDC_MORE_ROLLOFF = 1187,
        IDC_MORE_SPS = 1188,
        IDC_MORE_SPAN = 1189,
        IDC_MORE_PULSE_GAIN = 1190,
    };
    // Entries of the method list and of the pass-band list.
    enum Method { kLeastSquares, kRemez, kPulse };
    enum Shape { kFlat, kCicCompensation, kInverseSinc };

    explicit CMethodDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    // The dialog's method and its parameters (valid after OK), and the
    // dialog seeded with a choice.
    MethodChoice Choice() const;
    void Load(const MethodChoice& choice);

    int m_nFilterType = 0;  // the form's filter type, for the checks of OK
    int m_nMethod = kLeastSquares;
    int m_bMinPhase = 0;
    int m_nShape = kFlat;
    unsigned m_nCicDecimation = 8;
    unsigned m_nCicDelay = 1;
    unsigned m_nCicStages = 4;
    int m_nPulse = 1;  // PulseShape: raised cosine, root raised cosine, Gaussian
    std::string m_strRolloff = "0.35";  // roll-off, or BT for a Gaussian
    unsigned m_nSps = 8;
    unsigned m_nSpan = 8;
    // 0 unit energy (the default, as zantro-cli's and the Python module's),
    // 1 unit DC gain.
    int m_nPulseGain = 0;
    CFloatKeys m_RolloffEdit;
};
