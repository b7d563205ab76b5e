#include "pages/report_output.h"

#include <QDir>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "app/kit/prompts.h"

namespace {
constexpr int kReportDpi = 300;
constexpr const char* kReportDocumentName = "Kinevo Report";

void PrepareReportPrinter(QPrinter& printer) {
    printer.setResolution(kReportDpi);
    printer.setDocName(kReportDocumentName);
    printer.setPageSize(QPageSize(QPageSize::Letter));
}

// One page; false when the document could not be started or finished.
bool DrawOn(QPrinter& printer, const ReportDrawer& draw) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    draw(painter, QSize(printer.width(), printer.height()));
    if (painter.end()) return true;
    printer.abort();
    return false;
}
}  // namespace

bool PrintReport(QWidget* parent, const ReportDrawer& draw) {
    QPrinter printer(QPrinter::HighResolution);
    PrepareReportPrinter(printer);
    if (!ThePrompts().SetUpPrinter(parent, printer)) {
        Tell(parent, "Print Task canceled.");
        return false;
    }
    if (!printer.isValid()) {
        Tell(parent, "Printer details could not be retrieved.");
        return false;
    }
    // The dialog may have chosen a printer of another resolution.
    printer.setResolution(kReportDpi);
    printer.setDocName(kReportDocumentName);
    return DrawOn(printer, draw);
}

bool PreviewReport(QWidget* parent, const ReportDrawer& draw) {
    QPrinter printer(QPrinter::HighResolution);
    PrepareReportPrinter(printer);
    bool drawn = true;
    const bool printed =
        ThePrompts().PreviewPrint(parent, printer, [&](QPrinter& device) { drawn = DrawOn(device, draw); });
    return printed && drawn;
}

bool SaveReportPdf(QWidget* parent, const ReportDrawer& draw) {
    const std::optional<QString> path = ThePrompts().AskPdfPath(parent, QString(kReportDocumentName) + ".pdf");
    if (!path) return false;
    QPdfWriter writer(*path);
    writer.setResolution(kReportDpi);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(kReportDocumentName);
    writer.setCreator(kProgramTitle);
    QPainter painter;
    bool written = painter.begin(&writer);
    if (written) {
        draw(painter, QSize(writer.width(), writer.height()));
        written = painter.end();
    }
    if (!written) Tell(parent, "The report could not be written to " + QDir::toNativeSeparators(*path) + ".");
    return written;
}
