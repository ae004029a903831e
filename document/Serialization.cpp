#include "document/CFilPar.h"

#include <cmath>

#include "document/CArchive.h"
#include "document/InputFile.h"
#include "dsp/CPoints.h"

// The ".fir" record: flat fields in declaration order, no class tags.
// Point data keeps double precision; every other double is stored as float32.
// Loading refuses what no design can use: more input points than Read File
// takes, and any infinite or NaN number.

namespace {

void RequireFinite(CArchive& ar, double value)
{
    if (!std::isfinite(value))
        ar.MarkFormatError();
}

}  // namespace

void CPoints::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        m_nVersion = 0;
        ar.WriteInt32(m_nVersion);
        ar.WriteInt32(m_nCount);
        for (int i = 0; i < m_nCount; ++i) {
            ar.WriteFloat64(m_pData[i].real());
            ar.WriteFloat64(m_pData[i].imag());
        }
        return;
    }
    int version = ar.ReadInt32();
    int count = ar.ReadInt32();
    // The count is checked before anything is allocated, so a damaged file
    // cannot ask for gigabytes, nor a design for hours of transforms.
    if (count < 0 || count > kMaxInputPoints)
        ar.MarkFormatError();
    if (ar.IsFailed() || !ar.Expect(static_cast<std::uint64_t>(count), 16))
        return;
    m_nVersion = version;
    CPoints points(count);
    for (int i = 0; i < count; ++i) {
        double re = ar.ReadFloat64();
        double im = ar.ReadFloat64();
        RequireFinite(ar, re);
        RequireFinite(ar, im);
        points.m_pData[i] = Complex(re, im);
    }
    if (ar.IsFailed())
        return;
    m_nCount = points.m_nCount;
    m_pData = std::move(points.m_pData);
}

void CFilPar::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        m_nVersion = 0;
        ar.WriteInt32(m_nVersion);
        ar.WriteInt32(m_nDesignMethod);
        ar.WriteInt32(m_nFilterType);
        ar.WriteInt32(m_nWindowType);
        ar.WriteInt32(m_nFirstCorner);
        ar.WriteInt32(m_nSecondCorner);
        ar.WriteInt32(m_nSamplingRate);
        ar.WriteInt32(m_nTaps);
        ar.WriteInt32(m_nIRScaling);
        ar.WriteInt32(m_bSinXComp);
        ar.WriteFloat32(m_dIRScale);
        ar.WriteInt32(m_nStopbandAtt);
        ar.WriteFloat32(m_dShapeFactor);
        ar.WriteFloat32(m_dVariance);
        ar.WriteString(m_strOutfile);
        ar.WriteInt32(m_nOutExt);
        ar.WriteInt32(m_nNumFormat);
        ar.WriteInt32(m_bInputData);
        if (m_bInputData == 1)
            m_InputData.Serialize(ar);
        for (const RemezBand& band : m_Bands) {
            ar.WriteInt32(band.m_bUse);
            ar.WriteInt32(band.m_nLowerEdge);
            ar.WriteInt32(band.m_nUpperEdge);
            ar.WriteFloat32(band.m_dValue);
            ar.WriteFloat32(band.m_dWeight);
        }
        ar.WriteInt32(m_nGridDensity);
        if (m_Extension)
            WriteExtension(ar, *m_Extension);
        return;
    }
    m_nVersion = ar.ReadInt32();
    m_nDesignMethod = ar.ReadInt32();
    m_nFilterType = ar.ReadInt32();
    m_nWindowType = ar.ReadInt32();
    m_nFirstCorner = ar.ReadInt32();
    m_nSecondCorner = ar.ReadInt32();
    m_nSamplingRate = ar.ReadInt32();
    m_nTaps = ar.ReadInt32();
    m_nIRScaling = ar.ReadInt32();
    m_bSinXComp = ar.ReadInt32();
    m_dIRScale = ar.ReadFloat32();
    m_nStopbandAtt = ar.ReadInt32();
    m_dShapeFactor = ar.ReadFloat32();
    m_dVariance = ar.ReadFloat32();
    RequireFinite(ar, m_dIRScale);
    RequireFinite(ar, m_dShapeFactor);
    RequireFinite(ar, m_dVariance);
    m_strOutfile = ar.ReadString();
    m_nOutExt = ar.ReadInt32();
    m_nNumFormat = ar.ReadInt32();
    m_bInputData = ar.ReadInt32();
    if (m_bInputData == 1 && !ar.IsFailed())
        m_InputData.Serialize(ar);
    for (RemezBand& band : m_Bands) {
        band.m_bUse = ar.ReadInt32();
        band.m_nLowerEdge = ar.ReadInt32();
        band.m_nUpperEdge = ar.ReadInt32();
        band.m_dValue = ar.ReadFloat32();
        band.m_dWeight = ar.ReadFloat32();
        RequireFinite(ar, band.m_dValue);
        RequireFinite(ar, band.m_dWeight);
    }
    m_nGridDensity = ar.ReadInt32();
    m_Extension = ReadExtension(ar);
}
