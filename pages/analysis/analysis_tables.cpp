#include "pages/analysis/analysis_tables.h"

#include <QHeaderView>
#include <QStringList>
#include <QTableWidget>

#include "records/history.h"

namespace {
constexpr int kParameterRows = 6;  // F, CF, Vd, Cl, kd, t1/2

// Tall enough for `rows` rows, so nothing scrolls and no empty row shows.
void FitHeight(QTableWidget* table, int rows) {
    table->setFixedHeight(table->horizontalHeader()->sizeHint().height() +
                          rows * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth());
}

QTableWidget* NewTable(QWidget* parent, const char* name, const QStringList& headers, int rows) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitHeight(table, rows);
    return table;
}

void SetCell(QTableWidget* table, int row, int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(row, column, item);
}

void FitWidth(QTableWidget* table) {
    table->resizeColumnsToContents();
    for (int c = 0; c < table->columnCount(); ++c) table->setColumnWidth(c, table->columnWidth(c) + 8);
    int width = 2 * table->frameWidth();
    for (int c = 0; c < table->columnCount(); ++c) width += table->columnWidth(c);
    table->setFixedWidth(width);
}

QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

void ShowFlagOver(QTableWidget* table, int column, int columns, const QString& flag) {
    if (flag.isEmpty() || table->rowCount() == 0) return;
    for (int row = 0; row < table->rowCount(); ++row)
        for (int c = column; c < column + columns; ++c) table->setItem(row, c, new QTableWidgetItem);
    auto* item = new QTableWidgetItem(flag);
    item->setTextAlignment(Qt::AlignCenter);
    item->setForeground(Qt::darkRed);
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    table->setItem(0, column, item);
    if (table->rowCount() > 1 || columns > 1) table->setSpan(0, column, table->rowCount(), columns);
}

QTableWidget* NewParameterTable(QWidget* parent) {
    QTableWidget* table = NewTable(parent, "parameters",
                                   {"", "Population", "Least Squares (+/- 1 SD)", "Bayes (+/- 1 SD)"}, kParameterRows);
    FitWidth(table);
    return table;
}

void ShowParameters(QTableWidget* table, const std::vector<FitParameterRow>& rows, bool fitted,
                    const FittedFlags& flags) {
    table->clearSpans();
    table->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const FitParameterRow& row = rows[i];
        SetCell(table, i, 0, Q(row.label + " (" + row.unit + ")"));
        SetCell(table, i, 1, Q(row.population));
        SetCell(table, i, 2, fitted ? Q(WithRange(row.leastSquares, row.leastSquaresRange)) : QString());
        SetCell(table, i, 3, fitted ? Q(WithRange(row.bayes, row.bayesRange)) : QString());
    }
    if (fitted) {
        ShowFlagOver(table, 2, 1, flags.leastSquares);
        ShowFlagOver(table, 3, 1, flags.bayes);
    }
    if (!rows.empty()) FitHeight(table, table->rowCount());
    FitWidth(table);
}

QTableWidget* NewLevelTable(QWidget* parent) {
    QTableWidget* table =
        NewTable(parent, "levels", {"Date", "Time", "Actual", "Pop.", "Least Sq.", "Bayes"}, kMaxHistoryRows);
    FitWidth(table);
    return table;
}

void ShowLevels(QTableWidget* table, const std::vector<LevelTableRow>& rows, const FittedFlags& flags) {
    table->clearSpans();
    table->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const LevelTableRow& row = rows[i];
        const QString cells[] = {row.date, row.time, row.actual, row.population, row.leastSquares, row.bayes};
        for (int c = 0; c < 6; ++c) SetCell(table, i, c, cells[c]);
    }
    ShowFlagOver(table, 4, 1, flags.leastSquares);
    ShowFlagOver(table, 5, 1, flags.bayes);
    FitWidth(table);
}
