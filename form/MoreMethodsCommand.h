#pragma once

#include "design/DesignRequest.h"

class CMethodDlg;
class CZantroView;

// Extras > More Methods...: the methods beside the form's four. Reads the
// form's fields as Design does, asks for the method (CMethodDlg, seeded
// with the last answers), then for least squares and Remez the band table
// (the Remez dialog, stored in the document as the form's Remez design
// stores it), and designs the form's request with the method's parameters.
// The plots and the analysis show the result as any design; refusals show
// the design's messages. A pulse sets the taps field to its span x sps + 1
// taps. The document keeps the form's method: the new methods are not
// stored in it.
void DesignMoreMethods(CZantroView& view);

// The dialog's fields from the request of the last design of this command
// (the dialog's defaults when there was none).
void SeedMethodDialog(const CZantroView& view, CMethodDlg& dlg);
