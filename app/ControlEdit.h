#pragma once

#include <QLineEdit>

class Host;
class KeyFilter;

// The edit control of a form or dialog. Typed characters pass, in order,
// the attached key filter (which may discard them), the digits-only style
// and the text limit; as on the windowing platform, the limit and the
// digits-only style bind typing only, so the program can still set any
// text, and pasted text is cut at the limit but not filtered.
class ControlEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit ControlEdit(QWidget* parent = nullptr);

    void SetDigitsOnly(bool digitsOnly) { m_bDigitsOnly = digitsOnly; }
    // Longest text that typing may produce, 0 for no limit.
    void SetTextLimit(int maxChars) { m_nLimit = maxChars; }
    int TextLimit() const { return m_nLimit; }
    void SetKeyFilter(Host* host, KeyFilter* filter)
    {
        m_pHost = host;
        m_pFilter = filter;
    }
    KeyFilter* GetKeyFilter() const { return m_pFilter; }

    // Pastes the first line of the clipboard, cut at the text limit.
    void PasteLimited();
    // Scrolls to the start of the text (a text wider than the field shows
    // its beginning); a whole-text selection stays, its cursor at the start.
    void ShowStart();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // A field left for another shows the start of its text again (Tab into
    // it selected the whole text and scrolled to its end).
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Passes one typed character through the filter, the style and the limit.
    void TypeCharacter(QChar ch);
    bool Offer(unsigned ch);

    bool m_bDigitsOnly = false;
    int m_nLimit = 0;
    Host* m_pHost = nullptr;
    KeyFilter* m_pFilter = nullptr;
};
