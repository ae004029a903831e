#include "app/ReportPrinter.h"

#include <QAction>
#include <QFontDatabase>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <iostream>

#include "app/CMainFrame.h"
#include "app/CZantroApp.h"
#include "app/PrintRequest.h"
#include "app/QtDrawContext.h"
#include "form/CZantroView.h"
#include "platform/CPrintInfo.h"
#include "platform/DataExchange.h"
#include "plot/ReportText.h"

namespace {

constexpr const char* kMsgNoPrinter =
    "No printer is installed, so the design report cannot be printed. Install a printer, or write the "
    "report into a PDF file: zantro /pt design.fir report.pdf";
constexpr const char* kMsgUnknownPrinter = "The printer \"%1\" is not installed.";
constexpr const char* kMsgPrinterFailed = "The printer \"%1\" could not be started.";
constexpr const char* kMsgPdfFailed = "The report could not be written to \"%1\".";

// The report's text face, or a metric-compatible one where it is missing, so
// the columns of the band table keep their widths.
QString ReportFamily()
{
    const QStringList installed = QFontDatabase::families();
    for (const char* face : {kReportFontFace, kReportFontFallback})
        if (installed.contains(QLatin1String(face), Qt::CaseInsensitive))
            return QLatin1String(face);
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

// The drawing context of a printed page: the platform's, with the report
// face resolved to a fixed-pitch family.
class ReportDrawContext : public QtDrawContext {
public:
    ReportDrawContext(QPainter& painter, int dpi, QSize size) : QtDrawContext(painter, dpi, size), m_painter(painter) {}

    Font SelectFont(const Font& font) override
    {
        const Font previous = QtDrawContext::SelectFont(font);
        if (font.face == kReportFontFace) {
            QFont f = m_painter.font();
            f.setFamily(ReportFamily());
            f.setFixedPitch(true);
            m_painter.setFont(f);
        }
        return previous;
    }

private:
    QPainter& m_painter;
};

QString PrinterName(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : printer.printerName();
}

}  // namespace

ReportPrinter::ReportPrinter()
{
    m_showMessage = [](CZantroApp& app, const std::string& text, bool commandLine) {
        if (commandLine || QtHost::IsHeadless())
            std::cerr << text << '\n';
        if (!QtHost::IsHeadless())
            app.m_host.MessageBox(app.m_view, text, MB_OK | MB_ICONEXCLAMATION);
    };
}

ReportPrinter::~ReportPrinter() = default;

std::shared_ptr<ReportPrinter> ReportPrinter::Install(CZantroApp& app)
{
    auto printer = std::make_shared<ReportPrinter>();
    app.m_printHandler = [printer](CZantroApp& a, const PrintRequest& request) { return printer->Print(a, request); };
    return printer;
}

QPrinter& ReportPrinter::Printer()
{
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_pPrinter;
}

QWidget* ReportPrinter::ParentOf(CZantroApp& app)
{
    return app.MainFrame();
}

bool ReportPrinter::IsPdfFileName(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".pdf";
}

int ReportPrinter::ViewModeForPages(int pages)
{
    // The report has at most two pages, and the overview puts two side by
    // side in one row; the facing-pages view would start with page 1 alone.
    return pages >= 2 ? QPrintPreviewWidget::AllPagesView : QPrintPreviewWidget::SinglePageView;
}

int ReportPrinter::PagesForViewMode(int viewMode)
{
    return viewMode == QPrintPreviewWidget::SinglePageView ? 1 : 2;
}

bool ReportPrinter::Print(CZantroApp& app, const PrintRequest& request)
{
    switch (request.kind) {
    case PrintRequest::Dialog:
        return OnFilePrint(app);
    case PrintRequest::Direct:
        return PrintDirect(app);
    case PrintRequest::PrintTo:
        return PrintTo(app, request.printer);
    case PrintRequest::Preview:
        return OnFilePrintPreview(app);
    case PrintRequest::Setup:
        return OnFilePrintSetup(app);
    }
    return false;
}

bool ReportPrinter::PrintPages(CZantroView& view, QPrinter& printer, int first, int last)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The drawing rectangle is the printable area, in device pixels, with
    // its top left corner at the painter's origin.
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    CPrintInfo info;
    view.OnPreparePrinting(info);
    info.m_rectDraw = {0, 0, area.width(), area.height()};
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        painter.save();
        painter.resetTransform();
        ReportDrawContext dc(painter, printer.resolution(), area.size());
        info.m_nCurPage = page;
        view.OnPrint(dc, info);
        painter.restore();
    }
    return painter.end();
}

