#include <QApplication>
#include <QSettings>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/DialogUnits.h"
#include "app/ToolbarIcons.h"

// The GUI tests run without a display and never touch the user's settings.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsDir;
    qputenv("XDG_CONFIG_HOME", settingsDir.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());

    QApplication app(argc, argv);
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    QApplication::setWindowIcon(ApplicationIcon());
    QApplication::setFont(DialogUnits(QStringLiteral("MS Sans Serif"), 8, 96).GetFont());

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
