#include "pages/fitting/history_grid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "app/kit/clock.h"
#include "app/kit/prompts.h"

namespace {
constexpr int kDoseWidths[kDoseColumns] = {50, 34, 34, 34, 34, 80, 44, 70, 64, 50, 46};
constexpr int kLevelWidths[kLevelColumns] = {50, 34, 34, 34, 34, 70};

CivilDate Today() { return DateOfDayNumber(static_cast<long>(std::floor(Now()))); }

QLabel* Title(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    label->setMinimumHeight(label->fontMetrics().height() * 2 + 4);  // two-line titles
    return label;
}

// The date and time titles over the columns that hold them.
void AddMomentTitles(QGridLayout* grid, QWidget* parent) {
    grid->addWidget(Title(parent, "Year"), 0, 1);
    grid->addWidget(Title(parent, "Date:\nmm / dd"), 0, 2, 1, 2);
    grid->addWidget(Title(parent, "Time:\nhh : mm"), 0, 4, 1, 2);
}

std::vector<std::vector<QLineEdit*>> AddCells(QGridLayout* grid, QWidget* parent, const char* kind, const int* widths,
                                              int columns) {
    std::vector<std::vector<QLineEdit*>> cells(kMaxHistoryRows);
    for (int r = 0; r < kMaxHistoryRows; ++r) {
        grid->addWidget(new QLabel(QString::number(r + 1), parent), r + 1, 0);
        for (int c = 0; c < columns; ++c) {
            auto* edit = new QLineEdit(parent);
            edit->setObjectName(QString("%1%2_%3").arg(kind).arg(r + 1).arg(c));
            edit->setFixedWidth(widths[c]);
            grid->addWidget(edit, r + 1, c + 1);
            cells[r].push_back(edit);
        }
    }
    return cells;
}

template <class Texts>
Texts Read(const std::vector<QLineEdit*>& row) {
    Texts t;
    for (std::size_t c = 0; c < t.size(); ++c) t[c] = row[c]->text();
    return t;
}
}  // namespace

HistoryGrid::HistoryGrid(QWidget* parent) : QWidget(parent) {
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(BuildDoses());
    columns->addWidget(BuildLevels());
    for (const auto* table : {&doses_, &levels_})
        for (const auto& row : *table)
            for (QLineEdit* edit : row) edit->installEventFilter(this);
    // Tab order row by row, dose rows first.
    QWidget* previous = nullptr;
    for (const auto* table : {&doses_, &levels_})
        for (const auto& row : *table)
            for (QLineEdit* edit : row) {
                if (previous) QWidget::setTabOrder(previous, edit);
                previous = edit;
            }
}

QWidget* HistoryGrid::BuildDoses() {
    auto* box = new QGroupBox("Dosing History", this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);
    AddMomentTitles(grid, box);
    doseUnit_ = new QPushButton("Dose (mg)", box);
    doseUnit_->setObjectName("doseUnit");
    doseUnit_->setAutoDefault(false);
    doseUnit_->setFocusPolicy(Qt::NoFocus);
    doseUnit_->setMinimumWidth(doseUnit_->fontMetrics().horizontalAdvance("Dose (mcg)") + 12);
    connect(doseUnit_, &QPushButton::clicked, this, &HistoryGrid::doseUnitToggled);
    grid->addWidget(doseUnit_, 0, 6);
    grid->addWidget(Title(box, "Route"), 0, 7);
    grid->addWidget(Title(box, "Infusion\nTime(hr)"), 0, 8);
    grid->addWidget(Title(box, "Interval"), 0, 9);
    grid->addWidget(Title(box, "#\nDoses"), 0, 10);
    grid->addWidget(Title(box, "IP/OP"), 0, 11);
    doses_ = AddCells(grid, box, "dose", kDoseWidths, kDoseColumns);
    return box;
}

