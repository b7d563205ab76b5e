#pragma once
// The printed report's paper: letter size at 300 units per inch, one page.
// Printer, preview and PDF all draw through DrawReport, so paper and file
// never differ.
#include <QSize>
#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;

using ReportDrawer = std::function<void(QPainter&, QSize pixels)>;

inline constexpr const char* kReportDocumentName = "Kinevo Report";

// Resolution, document name and page size.
void PrepareReportPrinter(QPrinter& printer);
// After a print dialog, which may have chosen a printer of another
// resolution: the report's resolution and name again, the paper kept.
void RestoreReportResolution(QPrinter& printer);
void PrepareReportPdf(QPdfWriter& writer);
// Begins, draws one page at the device's size and ends; false when the
// document could not be started or finished (a printer's job is aborted).
bool DrawReport(QPagedPaintDevice& device, const ReportDrawer& draw);
