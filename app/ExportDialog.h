#pragma once

#include <QDialog>

#include "document/ExportProfile.h"

class CMainFrame;
class CZantroApp;
class CZantroView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSettings;
class QSpinBox;

// File > Export...: the target profile, the file root (any length, with a
// folder chooser), the word length and rounding where the profile takes
// them, the CMSIS block size and Helium padding, the FPGA filters' input
// and output bits and testbench, and a preview of the
// comment the files open with. Its choices are kept in the settings store
// (group "Export") and come back the next time.
class ExportDialog : public QDialog {
    Q_OBJECT

public:
    // view: the form whose design is exported (read when the dialog is made).
    ExportDialog(const CZantroView& view, QWidget* parent = nullptr);

    ExportOptions Options() const;
    void SetOptions(const ExportOptions& options);
    // The choices as the settings store keeps them; missing or unreadable
    // entries keep the defaults.
    static ExportOptions Load(QSettings& settings);
    static void Save(QSettings& settings, const ExportOptions& options);

    QComboBox* Profile() const { return m_pProfile; }
    QLineEdit* Root() const { return m_pRoot; }
    QSpinBox* WordLength() const { return m_pWordLength; }
    QComboBox* Rounding() const { return m_pRounding; }
    QSpinBox* BlockSize() const { return m_pBlockSize; }
    QCheckBox* Helium() const { return m_pHelium; }
    QSpinBox* InputBits() const { return m_pInputBits; }
    // Its lowest value, shown as "accumulator (exact)", stands for 0.
    QSpinBox* OutputBits() const { return m_pOutputBits; }
    QComboBox* Architecture() const { return m_pArchitecture; }
    QSpinBox* ClocksPerSample() const { return m_pClocks; }
    QCheckBox* Pipeline() const { return m_pPipeline; }
    QCheckBox* Stream() const { return m_pStream; }
    QCheckBox* Testbench() const { return m_pTestbench; }
    QPlainTextEdit* Preview() const { return m_pPreview; }
    QPushButton* Browse() const { return m_pBrowse; }

private:
    // Enables what the profile takes and renews the preview.
    void Update();
    void ChooseFolder();

    ExportDesign m_design;  // measured once, previewed on every change
    QComboBox* m_pProfile = nullptr;
    QLineEdit* m_pRoot = nullptr;
    QPushButton* m_pBrowse = nullptr;
    QSpinBox* m_pWordLength = nullptr;
    QComboBox* m_pRounding = nullptr;
    QSpinBox* m_pBlockSize = nullptr;
    QCheckBox* m_pHelium = nullptr;
    QSpinBox* m_pInputBits = nullptr;
    QSpinBox* m_pOutputBits = nullptr;
    QComboBox* m_pArchitecture = nullptr;
    QSpinBox* m_pClocks = nullptr;
    QCheckBox* m_pPipeline = nullptr;
    QCheckBox* m_pStream = nullptr;
    QCheckBox* m_pTestbench = nullptr;
    QLabel* m_pFiles = nullptr;
    QPlainTextEdit* m_pPreview = nullptr;
};

// The command: without a valid design the form's message, else the dialog;
// on OK the choices are saved and the files written through the host, and
// the status bar names what was written.
void RunExportCommand(CZantroApp& app, CMainFrame& frame);
