#include "pages/patient/list_page.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <optional>

#include "app/kit/clock.h"
#include "app/kit/date_display.h"
#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "pages/patient/list_rows.h"
#include "pages/widgets/database_work.h"
#include "records/case_record.h"
#include "records/db/case_reload.h"
#include "records/db/configuration.h"
#include "records/db/record_sets.h"

namespace {
const char* const kCaptions =
    "     Name                      Pt #/Drug              Sex              B'day/Wt.        Ht.          "
    "Crs/CLcr         Albumin      Last Update";
}  // namespace

ListPage::ListPage(QWidget* parent) : KinevoPage(PageId::List, "Patient List", std::nullopt, parent) {
    today_ = new QLabel(this);
    today_->setObjectName("today");
    today_->setAlignment(Qt::AlignRight);
    auto* captions = new QLabel(kCaptions, this);
    captions->setObjectName("captions");
    captions->setTextFormat(Qt::PlainText);
    grid_ = new QTableWidget(0, kListColumns, this);
    grid_->setObjectName("grid");
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    for (int column = 0; column < kListColumns; ++column)
        grid_->setColumnWidth(column, TwipsToPixels(kListColumnTwips[column]));
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A long name or ID wraps inside its column rather than being cut off,
    // so similar names stay told apart.
    grid_->setWordWrap(true);
    status_ = new QLabel(this);
    status_->setObjectName("status");
    Body()->addWidget(today_);
    Body()->addWidget(captions);
    Body()->addWidget(grid_, 1);
    Body()->addWidget(status_);
    AddButton("&Previous", "previous", [this] { Leave(code::kSearch); });
    AddButton("&Next", "next", [this] {
        // As from a blank search: the user's choice page goes back to the
        // new-patient page only when this is set.
        Nav().newPatient = true;
        Leave(code::kNewPatientEntry);
    });
    AddButton("&Delete", "delete", [this] { DeleteSelected(); });
    AddButton("Delete &All", "deleteAll", [this] { DeleteAll(); });
}

void ListPage::OnOpen() {
    today_->setText(QString::fromStdString(DateDisplay(Now())));
    buildFailed_ = !Build();
    grid_->setFocus();
}

int ListPage::exec() {
    if (!buildFailed_) return KinevoPage::exec();
    buildFailed_ = false;
    return code::kBackToWelcome;
}

bool ListPage::Build() {
    ClearRows();
    ShowCounts(0, 0);
    PatientList list;
    if (!WithDatabase(this, [&](Database& db) { list = SearchPatients(db, search_); })) return false;
    if (list.patients.empty()) Warn(this, "No record match found.\n Press Previous to seach again or Next to proceed.");
    if (list.overLimit)
        Warn(this, "More than 500 patients were found. Please refine your search criteria and try again.");
    grid_->setUpdatesEnabled(false);
    grid_->setRowCount(static_cast<int>(list.patients.size()) + list.caseCount);
    for (const ListedPatient& p : list.patients) {
        AddRow(PatientCells(p), p.recNum);
        for (const ListedCase& c : p.cases) AddRow(CaseCells(c), c.caseNumber);
    }
    FitRowHeights();
    grid_->setUpdatesEnabled(true);
    ShowCounts(static_cast<int>(list.patients.size()), list.caseCount);
    return true;
}

void ListPage::ShowCounts(int patients, int cases) {
    status_->setText(QString("%1 patients with total of %2 cases found.").arg(patients).arg(cases));
}

void ListPage::AddRow(const QStringList& cells, std::int32_t key) {
    // Into the next row the list made room for, else a new one.
    const int row = static_cast<int>(rowKeys_.size());
    if (row >= grid_->rowCount()) grid_->insertRow(row);
    // Patient rows in bold, so each patient stands out above their cases.
    QFont font = grid_->font();
    font.setBold(!cells.value(0).isEmpty());
    for (int column = 0; column < cells.size() && column < grid_->columnCount(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setFont(font);
        grid_->setItem(row, column, item);
    }
    rowKeys_.push_back(key);
}

// Measuring every row's text through the style takes a third of a long
// list's time. A row can only wrap where a text is wider than its column,
// so only those rows are measured; every other row is one line high, as
// the first such row of its font (patient rows are bold) measures.
void ListPage::FitRowHeights() {
    const QFont normal = grid_->font();
    QFont bold = normal;
    bold.setBold(true);
    const QFontMetrics normalWidths(normal), boldWidths(bold);
    // Room for the cell's margins and focus frame on both sides.
    constexpr int kMargins = 16;
    std::optional<int> oneLine[2];
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const bool patient = !Cell(row, 0).isEmpty();
        const QFontMetrics& widths = patient ? boldWidths : normalWidths;
        bool wraps = false;
        for (int column = 0; column < grid_->columnCount() && !wraps; ++column)
            wraps = widths.horizontalAdvance(Cell(row, column)) > grid_->columnWidth(column) - kMargins;
        std::optional<int>& height = oneLine[patient];
        if (wraps || !height) {
            grid_->resizeRowToContents(row);
            if (!wraps) height = grid_->rowHeight(row);
        } else {
            grid_->setRowHeight(row, *height);
        }
    }
}

