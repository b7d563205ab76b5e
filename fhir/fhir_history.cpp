#include "fhir/fhir_history.h"

#include <algorithm>

namespace {
bool Alike(const RegimenRow& a, const RegimenRow& b) {
    return a.dose == b.dose && a.route == b.route && a.infusionHours == b.infusionHours && a.status == b.status;
}

long long LastDose(const RegimenRow& r) { return r.start.utcMinute + (r.doses - 1) * r.intervalMinutes; }

void ListRow(const RegimenRow& r, const std::string& reason, FhirImport& out) {
    for (const std::string& where : r.sources) out.unused.push_back({where, reason});
}

// A one-dose row still needs an interval on the history page: the time to
// the next row's dose, else that of the row before; only when the record
// gives neither is one entered, and the pharmacist is told.
void FillIntervals(std::vector<RegimenRow>& rows, FhirImport& out) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        RegimenRow& r = rows[i];
        if (r.intervalMinutes > 0) continue;
        if (i + 1 < rows.size() && rows[i + 1].start.utcMinute > r.start.utcMinute)
            r.intervalMinutes = rows[i + 1].start.utcMinute - r.start.utcMinute;
        else if (i > 0 && rows[i - 1].intervalMinutes > 0) r.intervalMinutes = rows[i - 1].intervalMinutes;
        else {
            r.intervalMinutes = 24 * 60;
            out.checks.push_back(r.sources.front() +
                                 ": the record gives no dosing interval for this single dose; 24 h is entered");
        }
    }
}
}  // namespace

std::vector<RegimenRow> JoinEvenDoses(std::vector<RegimenRow> single) {
    std::stable_sort(single.begin(), single.end(),
                     [](const RegimenRow& a, const RegimenRow& b) { return a.start.utcMinute < b.start.utcMinute; });
    std::vector<RegimenRow> rows;
    for (RegimenRow& d : single) {
        if (!rows.empty()) {
            RegimenRow& r = rows.back();
            const long long gap = d.start.utcMinute - LastDose(r);
            const bool even = r.doses == 1 ? gap > 0 : gap == r.intervalMinutes;
            if (Alike(r, d) && even) {
                r.intervalMinutes = gap;
                ++r.doses;
                r.sources.push_back(d.sources.front());
                continue;
            }
        }
        rows.push_back(std::move(d));
    }
    return rows;
}

void WriteHistory(std::vector<RegimenRow> rows, std::vector<MeasuredLevel> levels, FhirImport& out) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const RegimenRow& a, const RegimenRow& b) { return a.start.utcMinute < b.start.utcMinute; });
    std::stable_sort(levels.begin(), levels.end(), [](const MeasuredLevel& a, const MeasuredLevel& b) {
        return a.time.utcMinute < b.time.utcMinute;
    });
    // The latest history counts most for the next dose: the earliest go first.
    long long events = 0;
    for (const RegimenRow& r : rows) events += static_cast<long long>(r.doses) * r.eventsPerDose;
    std::size_t first = 0;
    for (; rows.size() - first > kHistoryRows || events > kHistoryDoseEvents; ++first) {
        events -= static_cast<long long>(rows[first].doses) * rows[first].eventsPerDose;
        ListRow(rows[first],
                rows.size() - first > kHistoryRows ? "over the history's limit of 10 dose rows"
                                                   : "over the history's limit of 1000 doses",
                out);
    }
    rows.erase(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(first));
    while (levels.size() > kHistoryRows) {
        out.unused.push_back({levels.front().where, "over the history's limit of 10 levels"});
        levels.erase(levels.begin());
    }
    if (rows.empty() && levels.empty()) return;
    FillIntervals(rows, out);

    int offset = 0;
    if (!rows.empty()) offset = rows.front().start.offsetMinutes;
    if (!levels.empty() && (rows.empty() || levels.front().time.utcMinute < rows.front().start.utcMinute))
        offset = levels.front().time.offsetMinutes;
    nlohmann::json doses = nlohmann::json::array();
    for (const RegimenRow& r : rows) {
        nlohmann::json row = {{"date", WallDate(r.start.utcMinute, offset)},
                              {"time", WallTime(r.start.utcMinute, offset)},
                              {"dose", r.dose},
                              {"route", r.route}};
        if (r.infusionHours > 0) row["infusion_time"] = r.infusionHours;
        row["interval"] = static_cast<double>(r.intervalMinutes) / 60;
        row["doses"] = r.doses;
        row["status"] = r.status;
        doses.push_back(row);
    }
    nlohmann::json measured = nlohmann::json::array();
    for (const MeasuredLevel& l : levels)
        measured.push_back({{"date", WallDate(l.time.utcMinute, offset)},
                            {"time", WallTime(l.time.utcMinute, offset)},
                            {"level", l.level}});
    out.caseInput["history"] = {{"doses", doses}, {"levels", measured}};
}
