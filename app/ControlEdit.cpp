#include "app/ControlEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QRegularExpression>

#include "platform/Host.h"

ControlEdit::ControlEdit(QWidget* parent) : QLineEdit(parent)
{
    setFrame(true);
}

bool ControlEdit::Offer(unsigned ch)
{
    return !(m_pFilter && m_pHost) || m_pFilter->OnChar(*m_pHost, ch);
}

void ControlEdit::TypeCharacter(QChar ch)
{
    if (!Offer(ch.unicode()))
        return;
    if (m_bDigitsOnly && !(ch >= QLatin1Char('0') && ch <= QLatin1Char('9')))
        return;
    if (m_nLimit > 0 && text().size() - selectedText().size() >= m_nLimit)
        return;
    insert(QString(ch));
}

void ControlEdit::PasteLimited()
{
    QString clip = QGuiApplication::clipboard()->text();
    int lineEnd = clip.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (lineEnd >= 0)
        clip.truncate(lineEnd);
    if (m_nLimit > 0) {
        const qsizetype room = m_nLimit - (text().size() - selectedText().size());
        clip.truncate(std::max<qsizetype>(0, room));
    }
    if (!clip.isEmpty())
        insert(clip);
}

void ControlEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        PasteLimited();
        return;
    }
    // The clipboard and undo keys are editing commands, not typed characters.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Undo) ||
        event->matches(QKeySequence::Redo)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        if (Offer(8))
            QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    bool printable = !typed.isEmpty();
    for (QChar ch : typed)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7f)
            printable = false;
    if (!printable) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    for (QChar ch : typed)
        TypeCharacter(ch);
    event->accept();
}

void ControlEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions())
        if (action->objectName() == QLatin1String("edit-paste")) {
            action->disconnect();
            connect(action, &QAction::triggered, this, &ControlEdit::PasteLimited);
        }
    menu->exec(event->globalPos());
    delete menu;
}

void ControlEdit::ShowStart()
{
    const int length = static_cast<int>(text().size());
    if (hasSelectedText() && selectionStart() == 0 && selectionLength() == length)
        setSelection(length, -length);
    else
        setCursorPosition(0);
}

void ControlEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A menu or another window takes the focus only for a while: Edit > Cut
    // and Copy act on the selection, which stays.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        setCursorPosition(0);
}
