#pragma once
// The printed report's paper: letter size at 300 units per inch, a page per
// sheet. Printer, preview and PDF all draw through DrawReport, so paper and
// file never differ.
#include <QSize>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;
class QPrinter;

// Draws one sheet of the report.
using ReportDrawer = std::function<void(QPainter&, QSize pixels)>;
using ReportSheets = std::vector<ReportDrawer>;

inline constexpr const char* kReportDocumentName = "Kinevo Report";

// Resolution, document name and page size.
void PrepareReportPrinter(QPrinter& printer);
// After a print dialog, which may have chosen a printer of another
// resolution: the report's resolution and name again, the paper kept.
void RestoreReportResolution(QPrinter& printer);
void PrepareReportPdf(QPdfWriter& writer);
// Begins, draws each sheet on a page of its own at the device's size and
// ends; false when the document could not be started, a page not added or
// the document not finished (a printer's job is aborted).
bool DrawReport(QPagedPaintDevice& device, const ReportSheets& sheets);
