#include "pages/list_page.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "records/case_record.h"

ListPage::ListPage(QWidget* parent) : KinevoPage(135, "Patient List", std::nullopt, parent) {
    grid_ = new QTableWidget(0, 8, this);
    grid_->setObjectName("grid");
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Body()->addWidget(grid_, 1);
    AddButton("&Previous", "previous", [this] { Leave(code::kSearch); });
    AddButton("&Next", "next", [this] { Leave(code::kNewPatientEntry); });
}

void ListPage::AddRow(const QStringList& cells, std::int32_t key) {
    const int row = grid_->rowCount();
    grid_->insertRow(row);
    for (int column = 0; column < cells.size() && column < grid_->columnCount(); ++column)
        grid_->setItem(row, column, new QTableWidgetItem(cells[column]));
    rowKeys_.push_back(key);
}

void ListPage::ClearRows() {
    grid_->setRowCount(0);
    rowKeys_.clear();
}

QString ListPage::Cell(int row, int column) const {
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

void ListPage::OpenSelectedRow() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= static_cast<int>(rowKeys_.size())) return;
    CaseRecord& r = TheCase();
    if (!Cell(row, 0).isEmpty()) {
        r.DateText = Cell(row, 7).toStdString();
        r.PATIENT_REC_Num = rowKeys_[row];
        r.Case_number = 0;
        HandKeysToNewCaseEntry();
        Leave(code::kNewCaseEntry);
    } else if (!Cell(row, 1).isEmpty()) {
        int patientRow = row;
        while (patientRow > 0 && Cell(patientRow, 0).isEmpty()) --patientRow;
        if (Cell(patientRow, 0).isEmpty()) return;
        r.DateText = Cell(row, 7).toStdString();
        r.PATIENT_REC_Num = rowKeys_[patientRow];
        r.Case_number = rowKeys_[row];
        HandKeysToExistingCaseEntry();
        Leave(code::kExistingCaseEntry);
    }
}
