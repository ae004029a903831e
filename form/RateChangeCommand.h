#pragma once

class CZantroView;

// Extras > Rate Change...: asks for a decimator's or interpolator's
// lowpass (CRateChangeDlg), seeded from the form's rate, taps and first
// corner, then fills the form with a Remez lowpass on the derived band
// table and runs Design, so the plots show it at the high rate and the
// Analysis window measures the derived (or alias) stop bands.
void DesignRateChange(CZantroView& view);
