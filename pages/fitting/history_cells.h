#pragma once
// The history page's cells as texts: the rule each cell applies when it is
// left, and how a row of texts meets the record's dose and level rows.
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "engine/history_rows.h"
#include "records/calendar.h"
#include "records/history.h"

enum DoseColumn {
    kDoseYear,
    kDoseMonth,
    kDoseDay,
    kDoseHour,
    kDoseMinute,
    kDoseAmount,
    kDoseRoute,
    kDoseInfusion,
    kDoseInterval,
    kDoseCount,
    kDoseStatus,
    kDoseColumns
};
enum LevelColumn { kLevelYear, kLevelMonth, kLevelDay, kLevelHour, kLevelMinute, kLevelValue, kLevelColumns };

using DoseTexts = std::array<QString, kDoseColumns>;
using LevelTexts = std::array<QString, kLevelColumns>;

// The columns the two kinds of row share, year to minute, have the same
// index in both.
inline constexpr int kDateTimeColumns = 5;

// What leaving a cell does: the text it now shows, a message that keeps the
// focus in it, and whether the rows from this one on are to be cleared.
struct CellOutcome {
    QString text;
    std::optional<QString> message{};
    bool clearFromHere{};
};

// Year to minute. `rowInUse`: the row holds an entry elsewhere, so an empty
// date takes today's and an empty minute "00"; an untouched row stays blank.
CellOutcome LeaveDateTimeCell(int column, const QString& text, bool rowInUse, const CivilDate& today);
// Any dose column; `drugCode` and `user` decide the routes taken.
CellOutcome LeaveDoseCell(int column, const QString& text, bool rowInUse, const CivilDate& today,
                          const std::string& drugCode, const UserDrugRoutes& user);
CellOutcome LeaveLevelCell(int column, const QString& text, bool rowInUse, const CivilDate& today);

template <std::size_t N>
bool RowEmpty(const std::array<QString, N>& row) {
    for (const QString& t : row)
        if (!t.trimmed().isEmpty()) return false;
    return true;
}

// The rows up to the last one holding anything; blank rows between count,
// so Next reports them instead of dropping the rows after them.
std::vector<DoseRow> DoseRowsOf(const std::vector<DoseTexts>& texts);
std::vector<LevelRow> LevelRowsOf(const std::vector<LevelTexts>& texts);
DoseTexts TextsOf(const DoseRow& row);
LevelTexts TextsOf(const LevelRow& row);
