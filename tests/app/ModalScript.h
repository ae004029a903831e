#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <ostream>

class QMessageBox;
class QWidget;

// Answers the modal windows a test provokes, in order: each handler gets the
// next window that becomes modal (a message box or a dialog), looks at it
// and closes it. A window no handler is left for is recorded and closed, so
// a test that meets an unexpected message fails instead of hanging.
class ModalScript : public QObject {
public:
    using Handler = std::function<void(QWidget* modal)>;

    ModalScript();
    ~ModalScript() override;

    void Expect(Handler handler) { m_handlers.push_back(std::move(handler)); }
    // A message box: its text, icon and title are recorded, then the button
    // with this role (QMessageBox::StandardButton) is clicked.
    void ExpectMessage(int button = 0x00000400 /* QMessageBox::Ok */);

    // A progress dialog is no answer in the order above: it is left to run
    // unless a handler is set here, which gets the next one shown.
    void ExpectProgress(Handler handler) { m_progressHandler = std::move(handler); }

    int Pending() const { return static_cast<int>(m_handlers.size()) + (m_progressHandler ? 1 : 0); }
    // Texts of the message boxes and titles of the dialogs seen, in order.
    const QStringList& Seen() const { return m_seen; }
    const QStringList& Unexpected() const { return m_unexpected; }
    int LastIcon() const { return m_nLastIcon; }
    QString LastTitle() const { return m_strLastTitle; }
    QStringList LastButtons() const { return m_lastButtons; }

    // Text of a message box, or the title of another window.
    static QString Describe(QWidget* modal);

private:
    void Poll();

    QTimer m_timer;
    std::deque<Handler> m_handlers;
    Handler m_progressHandler;
    QStringList m_seen;
    QStringList m_unexpected;
    int m_nLastIcon = 0;
    QString m_strLastTitle;
    QStringList m_lastButtons;
};

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '{' << list.join(QStringLiteral(", ")).toStdString() << '}';
}
