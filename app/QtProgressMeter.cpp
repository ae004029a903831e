#include "app/QtProgressMeter.h"

#include <QApplication>

QtProgressMeter::QtProgressMeter(QWidget* owner, const QString& caption, int delayMs, std::function<void()> onEnd)
    : m_dialog(new QProgressDialog(owner)), m_nDelayMs(delayMs), m_onEnd(std::move(onEnd))
{
    m_dialog->setWindowTitle(caption);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    // A busy indicator: how many designs a search needs is not known ahead.
    m_dialog->setRange(0, 0);
    // Shown by Update only; reset stops the timer with which
    // QProgressDialog would show itself.
    m_dialog->reset();
    m_clock.start();
}

QtProgressMeter::~QtProgressMeter()
{
    if (m_bArrowCursor)
        QApplication::restoreOverrideCursor();
    delete m_dialog.data();
    if (m_onEnd)
        m_onEnd();
}

bool QtProgressMeter::Update(const std::string& text)
{
    if (m_bCancelled || !m_dialog)
        return false;
    m_dialog->setLabelText(QString::fromStdString(text));
    if (!m_bShown && m_clock.elapsed() >= m_nDelayMs) {
        m_bShown = true;
        // The wait cursor of the running command would hide that Cancel
        // can be pressed.
        if (QApplication::overrideCursor()) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
            m_bArrowCursor = true;
        }
        m_dialog->setMinimumWidth(m_dialog->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('0'))));
        m_dialog->show();
    }
    if (m_bShown) {
        QApplication::processEvents();
        if (!m_dialog || m_dialog->wasCanceled() || !m_dialog->isVisible())
            m_bCancelled = true;
    }
    return !m_bCancelled;
}
