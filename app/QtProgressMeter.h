#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <functional>
#include <string>

#include "platform/Host.h"

// A task's progress in a busy-indicator dialog with a Cancel button. The
// dialog appears once the task has run for delayMs and is modal to the
// whole program from then on; while it is up, each Update lets the program
// repaint and hear the Cancel button. Before it appears nothing but the
// task runs, so no window can be closed or used under it.
class QtProgressMeter : public ProgressMeter {
public:
    // owner: the window the dialog is centred on (may be null); onEnd runs
    // when the meter goes.
    QtProgressMeter(QWidget* owner, const QString& caption, int delayMs, std::function<void()> onEnd);
    ~QtProgressMeter() override;
    QtProgressMeter(const QtProgressMeter&) = delete;
    QtProgressMeter& operator=(const QtProgressMeter&) = delete;

    bool Update(const std::string& text) override;
    // Cancels as the Cancel button does (the main window being closed).
    void Cancel() { m_bCancelled = true; }
    bool IsShown() const { return m_bShown; }

private:
    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_clock;
    int m_nDelayMs;
    std::function<void()> m_onEnd;
    bool m_bShown = false;
    bool m_bCancelled = false;
    bool m_bArrowCursor = false;
};
