#include "design/CFilPar.h"

// The built-in target filters arrive with the document format.
void CFilPar::ApplyTargetPreset(int, CWnd*) {}
