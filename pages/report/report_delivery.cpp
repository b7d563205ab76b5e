#include "pages/report/report_delivery.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrinter>

#include "app/kit/prompts.h"

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
    RestoreReportResolution(printer);
    return DrawReport(printer, draw);
}

bool PreviewReport(QWidget* parent, const ReportDrawer& draw) {
    QPrinter printer(QPrinter::HighResolution);
    PrepareReportPrinter(printer);
    bool drawn = true;
    const bool printed =
        ThePrompts().PreviewPrint(parent, printer, [&](QPrinter& device) { drawn = DrawReport(device, draw); });
    return printed && drawn;
}

bool SaveReportPdf(QWidget* parent, const ReportDrawer& draw) {
    const std::optional<QString> path = ThePrompts().AskPdfPath(parent, QString(kReportDocumentName) + ".pdf");
    if (!path) return false;
    QPdfWriter writer(*path);
    PrepareReportPdf(writer);
    writer.setCreator(kProgramTitle);
    const bool written = DrawReport(writer, draw);
    if (!written) Tell(parent, "The report could not be written to " + QDir::toNativeSeparators(*path) + ".");
    return written;
}
