#include "ModalScript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <utility>

namespace {

const char* const kHandled = "modalScriptHandled";

}  // namespace

ModalScript::ModalScript()
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalScript::Poll);
    m_timer.start();
}

ModalScript::~ModalScript() = default;

QString ModalScript::Describe(QWidget* modal)
{
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        return box->text();
    return modal->windowTitle();
}

void ModalScript::ExpectMessage(int button)
{
    Expect([this, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            m_unexpected << QStringLiteral("not a message box: ") + modal->windowTitle();
            modal->close();
            return;
        }
        m_nLastIcon = box->icon();
        m_strLastTitle = box->windowTitle();
        m_lastButtons.clear();
        for (QAbstractButton* b : box->buttons())
            m_lastButtons << b->text();
        if (QAbstractButton* b = box->button(static_cast<QMessageBox::StandardButton>(button)))
            b->click();
        else
            box->reject();
    });
}

void ModalScript::Poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal->property(kHandled).toBool())
        return;
    if (qobject_cast<QProgressDialog*>(modal)) {
        if (!m_progressHandler)
            return;
        modal->setProperty(kHandled, true);
        m_seen << Describe(modal);
        QTimer::singleShot(0, modal, [modal, handler = std::exchange(m_progressHandler, {})]() { handler(modal); });
        return;
    }
    modal->setProperty(kHandled, true);
    m_seen << Describe(modal);
    if (m_handlers.empty()) {
        m_unexpected << Describe(modal);
        QTimer::singleShot(0, modal, [modal]() {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        });
        return;
    }
    Handler handler = std::move(m_handlers.front());
    m_handlers.pop_front();
    // Run outside this timer, so windows the handler opens are answered too.
    QTimer::singleShot(0, modal, [modal, handler]() { handler(modal); });
}
