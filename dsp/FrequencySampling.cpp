#include "dsp/FrequencySampling.h"

#include "dsp/Transforms.h"

DspStatus FrequencySamplingTaps(const CPoints& points, CPoints& taps)
{
    // One point gives a single tap and an inverse transform of length 0.
    if (points.m_nCount < 2)
        return DspStatus::TooFewPoints;

    CPoints spectrum;
    spectrum.Copy(points);
    spectrum.MirrorExtend(1);
    const int n = spectrum.m_nCount;
    const int length = n - 1;

    CPoints b(n);
    IDFT(spectrum, b, length);
    b.MakeReal();

    taps.SetSize(0);
    taps.SetSize(n);
    for (int i = 0; i < n; ++i)
        taps[i] = b[(i + n / 2) % length];
    taps[0] /= 2.0;
    taps[n - 1] /= 2.0;
    return DspStatus::Ok;
}
