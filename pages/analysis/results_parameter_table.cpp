#include "pages/analysis/results_parameter_table.h"

#include <QHeaderView>

#include "pages/analysis/analysis_tables.h"
#include "pages/fitting/fit_parameter_texts.h"
#include "records/case_record.h"

namespace {
// The distance to the lower bound as a spread either side.
std::string Spread(const std::string& range) { return range.empty() ? range : "+/ - " + range; }
}  // namespace

ResultsParameterTable::ResultsParameterTable(QWidget* parent) : QTableWidget(0, 5, parent) {
    setObjectName("parameters");
    setHorizontalHeaderLabels({"Population", "Least Squares", "+/- 1 SD", "Bayes", "+/- 1 SD"});
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // One line per row whatever the columns' widths: texts never wrap.
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ResultsParameterTable::ShowCase(const CaseRecord& r) {
    const std::vector<FitParameterRow> rows = FitParameterRows(r);
    clearSpans();
    setRowCount(static_cast<int>(rows.size()));
    QStringList labels;
    for (int i = 0; i < rowCount(); ++i) {
        const FitParameterRow& row = rows[i];
        labels << QString::fromStdString(row.label + " (" + row.unit + ")");
        const std::string texts[] = {row.population, row.leastSquares, Spread(row.leastSquaresRange), row.bayes,
                                     Spread(row.bayesRange)};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(texts[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(i, c, item);
        }
    }
    ShowFlagOver(this, 1, 2, QString::fromStdString(FlagCellText(r.leastSquaresRange)));
    ShowFlagOver(this, 3, 2, QString::fromStdString(FlagCellText(r.bayesRange)));
    setVerticalHeaderLabels(labels);
    // Every row in sight, without a scroll bar.
    int height = horizontalHeader()->sizeHint().height() + 2 * frameWidth();
    height += rowCount() * verticalHeader()->defaultSectionSize();
    setFixedHeight(height);
}