bool ReportPrinter::PrintAll(CZantroApp& app, QPrinter& printer, const std::string& failure, bool commandLine)
{
    CPrintInfo info;
    if (!app.m_view.OnPreparePrinting(info))
        return false;
    if (!PrintPages(app.m_view, printer, info.GetMinPage(), info.GetMaxPage())) {
        m_showMessage(app, FillPlaceholders(failure, {PrinterName(printer).toStdString()}), commandLine);
        return false;
    }
    return true;
}

bool ReportPrinter::OnFilePrint(CZantroApp& app)
{
    CPrintInfo info;
    if (!app.m_view.OnPreparePrinting(info))
        return false;
    QPrinter& printer = Printer();
    // Without any printer the dialog still offers to print into a PDF file.
    QPrintDialog dialog(&printer, ParentOf(app));
    dialog.setWindowTitle(QStringLiteral("Print"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, info.GetMaxPage() > info.GetMinPage());
    dialog.setMinMax(info.GetMinPage(), info.GetMaxPage());
    dialog.setFromTo(info.GetMinPage(), info.GetMaxPage());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    int first = info.GetMinPage(), last = info.GetMaxPage();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    if (first > last)
        return false;
    const char* failure = printer.outputFormat() == QPrinter::PdfFormat ? kMsgPdfFailed : kMsgPrinterFailed;
    if (!PrintPages(app.m_view, printer, first, last)) {
        m_showMessage(app, FillPlaceholders(failure, {PrinterName(printer).toStdString()}), false);
        return false;
    }
    return true;
}

bool ReportPrinter::OnFilePrintPreview(CZantroApp& app)
{
    CPrintInfo info;
    if (!app.m_view.OnPreparePrinting(info))
        return false;
    QPrintPreviewDialog dialog(&Printer(), ParentOf(app));
    dialog.setWindowTitle(QStringLiteral("Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&app, &info](QPrinter* printer) {
        PrintPages(app.m_view, *printer, info.GetMinPage(), info.GetMaxPage());
    });
    // The mode is chosen through the dialog's own toolbar action once the
    // dialog is up, so that its buttons show the mode and the pages are
    // fitted to the window as it is shown (before, the fit is made for a
    // window of no size).
    const char* modeAction = ViewModeForPages(app.m_nNumPreviewPages) == QPrintPreviewWidget::AllPagesView
                                 ? "overviewModeAction"
                                 : "singleModeAction";
    QTimer::singleShot(0, &dialog, [&dialog, modeAction]() {
        if (QAction* action = dialog.findChild<QAction*>(QLatin1String(modeAction)))
            action->trigger();
    });
    QPrintPreviewWidget* preview = dialog.findChild<QPrintPreviewWidget*>();
    // The preview takes the main window's place, as large as it is.
    if (QWidget* parent = ParentOf(app))
        dialog.resize(parent->size().expandedTo(QSize(800, 600)));
    dialog.exec();
    if (preview) {
        app.m_nNumPreviewPages = PagesForViewMode(preview->viewMode());
        app.SaveSettings();
    }
    return true;
}

bool ReportPrinter::OnFilePrintSetup(CZantroApp& app)
{
    QPageSetupDialog dialog(&Printer(), ParentOf(app));
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    return dialog.exec() == QDialog::Accepted;
}

bool ReportPrinter::PrintDirect(CZantroApp& app)
{
    QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        if (printers.isEmpty()) {
            m_showMessage(app, kMsgNoPrinter, true);
            return false;
        }
        target = printers.front();
    }
    QPrinter printer(target, QPrinter::HighResolution);
    return PrintAll(app, printer, kMsgPrinterFailed, true);
}

bool ReportPrinter::PrintTo(CZantroApp& app, const std::string& name)
{
    if (IsPdfFileName(name)) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(name));
        printer.setDocName(QString::fromStdString(app.m_doc.GetTitle()));
        return PrintAll(app, printer, kMsgPdfFailed, true);
    }
    const QPrinterInfo target = QPrinterInfo::printerInfo(QString::fromStdString(name));
    if (target.isNull()) {
        if (QPrinterInfo::availablePrinters().isEmpty())
            m_showMessage(app, kMsgNoPrinter, true);
        else
            m_showMessage(app, FillPlaceholders(kMsgUnknownPrinter, {name}), true);
        return false;
    }
    QPrinter printer(target, QPrinter::HighResolution);
    return PrintAll(app, printer, kMsgPrinterFailed, true);
}
