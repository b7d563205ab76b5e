#pragma once
// The ways a report leaves the page: the printer the user picks, a print
// preview, or a PDF file, each asked for through the prompts. Each returns
// true when the report went out.
#include "output/report_output.h"

class QWidget;

bool PrintReport(QWidget* parent, const ReportSheets& sheets);
// True when the user printed from the preview.
bool PreviewReport(QWidget* parent, const ReportSheets& sheets);
// A file that cannot be written is reported.
bool SaveReportPdf(QWidget* parent, const ReportSheets& sheets);
