#pragma once

#include <functional>
#include <memory>
#include <string>

class CZantroApp;
class CZantroView;
class QPrinter;
class QWidget;
struct PrintRequest;

// The design report on Qt's printing: File > Print through the print
// dialog, Print Preview with the number of pages side by side kept in the
// application's settings, Print Setup, and the command line's "/p" (the
// default printer) and "/pt" (a named printer; a name ending in ".pdf"
// writes the report into that PDF file). The printer chosen in the dialogs
// is kept for the next job. The form draws the pages (OnPreparePrinting,
// OnPrint); this class runs the dialogs and the page loop.
class ReportPrinter {
public:
    ReportPrinter();
    ~ReportPrinter();
    ReportPrinter(const ReportPrinter&) = delete;
    ReportPrinter& operator=(const ReportPrinter&) = delete;

    // Makes a shared ReportPrinter the app's print handler; returns it.
    static std::shared_ptr<ReportPrinter> Install(CZantroApp& app);

    // Carries out one print command. False when nothing was printed:
    // cancelled, no printer, or the printer or file could not be started.
    bool Print(CZantroApp& app, const PrintRequest& request);

    // Draws pages first..last (1-based, within the report's page range) of
    // the view's report onto printer, one printer page each. False when the
    // printer could not be started.
    static bool PrintPages(CZantroView& view, QPrinter& printer, int first, int last);

    // True for a printer name that stands for a PDF file ("report.pdf", any case).
    static bool IsPdfFileName(const std::string& name);

    // Preview pages side by side (the "PreviewPages" setting) to the preview's
    // view mode and back; 0 (never set) shows one page.
    static int ViewModeForPages(int pages);
    static int PagesForViewMode(int viewMode);

    // Tells the user why nothing was printed. The default writes the text to
    // stderr for the command line's prints and shows it in a message box
    // where there is a screen to show it on.
    std::function<void(CZantroApp& app, const std::string& text, bool commandLine)> m_showMessage;

    // The printer of the dialogs (made on first use).
    QPrinter& Printer();

private:
    bool OnFilePrint(CZantroApp& app);
    bool OnFilePrintPreview(CZantroApp& app);
    bool OnFilePrintSetup(CZantroApp& app);
    bool PrintDirect(CZantroApp& app);
    bool PrintTo(CZantroApp& app, const std::string& name);
    // Prints the whole report on printer without a dialog.
    bool PrintAll(CZantroApp& app, QPrinter& printer, const std::string& failure, bool commandLine);
    static QWidget* ParentOf(CZantroApp& app);

    std::unique_ptr<QPrinter> m_pPrinter;
};
