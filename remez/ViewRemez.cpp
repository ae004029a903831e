#include "design/CZantroView.h"

// Remez exchange designs arrive with their own command; until then the
// dispatch reaches a routine that computes nothing.
void CZantroView::DesignRemezFilter() {}
