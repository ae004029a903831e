#include "platform/ScriptedHost.h"

#include <cctype>
#include <utility>

#include "platform/CDialog.h"
#include "platform/DialogTemplate.h"

void ScriptedHost::QueueDialog(int templateId, std::vector<Action> actions)
{
    m_scripts.push_back({templateId, std::move(actions)});
}

ScriptedHost::Window& ScriptedHost::WindowOf(const CWnd& wnd) const
{
    return m_windows[&wnd];
}

ScriptedHost::Control& ScriptedHost::ControlOf(const CWnd& wnd, int id) const
{
    return WindowOf(wnd).controls[id];
}

void ScriptedHost::CreateControls(CWnd& wnd)
{
    Window& w = WindowOf(wnd);
    w.controls.clear();
    w.focus = 0;
    if (const DialogTemplate* t = wnd.GetTemplate())
        for (const auto& c : t->controls) {
            Control& ctl = w.controls[c.id];
            if (c.kind != ControlKind::DropDownList && c.kind != ControlKind::DropDownCombo)
                ctl.text = c.text;
        }
}

void ScriptedHost::DestroyControls(CWnd& wnd)
{
    m_windows.erase(&wnd);
}

std::vector<std::string> ScriptedHost::Entries(const CWnd& wnd, int id) const
{
    if (const DialogTemplate* t = wnd.GetTemplate())
        if (const ControlTemplate* c = t->Find(id))
            return c->items;
    return {};
}

std::string ScriptedHost::GetDlgItemText(const CWnd& wnd, int id) const
{
    return ControlOf(wnd, id).text;
}

void ScriptedHost::SetDlgItemText(CWnd& wnd, int id, const std::string& text)
{
    Control& c = ControlOf(wnd, id);
    c.text = text;
    c.selection = -1;
}

int ScriptedHost::GetCurSel(const CWnd& wnd, int id) const
{
    return ControlOf(wnd, id).selection;
}

void ScriptedHost::SetCurSel(CWnd& wnd, int id, int index)
{
    Control& c = ControlOf(wnd, id);
    std::vector<std::string> items = Entries(wnd, id);
    if (index >= 0 && index < static_cast<int>(items.size())) {
        c.selection = index;
        c.text = items[static_cast<size_t>(index)];
    } else {
        c.selection = -1;
        c.text.clear();
    }
}

int ScriptedHost::IsDlgButtonChecked(const CWnd& wnd, int id) const
{
    return ControlOf(wnd, id).check;
}

void ScriptedHost::CheckDlgButton(CWnd& wnd, int id, int state)
{
    ControlOf(wnd, id).check = state;
}

void ScriptedHost::LimitText(CWnd& wnd, int id, int maxChars)
{
    ControlOf(wnd, id).limit = maxChars;
}

void ScriptedHost::GotoDlgCtrl(CWnd& wnd, int id)
{
    WindowOf(wnd).focus = id;
}

void ScriptedHost::SetKeyFilter(CWnd& wnd, int id, KeyFilter* filter)
{
    ControlOf(wnd, id).filter = filter;
}

void ScriptedHost::TypeText(CWnd& wnd, int id, const std::string& text)
{
    const DialogTemplate* t = wnd.GetTemplate();
    const ControlTemplate* ct = t ? t->Find(id) : nullptr;
    bool digitsOnly = ct && (ct->style & StyleDigitsOnly);
    Control& c = ControlOf(wnd, id);
    std::string typed;
    for (char ch : text) {
        if (c.filter && !c.filter->OnChar(*this, static_cast<unsigned char>(ch)))
            continue;
        if (ch == '\b') {
            if (!typed.empty())
                typed.pop_back();
            continue;
        }
        if (digitsOnly && !std::isdigit(static_cast<unsigned char>(ch)))
            continue;
        if (c.limit > 0 && static_cast<int>(typed.size()) >= c.limit)
            continue;
        typed += ch;
    }
    c.text = typed;
    c.selection = -1;
}

int ScriptedHost::MessageBox(CWnd& owner, const std::string& text, unsigned type)
{
    const DialogTemplate* t = owner.GetTemplate();
    Message m{text, type, t ? t->id : 0};
    m_messages.push_back(m);
    if (onMessage)
        onMessage(m);
    return IDOK;
}

void ScriptedHost::MessageBeep(unsigned)
{
    ++m_nBeeps;
}

namespace {

std::vector<int> RadioGroupOf(const DialogTemplate& t, int id)
{
    std::vector<int> current;
    auto holds = [&](const std::vector<int>& g) {
        for (int gid : g)
            if (gid == id)
                return true;
        return false;
    };
    for (const auto& c : t.controls) {
        bool startsGroup = c.kind != ControlKind::RadioButton || (c.style & StyleGroup);
        if (startsGroup) {
            if (holds(current))
                return current;
            current.clear();
        }
        if (c.kind == ControlKind::RadioButton)
            current.push_back(c.id);
    }
    return holds(current) ? current : std::vector<int>{};
}

}  // namespace

