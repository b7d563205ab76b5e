#pragma once
// The rules the history page applies to the entered rows before it converts
// them: route texts per drug, complete rows, the event limit and the time base.
#include <optional>
#include <string>
#include <vector>

#include "records/history.h"

// The administration groups the user's choice drug defines.
struct UserDrugRoutes {
    bool iv = false;
    bool im = false;
    bool oral = false;
};

// Upper case, with "PO" read as "O" and "D" as "IV".
std::string NormaliseRoute(const std::string& text);

// The page's message when the drug (two-letter code, any case) does not take
// the normalised route.
std::optional<std::string> RouteProblem(const std::string& drugCode, const std::string& route,
                                        const UserDrugRoutes& user);

// Phenytoin oral route texts: capsule, tablet, suspension or plain oral.
bool IsPhenytoinOralRoute(const std::string& route);

// A moment in absolute hours: 24 x day number + hour + minute / 60.
double HistoryHours(const CivilDate& date, int hour, int minute);
double RowHours(const DoseRow& row);
double RowHours(const LevelRow& row);

// How many level rows count: measured rows first, then prediction rows; the
// first measured row after a prediction row ends the count.
int CountedLevelRows(const std::vector<LevelRow>& rows);

// How many portions of at most `limit` mg one phenytoin oral dose takes. A
// quotient above a whole number only by rounding (69 mg at 4.6 mg/h) does not
// add a portion of nothing.
double PhenytoinPortionCount(double dose, double limit);

// The dose events the rows expand into; a phenytoin oral administration
// counts as one event per absorption-limit portion.
double DoseEventCount(const std::vector<DoseRow>& rows, bool phenytoin, double phenytoinAbsRate);

// Bounds no real course comes near: beyond them a typo (a year, a lost
// decimal point) would give numbers without meaning.
inline constexpr double kMaxDose = 100000;  // in the dose unit
inline constexpr double kMaxIntervalHours = 720;
inline constexpr double kMinInfusionHours = 0.01;
inline constexpr double kMaxInfusionHours = 720;
inline constexpr double kMaxHistoryDays = 730;

// Hours from the earliest row (dose or level, prediction rows included) to
// the latest administration or level row; 0 without rows.
double HistorySpanHours(const std::vector<DoseRow>& doses, const std::vector<LevelRow>& levels);

// What the row checks need to know about the drug.
struct HistoryRules {
    std::string drugCode;
    UserDrugRoutes userRoutes;
    double phenytoinAbsRate = 0;  // mg/h
};

// The one message Next shows, by precedence: the first incomplete dose row or
// dose row beyond the bounds, the last incomplete level row (of the counted
// rows), too many dose events, a history longer than the bound.
std::optional<std::string> CheckHistoryRows(const std::vector<DoseRow>& doses, const std::vector<LevelRow>& levels,
                                            const HistoryRules& rules);
