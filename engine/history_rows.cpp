#include "engine/history_rows.h"

#include <algorithm>
#include <cmath>

#include "records/drug_catalogue.h"
#include "records/text_format.h"

namespace {
struct RouteRule {
    const char* codes;  // blank-separated
    std::vector<std::string> routes;
    const char* message;
};

const std::vector<RouteRule>& RouteRules() {
    static const std::vector<RouteRule> rules = {
        {"GM AK NM TM", {"IV", "IM"}, "Please input valid route.(IM or IV)"},
        {"DG FC TH", {"IV", "O"}, "Please input valid route.(IV or O)"},
        {"PB QD PC", {"IV", "IM", "O"}, "Please input valid route.(IM or IV or O)"},
        {"VM", {"IV"}, "Please input valid route.(IV)"},
        {"LI", {"O"}, "Please input valid route.(O)"},
        {"CX OX", {"IV", "O"}, "Please input valid route.(O or IV)"},
        {"PH",
         {"IV", "IM", "C", "S", "T"},
         "Please enter valid dosage route: IV, IM, C(apsule),  S(uspension) or T(ablet)."},
    };
    return rules;
}

std::optional<std::string> UserDrugRouteProblem(const std::string& route, const UserDrugRoutes& user) {
    const bool known = route == "IV" || route == "IM" || route == "O";
    if (!known) return "Please input valid route.(IM or IV or O)";
    const bool defined = route == "IV" ? user.iv : route == "IM" ? user.im : user.oral;
    if (defined) return std::nullopt;
    return "Please input valid route. " + route + " is not valid for this drug";
}

bool DateEntered(const CivilDate& d) { return d.year != 0 && d.month != 0 && d.day != 0; }

// Non-positive doses, intervals and counts, and negative infusion times, are
// refused with the row: they would turn into negative or missing amounts.
bool DoseRowComplete(const DoseRow& row, const HistoryRules& rules) {
    if (!DateEntered(row.date) || !row.timeEntered) return false;
    if (!(row.dose > 0) || !(row.interval > 0) || row.doses <= 0 || row.status.empty()) return false;
    if (row.route.empty() || RouteProblem(rules.drugCode, row.route, rules.userRoutes)) return false;
    if (row.infusionTime < 0) return false;
    return row.route != "IV" || row.infusionTime > 0;
}

// What is wrong with a complete row beyond the bounds.
std::optional<std::string> DoseRowBeyondBounds(const DoseRow& row) {
    if (row.dose > kMaxDose) return FormatNumber("the dose is above %.0f.", kMaxDose);
    if (row.interval > kMaxIntervalHours) return FormatNumber("the interval is above %.0f hours.", kMaxIntervalHours);
    if (row.infusionTime != 0 && !(row.infusionTime >= kMinInfusionHours && row.infusionTime <= kMaxInfusionHours))
        return FormatNumbers("the infusion time must be %.2f to %.0f hours.", kMinInfusionHours, kMaxInfusionHours);
    return std::nullopt;
}

// A level read from text such as "nan" or "1e999" is no level.
bool LevelRowComplete(const LevelRow& row) {
    return DateEntered(row.date) && row.timeEntered && row.level != 0 && std::isfinite(row.level);
}
}  // namespace

std::string NormaliseRoute(const std::string& text) {
    const std::string route = ToUpper(text);
    if (route == "PO") return "O";
    if (route == "D") return "IV";
    return route;
}

std::optional<std::string> RouteProblem(const std::string& drugCode, const std::string& route,
                                        const UserDrugRoutes& user) {
    const std::string code = ToUpper(drugCode);
    if (code == "ZZ") return UserDrugRouteProblem(route, user);
    for (const RouteRule& rule : RouteRules()) {
        if (code.size() != 2 || std::string(rule.codes).find(code) == std::string::npos) continue;
        if (std::find(rule.routes.begin(), rule.routes.end(), route) != rule.routes.end()) return std::nullopt;
        return std::string(rule.message);
    }
    return "Please input valid route.(IM or IV or O)";
}

bool IsPhenytoinOralRoute(const std::string& route) {
    return route == "O" || route == "C" || route == "T" || route == "S";
}

double HistoryHours(const CivilDate& date, int hour, int minute) {
    return 24.0 * static_cast<double>(DayNumber(date)) + hour + minute / 60.0;
}

double RowHours(const DoseRow& row) { return HistoryHours(row.date, row.hour, row.minute); }
double RowHours(const LevelRow& row) { return HistoryHours(row.date, row.hour, row.minute); }

int CountedLevelRows(const std::vector<LevelRow>& rows) {
    int count = 0;
    bool predictionSeen = false;
    for (const LevelRow& row : rows) {
        const bool prediction = row.level < 0;
        if (predictionSeen && !prediction) break;
        predictionSeen = prediction;
        ++count;
    }
    return count;
}

double PhenytoinPortionCount(double dose, double limit) {
    if (!(limit > 0) || !(dose > limit)) return 1;
    const double portions = std::ceil(dose / limit);
    const double remainder = dose - (portions - 1) * limit;
    return remainder > 1e-9 * limit ? portions : portions - 1;
}

double DoseEventCount(const std::vector<DoseRow>& rows, bool phenytoin, double phenytoinAbsRate) {
    double count = 0;
    for (const DoseRow& row : rows) {
        const bool portioned = phenytoin && IsPhenytoinOralRoute(row.route);
        const double perAdministration = portioned ? PhenytoinPortionCount(row.dose, phenytoinAbsRate) : 1;
        count += std::max(row.doses, 0) * perAdministration;
    }
    return count;
}

double HistorySpanHours(const std::vector<DoseRow>& doses, const std::vector<LevelRow>& levels) {
    double first = HUGE_VAL, last = -HUGE_VAL;
    for (const DoseRow& row : doses) {
        first = std::min(first, RowHours(row));
        last = std::max(last, RowHours(row) + std::max(row.doses - 1, 0) * row.interval);
    }
    for (const LevelRow& row : levels) {
        first = std::min(first, RowHours(row));
        last = std::max(last, RowHours(row));
    }
    return last >= first ? last - first : 0;
}

std::optional<std::string> CheckHistoryRows(const std::vector<DoseRow>& doses, const std::vector<LevelRow>& levels,
                                            const HistoryRules& rules) {
    for (std::size_t i = 0; i < doses.size(); ++i) {
        const std::string entry = FormatNumber(" Error in Dose Entry # %.0f", static_cast<double>(i + 1));
        if (!DoseRowComplete(doses[i], rules)) return entry;
        if (const auto beyond = DoseRowBeyondBounds(doses[i])) return entry + ": " + *beyond;
    }
    int lastIncomplete = 0;
    const int counted = CountedLevelRows(levels);
    for (int i = 0; i < counted; ++i)
        if (!LevelRowComplete(levels[i])) lastIncomplete = i + 1;
    if (lastIncomplete > 0) return FormatNumber(" Error in Level Entry # %.0f", lastIncomplete);
    const bool phenytoin = ToUpper(rules.drugCode) == "PH";
    if (DoseEventCount(doses, phenytoin, rules.phenytoinAbsRate) > kMaxDoseEvents)
        return std::string("Data Entry Not Complete.\nOr \nToo Many Doses Entered.");
    const std::vector<LevelRow> countedRows(levels.begin(), levels.begin() + counted);
    if (HistorySpanHours(doses, countedRows) > kMaxHistoryDays * 24)
        return FormatNumber("The history spans more than %.0f days. Please check the years entered.", kMaxHistoryDays);
    return std::nullopt;
}
