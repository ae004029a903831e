#include <cstdio>

#include "design/Design.h"

int main()
{
    DesignRequest request;  // a windowed-sinc lowpass: 8 kHz, corner 1 kHz
    request.taps = 63;
    request.method = SincMethod{WindowChoice{WindowType::Kaiser, 6.0}};
    const DesignOutcome outcome = Design(request);
    if (!outcome.valid)
        return 1;
    for (double tap : outcome.Taps())
        std::printf("%.17g\n", tap);
    for (const BandFigures& band : outcome.figures.bands)
        if (band.band.kind == BandKind::Stop)
            std::printf("stop band %g - %g Hz: %.1f dB\n", band.band.loHz, band.band.hiHz, band.attenuationDb);
}
