#pragma once

#include <string>
#include <vector>

#include "platform/TextFormat.h"

class CWnd;

// The standard field-exchange messages, with %1 and %2 as placeholders.
inline constexpr const char* kMsgParseInt = "Please enter an integer.";
inline constexpr const char* kMsgParseUInt = "Please enter a positive integer.";
inline constexpr const char* kMsgIntRange = "Please enter an integer between %1 and %2.";
inline constexpr const char* kMsgMaxChars = "Please enter no more than %1 characters.";

// One pass of field exchange over a window. When reading (m_bSaveAndValidate)
// the first failing check shows its message with the exclamation icon, moves
// the focus to the control last prepared, and marks the pass failed; every
// later exchange call of the pass then does nothing.
class CDataExchange {
public:
    CDataExchange(CWnd& wnd, bool saveAndValidate) : m_wnd(wnd), m_bSaveAndValidate(saveAndValidate) {}

    void PrepareCtrl(int id) { m_nLastCtrl = id; }
    // Shows text and fails the pass.
    void Fail(const std::string& text);

    CWnd& m_wnd;
    bool m_bSaveAndValidate;
    bool m_bFailed = false;
    int m_nLastCtrl = 0;
};

// Replaces %1, %2, ... in text by args[0], args[1], ...
std::string FillPlaceholders(const std::string& text, const std::vector<std::string>& args);

// Integer conversion as the field exchange does it: optional blanks, an
// optional sign, digits, optional trailing blanks; nothing else, and the
// value must fit in 32 bits. Returns false for anything else.
bool ParseInt(const std::string& text, int& value);
bool ParseUInt(const std::string& text, unsigned& value);

void DDX_Text(CDataExchange& dx, int id, int& value);
void DDX_Text(CDataExchange& dx, int id, unsigned& value);
void DDX_Text(CDataExchange& dx, int id, std::string& value);
void DDX_CBIndex(CDataExchange& dx, int id, int& index);
void DDX_Check(CDataExchange& dx, int id, int& state);
// value is the index of the checked button in the group that starts at firstId (-1: none).
void DDX_Radio(CDataExchange& dx, int firstId, int& value);

void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue);
// On reading refuses a longer text; on writing limits the edit to maxChars.
void DDV_MaxChars(CDataExchange& dx, const std::string& value, int maxChars);
