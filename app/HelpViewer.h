#pragma once

#include <QDialog>

class QTextBrowser;

// The user guide: how to make a design, the design methods, the windows
// and the export formats, in a window beside the main frame.
class HelpViewer : public QDialog {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent);

    // Shows the guide at its contents, or at the section anchor.
    void ShowTopic(const QString& anchor = QString());
    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    QTextBrowser* m_pBrowser;
};
