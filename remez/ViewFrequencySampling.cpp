#include "design/CZantroView.h"

// Frequency-sampling designs arrive with the input data reader.
void CZantroView::DesignFrequencySampling() {}
void CZantroView::OnReadFile() {}
