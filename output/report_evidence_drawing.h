#pragma once
// The report's second page: the evidence behind the recommendation, drawn
// on the same report grid as the first page.
#include <QSize>

#include "output/report_content.h"
#include "output/report_evidence.h"

class QPainter;

// Tables longer than this end with a line saying how many rows are left out.
inline constexpr int kEvidenceTableRows = 12;

// `content` gives the heading lines: the drug, the patient, the date.
void DrawEvidencePage(QPainter& painter, QSize pixels, const ReportContent& content, const ReportEvidence& evidence);
