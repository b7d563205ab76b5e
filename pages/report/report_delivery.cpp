#include "pages/report/report_delivery.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrinter>

#include "app/kit/prompts.h"

bool PrintReport(QWidget* parent, const ReportSheets& sheets) {
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
    RestoreReportResolution(printer);
    return DrawReport(printer, sheets);
}

bool PreviewReport(QWidget* parent, const ReportSheets& sheets) {
    QPrinter printer(QPrinter::HighResolution);
    PrepareReportPrinter(printer);
    bool drawn = true;
    const bool printed =
        ThePrompts().PreviewPrint(parent, printer, [&](QPrinter& device) { drawn = DrawReport(device, sheets); });
    return printed && drawn;
}

bool SaveReportPdf(QWidget* parent, const ReportSheets& sheets) {
    const std::optional<QString> path = ThePrompts().AskPdfPath(parent, QString(kReportDocumentName) + ".pdf");
    if (!path) return false;
    QPdfWriter writer(*path);
    PrepareReportPdf(writer);
    writer.setCreator(kProgramTitle);
    const bool written = DrawReport(writer, sheets);
    if (!written) Tell(parent, "The report could not be written to " + QDir::toNativeSeparators(*path) + ".");
    return written;
}
