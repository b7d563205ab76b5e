#pragma once
// One concentration-time panel of the analysis graph: both axes with their
// ticks, the therapeutic range, the population curve and one fitted curve,
// the measured levels and the prediction times, the Bayesian curve's
// credible band shaded under them, and the legend. The page and
// the report's recorded picture draw it with the same routine; every size
// follows the target rectangle, so screen pixels and report units both work.
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "engine/curves.h"

class QPainter;
struct CaseRecord;

struct PanelCurve {
    std::vector<std::optional<double>> values;  // at GraphPanel::times; empty: no curve
    QColor colour;
    QString legend;
};

struct GraphPanel {
    QString title;      // above the panel
    QString axisTitle;  // beside the concentration axis; may be empty
    QString concUnit;
    TimeAxis time;
    ConcAxis conc;
    std::vector<double> times;
    PanelCurve population, fitted;
    CurveBand band;               // shaded under the curves; the Bayesian panel's credible band
    std::vector<QPointF> levels;  // measured: hours, concentration
    std::vector<double> predictionTimes;
    std::optional<double> therapeuticMin, therapeuticMax;
};

// The panel of the population and the fitted set of `fitMethod` (kBayesian:
// "Bayes vs. Population", blue; kLeastSquares: "Least Squares vs. Pop.",
// green) from the record's history and computed curves.
GraphPanel PanelOf(const CaseRecord& r, const AnalysisCurves& curves, int fitMethod);
// The least-squares panel is drawn beside the Bayesian one only with two or
// more measured levels, and never for phenytoin.
bool ShowsLeastSquaresPanel(const CaseRecord& r);

void DrawGraphPanel(QPainter& painter, const QRectF& target, const GraphPanel& panel);
// Where a time (h) and a concentration fall in a panel drawn in `target`.
QPointF PlotPoint(const QRectF& target, const GraphPanel& panel, double hours, double conc);
