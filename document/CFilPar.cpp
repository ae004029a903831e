#include "document/CFilPar.h"

CFilPar::CFilPar()
{
    m_dIRScale = 1.0;
    m_dShapeFactor = 5.0;
    m_nVersion = 0;
    m_dVariance = 1.0;
    m_nDesignMethod = DM_SINC;
    m_nFilterType = FT_LOWPASS;
    m_nWindowType = WT_HAMMING;
    m_nFirstCorner = 1000;
    m_nSecondCorner = 3000;
    m_nSamplingRate = 8000;
    m_nTaps = 63;
    m_nIRScaling = SC_NATURAL;
    m_bSinXComp = 0;
    m_nStopbandAtt = 40;
    m_strOutfile = "Outfile";
    m_nOutExt = 0;
    m_nNumFormat = 1;
    m_bInputData = 0;
    m_InputData.Clear();
    m_nGridDensity = 16;
}
