#include "pages/fitting/history_page.h"

#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPushButton>

#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "engine/dose_expansion.h"
#include "engine/user_drug.h"
#include "output/level_table_texts.h"
#include "pages/fitting/history_grid.h"
#include "pages/widgets/database_work.h"
#include "records/case_record.h"
#include "records/db/case_reload.h"

namespace {
QLabel* Note(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The row messages send the user back to the first cell; the infusion
// message leaves the focus where it is.
bool RowMessage(const std::string& message) { return message.rfind("A Level Is Taken", 0) != 0; }
}  // namespace

HistoryPage::HistoryPage(QWidget* parent)
    : KinevoPage(PageId::History, "Dosing and Serum Level History", HeaderVariant::Full, parent) {
    grid_ = new HistoryGrid(this);
    Body()->addWidget(grid_);
    Body()->addWidget(Note(this, "To predict a future level, enter year, date, time and a level of -1"));
    Body()->addWidget(Note(this, "Press F2 to toggle between level and dosage histories."));
    timeZero_ = Note(this, QString());
    timeZero_->setObjectName("timeZero");
    Body()->addWidget(timeZero_);
    Body()->addStretch(1);
    connect(grid_, &HistoryGrid::doseUnitToggled, this, [this] {
        CaseRecord& r = TheCase();
        r.DoseUnit = r.DoseUnit == "mcg" ? "mg" : "mcg";
        grid_->ShowDoseUnit(QString::fromStdString(r.DoseUnit));
    });
    AddButton("&Previous", "previous", [this] {
        StoreTexts();
        Leave(code::kFittingSetUp);
    });
    next_ = AddButton("&Next", "next", [this] { Next(); });
}

// The record's rows, not the page, hold the entries: the set-up page's Next
// resets this page on the way in, and the user's rows must survive that.
void HistoryPage::Reset() {
    grid_->Show({}, {});
    timeZero_->clear();
}

void HistoryPage::OnOpen() {
    CaseRecord& r = TheCase();
    grid_->SetDrug(r.Drug_ID,
                   {IvGroupComplete(r.userDrug), ImGroupComplete(r.userDrug), OralGroupComplete(r.userDrug)});
    grid_->ShowDoseUnit(QString::fromStdString(r.DoseUnit));
    History& h = r.history;
    // Once per opened case: rows the user has since deleted stay deleted.
    if (!r.StoredHistoryRead && r.PATIENT_REC_Num != 0 && r.Case_number != 0) {
        const bool rowsHeld = !h.doseRows.empty() || !h.levelRows.empty();
        r.StoredHistoryRead = rowsHeld || WithDatabase(this, [&](Database& db) {
                                  const History stored = ReadStoredHistory(db, r.PATIENT_REC_Num, r.Case_number);
                                  h.doseRows = stored.doseRows;
                                  h.levelRows = stored.levelRows;
                              });
    }
    std::vector<DoseTexts> doses;
    for (const DoseRow& row : h.doseRows) doses.push_back(TextsOf(row));
    std::vector<LevelTexts> levels;
    for (const LevelRow& row : h.levelRows) levels.push_back(TextsOf(row));
    grid_->Show(doses, levels);
    ShowTimeZero();
    grid_->FocusFirstCell();
}

void HistoryPage::OnEnter() { grid_->LeaveCurrentCell(); }

void HistoryPage::mousePressEvent(QMouseEvent* event) {
    if (focusWidget() == next_) grid_->FocusFirstCell();
    KinevoPage::mousePressEvent(event);
}

void HistoryPage::StoreTexts() {
    CaseRecord& r = TheCase();
    r.history.doseRows = DoseRowsOf(grid_->Doses());
    r.history.levelRows = LevelRowsOf(grid_->Levels());
}

void HistoryPage::ShowTimeZero() { timeZero_->setText(TimeZeroText(TheCase().history)); }

void HistoryPage::Next() {
    if (!grid_->LeaveCurrentCell() || !grid_->CheckAllCells()) return;
    StoreTexts();
    if (const auto message = AcceptHistory(TheCase())) {
        Warn(this, QString::fromStdString(*message));
        if (RowMessage(*message)) grid_->FocusFirstCell();
        return;
    }
    ShowTimeZero();
    ResetPage(PageId::AnalysisGraph);
    Leave(code::kAnalysisGraph);
}
