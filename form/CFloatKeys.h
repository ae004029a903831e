#pragma once

#include "platform/CWnd.h"
#include "platform/Host.h"

// Keystroke filter of the floating-point edits: backspace, '+', '-', '.'
// and the digits pass; anything else is discarded with a warning beep.
class CFloatKeys : public KeyFilter {
public:
    // True for the characters that pass.
    static bool IsAccepted(unsigned ch);

    bool OnChar(Host& host, unsigned ch) override;
    // Attaches the filter to edit id of parent.
    void SubclassDlgItem(int id, CWnd& parent);
};