void ListPage::ClearRows() {
    grid_->setRowCount(0);
    rowKeys_.clear();
}

QString ListPage::Cell(int row, int column) const {
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

int ListPage::SelectedRow() const {
    // The highlighted row: Qt may give the grid a current cell on focus
    // without highlighting it, and Enter or Delete must not act on a row the
    // user cannot see chosen.
    const QModelIndexList rows = grid_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

int ListPage::PatientRowOf(int row) const {
    while (row >= 0 && Cell(row, 0).isEmpty()) --row;
    return row;
}

bool ListPage::Reload(int row, std::int32_t patient, std::int32_t caseNumber) {
    CaseRecord& r = TheCase();
    r.PATIENT_REC_Num = patient;
    r.Case_number = caseNumber;
    if (!WithDatabase(this, [&](Database& db) { ReloadCase(db, r, Now()); })) {
        // Nothing of a half-read patient may stay behind: Next would store
        // the new patient over that patient's number. The patient stays
        // listed; the user may pick again or search anew.
        ResetCaseAndFlags(true);
        return false;
    }
    r.DateText = Cell(row, 7).toStdString();
    return true;
}

void ListPage::OpenSelectedRow() {
    const int row = SelectedRow();
    if (row < 0 || row >= static_cast<int>(rowKeys_.size())) return;
    if (!Cell(row, 0).isEmpty()) {
        if (!Reload(row, rowKeys_[row], 0)) return;
        HandKeysToNewCaseEntry();
        Leave(code::kNewCaseEntry);
    } else if (!Cell(row, 1).isEmpty()) {
        const int patientRow = PatientRowOf(row);
        if (patientRow < 0) return;
        if (!Reload(row, rowKeys_[patientRow], rowKeys_[row])) return;
        HandKeysToExistingCaseEntry();
        Leave(code::kExistingCaseEntry);
    }
}

void ListPage::DeleteSelected() {
    const int row = SelectedRow();
    const QString name = Cell(row, 0), second = Cell(row, 1);
    if (row < 0 || (name.isEmpty() && second.isEmpty())) {
        Warn(this, "No record selected.\n Please select a record and press Delete.");
        return;
    }
    const bool patientRow = !name.isEmpty();
    const QString what = patientRow ? "patient, \"" + name + "\" ID: " + second : "case, " + second.mid(2);
    if (!ThePrompts().AskYesNo(
            this, "Warning",
            "Are you sure to delete the " + what + "? \nYou CAN NOT retrieve the data after deleting it."))
        return;
    if (patientRow) {
        if (!WithDatabase(this, [&](Database& db) { DeletePatient(db, rowKeys_[row]); })) return;
        if (!Build()) Leave(code::kBackToWelcome);
        return;
    }
    const int patient = PatientRowOf(row);
    if (patient < 0) return;
    if (!WithDatabase(this, [&](Database& db) { DeleteCase(db, rowKeys_[patient], rowKeys_[row]); })) return;
    // The emptied row stays until the list is next built.
    for (int column = 1; column < kListColumns; ++column)
        if (QTableWidgetItem* item = grid_->item(row, column)) item->setText({});
}

void ListPage::DeleteAll() {
    std::vector<std::int32_t> patients;
    for (int row = 0; row < grid_->rowCount(); ++row)
        if (!Cell(row, 0).isEmpty()) patients.push_back(rowKeys_[row]);
    if (!ThePrompts().AskYesNo(this, "Warning",
                               QString("Are you sure to delete ALL the retrieved records? \nYou CAN NOT retrieve "
                                       "the data after deleting these records.\n This will delete %1 patient "
                                       "records.")
                                   .arg(patients.size())))
        return;
    if (!WithDatabase(this, [&](Database& db) { DeletePatients(db, patients); })) return;
    ClearRows();
    ShowCounts(0, 0);
    ThePrompts().Tell(this, "Records Deleted", "The patient records have been successfully deleted.",
                      PromptIcon::Information);
    RecreateSharedRecordSets();
}
