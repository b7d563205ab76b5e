#pragma once
// The two pictures the printed report plays back for a fitted set: the
// serum level table (population and the fitted column) and one graph panel
// with the population and the fitted curve. Both are recorded in report
// units (the 2550 x 3300 grid of a letter page at 300 units per inch).
#include <QPicture>

struct ReportPictures {
    QPicture levelTable;
    QPicture graph;
};
