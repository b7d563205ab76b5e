#pragma once
// The ways a report leaves the page: the printer the user picks, a print
// preview, or a PDF file. All draw through the one function given, so paper
// and file never differ. Each returns true when the report went out.
#include <QSize>
#include <QString>
#include <functional>

class QPainter;
class QWidget;

using ReportDrawer = std::function<void(QPainter&, QSize pixels)>;

bool PrintReport(QWidget* parent, const ReportDrawer& draw);
// True when the user printed from the preview.
bool PreviewReport(QWidget* parent, const ReportDrawer& draw);
// A file that cannot be written is reported.
bool SaveReportPdf(QWidget* parent, const ReportDrawer& draw);
