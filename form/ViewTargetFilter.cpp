#include "form/CZantroView.h"

#include "document/CZantroDoc.h"

void CZantroView::OnSelchangeTargetFilter()
{
    // A refused control still lets the preset through: its message has been shown.
    UpdateData(true);
    if (GetDocument())
        GetDocument()->m_FilPar.ApplyTargetPreset(m_nTargetFilter, this);
    LoadParameters();
    UpdateData(false);
}
