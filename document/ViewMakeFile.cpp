#include "design/CZantroView.h"

// The coefficient source-file generator arrives with the document format.
void CZantroView::OnMakeFile() {}
