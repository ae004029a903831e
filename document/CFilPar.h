#pragma once

#include <string>

#include <optional>

#include "document/DesignExtension.h"
#include "dsp/DesignKinds.h"
#include "dsp/RemezBand.h"
#include "dsp/CPoints.h"

class CArchive;
class CWnd;

// The built-in target filters (ApplyTargetPreset), as the Target Filter
// combo lists them, in index order.
inline constexpr const char* kTargetFilterNames[] = {
    "user specified", "standard lowpass", "lowpass even 24", "lowpass odd 63",
    "bandpass even 32", "bandpass even 50", "multi bandpass 55", "differentiator 32",
    "differentiator 33", "Hilbert 20", "Highpass 32"};


// The persistent description of one design: what a ".fir" document holds.
// Frequencies are whole Hz; taps are a count (4..1025 on the form).
class CFilPar {
public:
    CFilPar();
    virtual ~CFilPar() = default;
    CFilPar(const CFilPar&) = delete;
    CFilPar& operator=(const CFilPar&) = delete;
    CFilPar(CFilPar&&) = default;
    CFilPar& operator=(CFilPar&&) = default;

    virtual void Serialize(CArchive& ar);
    // Overwrites method, type, taps, band table and grid density with a
    // built-in target filter.
    // An index outside 0..10 shows "Target %d not supported !" through msgOwner.
    void ApplyTargetPreset(int index, CWnd* msgOwner = nullptr);

    int m_nDesignMethod;
    int m_nFilterType;
    int m_nWindowType;
    int m_nFirstCorner;    // Hz
    int m_nSecondCorner;   // Hz
    int m_nSamplingRate;   // Hz
    int m_nTaps;
    int m_nIRScaling;
    int m_bSinXComp;
    double m_dIRScale;
    int m_nStopbandAtt;    // dB
    double m_dShapeFactor;
    double m_dVariance;    // sigma, taps
    std::string m_strOutfile;
    int m_nOutExt;         // 0 ".c", 1 ".cpp"
    int m_nNumFormat;      // 0 Q7, 1 Q15, 2 Q31, 3 float, 4 double
    int m_bInputData;
    CPoints m_InputData;
    RemezBand m_Bands[kBandCount];
    int m_nGridDensity;
    int m_nVersion;
    // What the document holds of its design beyond these fields, written
    // after them only when present (DesignExtension.h); a file without it
    // reads none.
    std::optional<DesignExtension> m_Extension;
};
