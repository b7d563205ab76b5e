#include "output/report_output.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace {
constexpr int kReportDpi = 300;
}  // namespace

void RestoreReportResolution(QPrinter& printer) {
    printer.setResolution(kReportDpi);
    printer.setDocName(kReportDocumentName);
}

void PrepareReportPrinter(QPrinter& printer) {
    RestoreReportResolution(printer);
    printer.setPageSize(QPageSize(QPageSize::Letter));
}

void PrepareReportPdf(QPdfWriter& writer) {
    writer.setResolution(kReportDpi);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(kReportDocumentName);
}

bool DrawReport(QPagedPaintDevice& device, const ReportSheets& sheets) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    bool drawn = true;
    for (std::size_t i = 0; i < sheets.size() && drawn; ++i) {
        drawn = i == 0 || device.newPage();
        if (drawn) sheets[i](painter, QSize(device.width(), device.height()));
    }
    if (painter.end() && drawn) return true;
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->abort();
    return false;
}
