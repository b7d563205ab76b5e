#pragma once
// The one-page report, drawn the same way on the printer, into a PDF and in
// the print preview.
#include <QSize>

#include "output/report_content.h"
#include "output/report_pictures.h"

class QPainter;
class ReportGrid;

// `pixels`: the page's size on the device. `pictures`, when given, are
// played back at the top of a fitted report that prints its graphics.
void DrawReport(QPainter& painter, QSize pixels, const ReportContent& content, const ReportPictures* pictures);

// The parameter block from its title at `titleTop` (report units).
void DrawParameterBlock(const ReportGrid& grid, const ReportContent& content, int titleTop);
