#pragma once

class CZantroView;

// Extras > Rate Change...: asks for a decimator's, an interpolator's or a
// half-band lowpass (CRateChangeDlg), seeded from the form's rate, taps and
// first corner, its other fields as the user last gave them.
//  - A decimator or interpolator of the taps given fills the form with a
//    Remez lowpass on the derived band table and runs Design.
//  - A half-band filter, and any rate change designed to a requirement, is
//    designed through the engine exactly as zantro-cli --halfband (and
//    --to-spec) designs it, with natural scaling and the document's grid
//    density; the form gets its fields (a Remez lowpass at the high rate),
//    the band table of the lowpass (a half-band: pass 0 .. f1, stop
//    fs/2 - f1 .. fs/2) and the natural scaling, the plots the design.
//    The search's message (the N found, or how far the best design falls
//    short, as zantro-cli prints it) is shown after it; when no N meets
//    the requirement the form stays as it was.
// Either way the plots show the design at the high rate and the Analysis
// window its alias bands while the form holds it; Undo and Redo bring the
// rate change back with its design.
void DesignRateChange(CZantroView& view);
