#include "output/analysis_pictures.h"

#include <QPainter>

#include "engine/analysis_fits.h"
#include "engine/curve_band.h"
#include "engine/curves.h"
#include "output/graph_panel.h"
#include "output/level_table_texts.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

namespace {
constexpr double kLine = 50;
// Below the report's patient rows (their rule is at y 475, or 525 for
// phenytoin) and above its parameter block at y 1650.
constexpr double kTableLeft = 100, kTableTop = 575;
// Left edges of " Date", " Time", "Actual", "Pop." and the fitted column;
// the last ends at x 1100.
constexpr double kColumns[] = {100, 290, 480, 680, 880, 1100};
const QRectF kGraph(1200, 550, 1250, 1050);

void Row(QPainter& painter, double y, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c)
        painter.drawText(QRectF(kColumns[c], y, kColumns[c + 1] - kColumns[c], kLine), Qt::AlignLeft | Qt::AlignVCenter,
                         cells[c]);
}

// Returns the bottom of the last row.
double DrawLevelTable(QPainter& painter, const CaseRecord& r, bool bayes) {
    QFont font = painter.font();
    font.setPixelSize(38);
    painter.setFont(font);
    painter.setPen(Qt::black);
    double y = kTableTop;
    painter.drawText(QRectF(kTableLeft, y, kColumns[5] - kTableLeft, kLine), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString("Serum Drug Concentrations (" + r.ConcUnit + ")"));
    y += kLine;
    const QStringList headings = {" Date", " Time", "Actual", "Pop.", bayes ? "Bayesian" : "Least Sq."};
    Row(painter, y, headings);
    y += kLine;
    QStringList rules;
    for (const QString& heading : headings) rules << QString(heading.size(), '-');
    Row(painter, y, rules);
    for (const LevelTableRow& row : LevelTableRows(r.history)) {
        y += kLine;
        Row(painter, y, {row.date, row.time, row.actual, row.population, bayes ? row.bayes : row.leastSquares});
    }
    return y + kLine;
}

QString DrugName(const CaseRecord& r) {
    return QString::fromStdString(r.Drug_ID == "zz" ? r.userDrug.drugName : DrugNameOf(r.Drug_ID));
}
}  // namespace

ReportPictures RecordReportPictures(CaseRecord& r, int fitMethod, const Posterior* posterior) {
    const bool bayes = fitMethod == kBayesian;
    FillLevelPredictions(r);
    AnalysisCurves curves = ComputeCurves(r);
    if (bayes) AddCurveBand(r, posterior, curves);
    ReportPictures pictures;
    double tableBottom = kTableTop;
    {
        QPainter painter(&pictures.levelTable);
        tableBottom = DrawLevelTable(painter, r, bayes);
    }
    // Text leaves a picture's bounds empty: they are set to the area drawn in.
    pictures.levelTable.setBoundingRect(
        QRectF(kTableLeft, kTableTop, kColumns[5] - kTableLeft, tableBottom - kTableTop).toRect());
    GraphPanel panel = PanelOf(r, curves, bayes ? kBayesian : kLeastSquares);
    panel.axisTitle = "Serum " + DrugName(r);
    {
        QPainter painter(&pictures.graph);
        DrawGraphPanel(painter, kGraph, panel);
    }
    pictures.graph.setBoundingRect(kGraph.toRect());
    return pictures;
}
