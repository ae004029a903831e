#include "app/HelpViewer.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/ToolbarIcons.h"

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent, Qt::Window)
{
    InitZantroResources();
    setWindowTitle(QStringLiteral("Zantro Help"));
    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pBrowser);
    resize(640, 720);
}

void HelpViewer::ShowTopic(const QString& anchor)
{
    QUrl url(QStringLiteral("qrc:/help/guide.html"));
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    m_pBrowser->setSource(url);
    show();
    raise();
    activateWindow();
}
