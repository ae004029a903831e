#include "platform/DataExchange.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/CWnd.h"
#include "platform/DialogTemplate.h"

void CDataExchange::Fail(const std::string& text)
{
    if (m_bFailed)
        return;
    m_bFailed = true;
    m_wnd.MessageBox(text, MB_ICONEXCLAMATION);
    if (m_nLastCtrl != 0)
        m_wnd.GotoDlgCtrl(m_nLastCtrl);
}

std::string FillPlaceholders(const std::string& text, const std::vector<std::string>& args)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            size_t k = static_cast<size_t>(text[i + 1] - '1');
            if (k < args.size()) {
                out += args[k];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

namespace {

// White space as the "C" locale has it, whatever the process locale.
bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool ParseLong(const std::string& text, long long& value, bool allowSign)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (allowSign && i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    size_t digitsStart = i;
    long long v = 0;
    while (i < text.size() && (text[i] >= '0' && text[i] <= '9')) {
        v = v * 10 + (text[i] - '0');
        if (v > 0xffffffffLL)
            return false;
        ++i;
    }
    if (i == digitsStart)
        return false;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return false;
    value = negative ? -v : v;
    return true;
}

}  // namespace

bool ParseInt(const std::string& text, int& value)
{
    long long v = 0;
    if (!ParseLong(text, v, true) || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool ParseUInt(const std::string& text, unsigned& value)
{
    long long v = 0;
    if (!ParseLong(text, v, false) || v > UINT_MAX)
        return false;
    value = static_cast<unsigned>(v);
    return true;
}

void DDX_Text(CDataExchange& dx, int id, int& value)
{
    if (dx.m_bFailed)
        return;
    dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate) {
        if (!ParseInt(dx.m_wnd.GetDlgItemText(id), value))
            dx.Fail(kMsgParseInt);
    } else {
        dx.m_wnd.SetDlgItemText(id, FormatText("%d", value));
    }
}

void DDX_Text(CDataExchange& dx, int id, unsigned& value)
{
    if (dx.m_bFailed)
        return;
    dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate) {
        if (!ParseUInt(dx.m_wnd.GetDlgItemText(id), value))
            dx.Fail(kMsgParseUInt);
    } else {
        dx.m_wnd.SetDlgItemText(id, std::to_string(value));
    }
}

void DDX_Text(CDataExchange& dx, int id, std::string& value)
{
    if (dx.m_bFailed)
        return;
    dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = dx.m_wnd.GetDlgItemText(id);
    else
        dx.m_wnd.SetDlgItemText(id, value);
}

void DDX_CBIndex(CDataExchange& dx, int id, int& index)
{
    if (dx.m_bFailed)
        return;
    dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        index = dx.m_wnd.GetCurSel(id);
    else
        dx.m_wnd.SetCurSel(id, index);
}

void DDX_Check(CDataExchange& dx, int id, int& state)
{
    if (dx.m_bFailed)
        return;
    dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        state = dx.m_wnd.IsDlgButtonChecked(id);
    else
        dx.m_wnd.CheckDlgButton(id, state);
}

void DDX_Radio(CDataExchange& dx, int firstId, int& value)
{
    if (dx.m_bFailed)
        return;
    dx.PrepareCtrl(firstId);
    const DialogTemplate* tmpl = dx.m_wnd.GetTemplate();
    std::vector<int> group = tmpl ? tmpl->RadioGroup(firstId) : std::vector<int>{firstId};
    if (dx.m_bSaveAndValidate) {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i)
            if (dx.m_wnd.IsDlgButtonChecked(group[i])) {
                value = static_cast<int>(i);
                break;
            }
    } else {
        for (size_t i = 0; i < group.size(); ++i)
            dx.m_wnd.CheckDlgButton(group[i], static_cast<int>(i) == value ? 1 : 0);
    }
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minValue, int maxValue)
{
    if (dx.m_bFailed || !dx.m_bSaveAndValidate)
        return;
    if (value < minValue || value > maxValue)
        dx.Fail(FillPlaceholders(kMsgIntRange, {std::to_string(minValue), std::to_string(maxValue)}));
}

void DDV_MaxChars(CDataExchange& dx, const std::string& value, int maxChars)
{
    if (dx.m_bFailed)
        return;
    if (dx.m_bSaveAndValidate) {
        if (static_cast<int>(value.size()) > maxChars)
            dx.Fail(FillPlaceholders(kMsgMaxChars, {std::to_string(maxChars)}));
    } else if (dx.m_nLastCtrl != 0) {
        dx.m_wnd.LimitText(dx.m_nLastCtrl, maxChars);
    }
}
