#pragma once

#include <string>

#include "form/CFloatKeys.h"
#include "form/RequirementDesign.h"
#include "form/RequirementFields.h"
#include "platform/CDialog.h"

// "Design to Requirement" (template 141): the requirement of a lowpass,
// highpass, bandpass or bandstop. The transitions give the band edges in
// Hz: a lowpass passes 0 to the first transition's lower edge and stops
// from its upper edge to fs/2; a highpass the other way round; a bandpass
// stops below the first and above the second transition and passes
// between them; a bandstop the other way round. One ripple (dB, largest
// minus smallest gain) holds for every pass band and one attenuation (dB)
// for every stop band. OK refuses a requirement that cannot be designed.
class CRequirementDlg : public CDialog {
public:
    enum { IDD = 141 };
    enum Control {
        IDC_SPEC_TYPE = 1160,
        IDC_SPEC_RATE = 1161,
        IDC_SPEC_EDGE1 = 1162,  // first transition, from
        IDC_SPEC_EDGE2 = 1163,  // first transition, to
        IDC_SPEC_EDGE3 = 1164,  // second transition, from
        IDC_SPEC_EDGE4 = 1165,  // second transition, to
        IDC_SPEC_RIPPLE = 1166,
        IDC_SPEC_ATTENUATION = 1167,
        IDC_SPEC_METHOD = 1168,
        IDC_SPEC_FORMAT = 1169,
        IDC_SPEC_WORDS = 1170,  // the format's words chosen for the requirement, not rounded
    };
    static constexpr int kEdges = 4;

    explicit CRequirementDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    // The request the fields describe (valid after OK).
    SpecRequest Request() const;
    // The fields as the dialog holds them, and loaded from an earlier OK.
    RequirementFields Fields() const;
    void Load(const RequirementFields& fields);

    int m_nFilterType = 0;       // 0 lowpass .. 3 bandstop
    unsigned m_nSamplingRate = 8000;
    unsigned m_nEdge[kEdges] = {1000, 1200, 3000, 3200};
    std::string m_strRipple = "0.1";
    std::string m_strAttenuation = "60";
    int m_nMethod = 0;           // 0 Kaiser window, 1 Remez exchange
    int m_nFormat = 0;           // 0 none (double), 1 Q7, 2 Q15, 3 Q31
    int m_nChooseWords = 0;      // with a format: its words chosen, not rounded
    CFloatKeys m_RippleEdit;
    CFloatKeys m_AttenuationEdit;
};