void ScriptedHost::SelectEntry(CWnd& wnd, int id, int index)
{
    SetCurSel(wnd, id, index);
    wnd.OnSelChange(id);
}

void ScriptedHost::Click(CWnd& dlg, int id)
{
    const DialogTemplate* t = dlg.GetTemplate();
    const ControlTemplate* ct = t ? t->Find(id) : nullptr;
    if (ct && ct->kind == ControlKind::RadioButton) {
        // An automatic radio button checks itself and clears the rest of its group.
        for (int gid : RadioGroupOf(*t, id))
            CheckDlgButton(dlg, gid, gid == id ? 1 : 0);
    } else if (ct && ct->kind == ControlKind::CheckBox && (ct->style & StyleAuto)) {
        ControlOf(dlg, id).check ^= 1;
    }
    CDialog* modal = dynamic_cast<CDialog*>(&dlg);
    if (modal && id == IDOK)
        modal->OnOK();
    else if (modal && id == IDCANCEL)
        modal->OnCancel();
    else
        dlg.OnCommand(id);
}

int ScriptedHost::DoModal(CDialog& dlg)
{
    CreateControls(dlg);
    dlg.OnInitDialog();

    std::vector<Action> actions;
    const DialogTemplate* t = dlg.GetTemplate();
    int templateId = t ? t->id : 0;
    for (auto it = m_scripts.begin(); it != m_scripts.end(); ++it)
        if (it->templateId == templateId) {
            actions = std::move(it->actions);
            m_scripts.erase(it);
            break;
        }

    // A script that ends with a refused OK is not answered with a second OK,
    // which would only show the same message again.
    bool endsWithOk = false;
    for (const Action& a : actions) {
        if (dlg.IsEnded())
            break;
        switch (a.kind) {
        case Action::Type:
            TypeText(dlg, a.id, a.text);
            break;
        case Action::Select:
            SelectEntry(dlg, a.id, a.index);
            break;
        case Action::Click:
            Click(dlg, a.id);
            break;
        case Action::Ok:
            Click(dlg, IDOK);
            break;
        case Action::Cancel:
            Click(dlg, IDCANCEL);
            break;
        }
        endsWithOk = a.kind == Action::Ok || (a.kind == Action::Click && a.id == IDOK);
    }
    if (!dlg.IsEnded() && !endsWithOk)
        Click(dlg, IDOK);
    if (!dlg.IsEnded()) {
        ++m_nRefusedDialogs;
        dlg.OnCancel();
    }
    DestroyControls(dlg);
    return dlg.GetResult();
}

void ScriptedHost::RepaintNow(CWnd& wnd)
{
    ++WindowOf(wnd).repaints;
}

int ScriptedHost::Repaints(const CWnd& wnd) const
{
    auto it = m_windows.find(&wnd);
    return it == m_windows.end() ? 0 : it->second.repaints;
}

int ScriptedHost::FocusedControl(const CWnd& wnd) const
{
    auto it = m_windows.find(&wnd);
    return it == m_windows.end() ? 0 : it->second.focus;
}

int ScriptedHost::TextLimit(const CWnd& wnd, int id) const
{
    return ControlOf(wnd, id).limit;
}

bool ScriptedHost::GetOpenFileName(CWnd&, const FileDialogRequest& request, std::string& path)
{
    m_fileDialogs.push_back(request);
    if (m_openFiles.empty())
        return false;
    std::optional<std::string> answer = std::move(m_openFiles.front());
    m_openFiles.erase(m_openFiles.begin());
    if (!answer)
        return false;
    path = *answer;
    return true;
}

namespace {

// Records each text; the user presses Cancel at the update the host was told.
class ScriptedProgress : public ProgressMeter {
public:
    ScriptedProgress(std::vector<std::string>& texts, int cancelAfter) : m_texts(texts), m_nCancelAfter(cancelAfter) {}
    bool Update(const std::string& text) override
    {
        if (m_bCancelled)
            return false;
        if (m_nCancelAfter >= 0 && m_nUpdates >= m_nCancelAfter) {
            m_bCancelled = true;
            return false;
        }
        ++m_nUpdates;
        m_texts.push_back(text);
        return true;
    }

private:
    std::vector<std::string>& m_texts;
    int m_nCancelAfter;
    int m_nUpdates = 0;
    bool m_bCancelled = false;
};

}  // namespace

std::unique_ptr<ProgressMeter> ScriptedHost::BeginProgress(CWnd&, const std::string&)
{
    return std::make_unique<ScriptedProgress>(m_progressTexts, std::exchange(m_nCancelProgressAfter, -1));
}
