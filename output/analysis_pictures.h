#pragma once
// The report's two pictures of a fitted set, drawn afresh from the record.
#include "output/report_pictures.h"

struct Posterior;

struct CaseRecord;

// In report units: the level table in x 100-1100 from y 50 (title, headings,
// at most 10 rows, 50 units a line), the graph panel in x 1200-2450,
// y 50-1600. `fitMethod` is kLeastSquares or kBayesian. The level
// predictions are filled afresh in the record. The Bayesian graph shades
// the credible band of `posterior`, when there is one.
ReportPictures RecordReportPictures(CaseRecord& r, int fitMethod, const Posterior* posterior);
