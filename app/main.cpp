#include <QApplication>
#include <QStyleFactory>
#include <clocale>
#include <string>
#include <vector>

#include "app/CZantroApp.h"
#include "app/DialogUnits.h"
#include "app/ReportPrinter.h"
#include "app/ToolbarIcons.h"

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    // Qt takes the number format from the user's locale; the design texts
    // ("0.50", "%2.2f") are read and written with a decimal point everywhere.
    std::setlocale(LC_NUMERIC, "C");
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    QApplication::setWindowIcon(ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("zantro"));
    // Menus, the status bar and message boxes use the dialogs' font.
    QApplication::setFont(DialogUnits(QStringLiteral("MS Sans Serif"), 8, DialogUnits::ScreenDpi()).GetFont());

    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        args.push_back(arguments[i].toStdString());

    CZantroApp app;
    ReportPrinter::Install(app);
    if (!app.InitInstance(args))
        return app.StartupStatus();
    const int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
