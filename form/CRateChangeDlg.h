#pragma once

#include <optional>
#include <string>

#include "design/RateChangeSearch.h"
#include "dsp/Multirate.h"
#include "form/CFloatKeys.h"
#include "form/FormRequest.h"
#include "form/RateChangeFields.h"
#include "platform/CDialog.h"

// "Rate Change" (template 142): the lowpass of a decimator or an
// interpolator by a factor of 2 .. 64, or a half-band filter (factor 2, the
// factor field unused), at the high sampling rate, with its pass-band edge
// and taps (a half-band's 4k + 3); a decimator's or interpolator's stop band
// runs from fs/factor - f1 to fs/2, or with "Alias bands only" covers only
// the bands k fs/factor -+ f1 that fold onto the pass band (a half-band's
// is fs/2 - f1 .. fs/2). With "Design to requirement" the taps field is
// not used: the design is the fewest taps whose pass band ripples at most
// the ripple (dB) and whose stop bands lie at least the attenuation (dB)
// down, for the double taps and, when a format is chosen, its fixed-point
// taps. OK refuses a factor, rate, edge, taps or requirement that cannot
// be designed (the edge must lie below fs / (2 factor)).
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
        IDC_RATE_TO_SPEC = 1176,
        IDC_RATE_RIPPLE = 1177,
        IDC_RATE_ATTENUATION = 1178,
        IDC_RATE_FORMAT = 1179,
    };
    // Entries of the rate-change list.
    enum Kind { kDecimation, kInterpolation, kHalfband };

    explicit CRateChangeDlg(CWnd* parent);

    const DialogTemplate* GetTemplate() const override;
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    // The Remez band table of a decimator's or interpolator's fields (valid
    // after OK); the rows in use.
    int BandTable(RemezBand (&table)[kBandCount]) const;
    // The fields as the design of a rate change (RequestOf): a Remez lowpass
    // at the high rate with the fields' taps and grid density gridDensity
    // (as zantro-cli --decimate, --interpolate, --halfband).
    FormDesign Design(int gridDensity) const;
    // The requirement of the fields (with m_bToSpec): the ripple, the
    // attenuation of the derived stop bands, the fixed-point format.
    RateChangeRequirement Requirement() const;
    std::optional<QuantSpec> Format() const;
    // The fields besides rate, pass edge and taps, and loaded from an earlier OK.
    RateChangeFields Fields() const;
    void Load(const RateChangeFields& fields);

    int m_nKind = kDecimation;
    unsigned m_nFactor = 4;
    unsigned m_nSamplingRate = 48000;
    unsigned m_nPassEdge = 4000;
    unsigned m_nTaps = 63;
    int m_bAliasBands = 0;
    int m_bToSpec = 0;
    std::string m_strRipple = "0.1";
    std::string m_strAttenuation = "80";
    int m_nFormat = 0;  // 0 none (double), 1 Q7, 2 Q15, 3 Q31
    CFloatKeys m_RippleEdit;
    CFloatKeys m_AttenuationEdit;
};