QWidget* HistoryGrid::BuildLevels() {
    auto* box = new QGroupBox("Serum Level History", this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(3);
    AddMomentTitles(grid, box);
    grid->addWidget(Title(box, "Level"), 0, 6);
    levels_ = AddCells(grid, box, "level", kLevelWidths, kLevelColumns);
    return box;
}

void HistoryGrid::SetDrug(const std::string& drugCode, const UserDrugRoutes& user) {
    drugCode_ = drugCode;
    userRoutes_ = user;
}

void HistoryGrid::ShowDoseUnit(const QString& unit) { doseUnit_->setText("Dose (" + unit + ")"); }

void HistoryGrid::Show(const std::vector<DoseTexts>& doses, const std::vector<LevelTexts>& levels) {
    for (int r = 0; r < kMaxHistoryRows; ++r) {
        for (int c = 0; c < kDoseColumns; ++c)
            doses_[r][c]->setText(r < static_cast<int>(doses.size()) ? doses[r][c] : QString());
        for (int c = 0; c < kLevelColumns; ++c)
            levels_[r][c]->setText(r < static_cast<int>(levels.size()) ? levels[r][c] : QString());
    }
}

std::vector<DoseTexts> HistoryGrid::Doses() const {
    std::vector<DoseTexts> rows;
    for (const auto& row : doses_) rows.push_back(Read<DoseTexts>(row));
    return rows;
}

std::vector<LevelTexts> HistoryGrid::Levels() const {
    std::vector<LevelTexts> rows;
    for (const auto& row : levels_) rows.push_back(Read<LevelTexts>(row));
    return rows;
}

void HistoryGrid::FocusFirstCell() { doses_[0][0]->setFocus(Qt::OtherFocusReason); }

QLineEdit* HistoryGrid::CellAt(bool dose, int row, int column) const {
    return dose ? doses_[row][column] : levels_[row][column];
}

bool HistoryGrid::Locate(const QObject* widget, Cell& cell) const {
    for (const bool dose : {true, false}) {
        const auto& table = dose ? doses_ : levels_;
        for (int r = 0; r < kMaxHistoryRows; ++r)
            for (int c = 0; c < static_cast<int>(table[r].size()); ++c)
                if (table[r][c] == widget) {
                    cell = {dose, r, c};
                    return true;
                }
    }
    return false;
}

bool HistoryGrid::Leave(const Cell& cell) {
    auto& table = cell.dose ? doses_ : levels_;
    QLineEdit* edit = table[cell.row][cell.column];
    bool inUse = false;
    for (const QLineEdit* other : table[cell.row])
        if (other != edit && !other->text().trimmed().isEmpty()) inUse = true;
    const CellOutcome out = cell.dose ? LeaveDoseCell(cell.column, edit->text(), inUse, Today(), drugCode_, userRoutes_)
                                      : LeaveLevelCell(cell.column, edit->text(), inUse, Today());
    edit->setText(out.text);
    if (out.clearFromHere)
        for (int r = cell.row; r < kMaxHistoryRows; ++r)
            for (QLineEdit* e : table[r]) e->clear();
    if (!out.message) return true;
    Refuse(edit, *out.message);
    return false;
}

void HistoryGrid::Refuse(QLineEdit* edit, const QString& message) {
    Tell(this, message);
    edit->setFocus(Qt::OtherFocusReason);
}

bool HistoryGrid::LeaveCurrentCell() {
    Cell cell{};
    return !Locate(focusWidget(), cell) || Leave(cell);
}

bool HistoryGrid::CheckAllCells() {
    const CivilDate today = Today();
    for (const bool dose : {true, false}) {
        const auto& table = dose ? doses_ : levels_;
        for (const auto& row : table)
            for (int c = 0; c < static_cast<int>(row.size()); ++c) {
                const QString text = row[c]->text();
                if (text.trimmed().isEmpty()) continue;
                const CellOutcome out = dose ? LeaveDoseCell(c, text, true, today, drugCode_, userRoutes_)
                                             : LeaveLevelCell(c, text, true, today);
                if (!out.message) continue;
                Refuse(row[c], *out.message);
                return false;
            }
    }
    return true;
}

void HistoryGrid::Move(const Cell& from, int key) {
    const int columns = from.dose ? int{kDoseColumns} : int{kLevelColumns};
    int row = from.row, column = from.column;
    bool dose = from.dose;
    switch (key) {
        case Qt::Key_Up: row = std::max(row - 1, 0); break;
        case Qt::Key_Down: row = std::min(row + 1, kMaxHistoryRows - 1); break;
        case Qt::Key_Left: column = std::max(column - 1, 0); break;
        case Qt::Key_Right: column = std::min(column + 1, columns - 1); break;
        case Qt::Key_F2:
            dose = !dose;
            row = column = 0;
            break;
        default: return;
    }
    CellAt(dose, row, column)->setFocus(Qt::OtherFocusReason);
}

bool HistoryGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    Cell cell{};
    if (!Locate(watched, cell)) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            if (!Leave(cell)) return true;
            if (key == Qt::Key_Backtab) focusPreviousChild();
            else focusNextChild();
            return true;
        }
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (Leave(cell)) Move(cell, key);
            return true;
        case Qt::Key_F2: Move(cell, key); return true;
        default: return false;
    }
}
