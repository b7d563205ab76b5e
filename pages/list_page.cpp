#include "pages/list_page.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "app/kit/clock.h"
#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "records/case_record.h"
#include "records/db/case_reload.h"
#include "records/db/db_error.h"

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

bool ListPage::Reload(int row, std::int32_t patient, std::int32_t caseNumber) {
    CaseRecord& r = TheCase();
    r.DateText = Cell(row, 7).toStdString();
    r.PATIENT_REC_Num = patient;
    r.Case_number = caseNumber;
    try {
        ReloadCase(r, Now());
    } catch (const DbError& e) {
        // The patient stays listed; the user may pick again or search anew.
        ThePrompts().Tell(this, kProgramTitle, QString::fromStdString(e.what()), PromptIcon::Exclamation);
        return false;
    }
    return true;
}

void ListPage::OpenSelectedRow() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= static_cast<int>(rowKeys_.size())) return;
    if (!Cell(row, 0).isEmpty()) {
        if (!Reload(row, rowKeys_[row], 0)) return;
        HandKeysToNewCaseEntry();
        Leave(code::kNewCaseEntry);
    } else if (!Cell(row, 1).isEmpty()) {
        int patientRow = row;
        while (patientRow > 0 && Cell(patientRow, 0).isEmpty()) --patientRow;
        if (Cell(patientRow, 0).isEmpty()) return;
        if (!Reload(row, rowKeys_[patientRow], rowKeys_[row])) return;
        HandKeysToExistingCaseEntry();
        Leave(code::kExistingCaseEntry);
    }
}
