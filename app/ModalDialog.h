#pragma once

#include <QDialog>

class CDialog;
class QtHost;

// The window of a modal run of a core dialog. Escape and the close box act
// as the Cancel button; the run ends when the dialog calls EndDialog.
class ModalDialog : public QDialog {
    Q_OBJECT

public:
    ModalDialog(QtHost& host, CDialog& dialog, QWidget* parent);

    void reject() override;

private:
    QtHost& m_host;
    CDialog& m_dialog;
};
