#include "engine/dose_expansion.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/case_warning.h"
#include "engine/history_rows.h"
#include "engine/user_drug.h"
#include "records/case_record.h"
#include "records/dosage_form.h"
#include "records/drug_catalogue.h"
#include "records/units.h"

namespace {
int EventRouteOf(const std::string& route) {
    if (route == "IV") return kEventIV;
    if (route == "IM") return kEventIM;
    return kEventOral;
}

// One event per administration of a row, for every drug and every phenytoin
// row that is not taken by mouth.
void ExpandRow(const DoseRow& row, double start, const ExpansionConstants& c, bool lithium,
               std::vector<DoseEvent>& out) {
    const bool oralPair = row.route == "O";
    const double factor = lithium ? kLithiumMgToMeq : 1.0;
    DoseEvent e;
    e.amount = row.dose * factor;
    e.route = EventRouteOf(row.route);
    e.outpatient = row.status == "I" ? 0 : 1;
    e.infusionTime = row.infusionTime;
    e.rate = row.infusionTime != 0 ? row.dose / row.infusionTime * factor : 0;
    e.salt = oralPair ? c.poSalt : c.parenteralSalt;
    e.ka = oralPair ? c.poKa : c.imKa;
    for (int k = 0; k < row.doses; ++k) {
        e.time = start + k * row.interval;
        out.push_back(e);
    }
}

double PhenytoinOralSalt(const std::string& route, const ExpansionConstants& c) {
    if (route == "O") return c.poSalt;
    if (route == "C") return 0.92;
    return 1.0;  // tablet, suspension
}

// A portion starts no sooner than an hour after every oral portion already
// placed at or before its time, so absorption never exceeds the limit.
double PushedPortionTime(double candidate, const std::vector<DoseEvent>& created) {
    for (bool moved = true; moved;) {
        moved = false;
        for (const DoseEvent& e : created) {
            if (e.route == kEventOral && e.time <= candidate && candidate - e.time < 1) {
                candidate += 1;
                moved = true;
            }
        }
    }
    return candidate;
}

// Each administration becomes portions of at most the absorption limit.
void ExpandPhenytoinOralRow(const DoseRow& row, double start, const ExpansionConstants& c,
                            std::vector<DoseEvent>& out) {
    const double limit = c.phenytoinAbsRate;
    // Rows beyond the event limit never pass the checks; the bound keeps the
    // conversion to a count defined whatever the row holds.
    const int portions = static_cast<int>(std::min(PhenytoinPortionCount(row.dose, limit), double{kMaxDoseEvents}));
    // Rounding must not make the last portion exceed the limit.
    const double rest = row.dose - (portions - 1) * limit;
    const double lastPortion = limit > 0 ? std::min(limit, rest) : rest;
    DoseEvent e;
    e.route = kEventOral;
    e.outpatient = row.status == "I" ? 0 : 1;
    e.rate = limit;
    e.salt = PhenytoinOralSalt(row.route, c);
    e.ka = c.poKa;
    for (int k = 0; k < row.doses; ++k) {
        const double administration = start + k * row.interval;
        for (int p = 0; p < portions; ++p) {
            e.amount = p + 1 < portions ? limit : lastPortion;
            e.time = PushedPortionTime(administration, out);
            out.push_back(e);
        }
    }
}

LevelPoint PointOf(const LevelRow& row, double timeZero) {
    LevelPoint point;
    point.time = RowHours(row) - timeZero;
    point.observed = row.level;
    return point;
}

// The record as it would be with the drug's first product of one of the
// routes (in the order given) chosen.
std::optional<CaseRecord> WithFirstProductOf(const CaseRecord& r, std::initializer_list<char> routes) {
    const auto products = r.Drug_ID == "zz" ? UserDrugRouteProducts(r.userDrug) : RouteProductsOf(r.Drug_ID);
    for (char route : routes) {
        for (const std::string& product : products) {
            if (RouteCodeOf(product) != route) continue;
            CaseRecord copy = r;
            ChooseRouteProduct(copy, product);
            return copy;
        }
    }
    return std::nullopt;
}

constexpr auto kByTime = [](const auto& a, const auto& b) { return a.time < b.time; };

void Convert(const CaseRecord& r, History& h) {
    const std::vector<LevelRow>& rows = r.history.levelRows;
    const std::vector<LevelRow> counted(rows.begin(), rows.begin() + CountedLevelRows(rows));
    ExpandRows(r.history.doseRows, counted, ExpansionConstantsOf(r), h);
}
}  // namespace

ExpansionConstants ExpansionConstantsOf(const CaseRecord& r) {
    ExpansionConstants c;
    c.drugCode = r.Drug_ID;
    c.poSalt = r.PO_Salt;
    c.poKa = r.PO_Ka;
    c.parenteralSalt = r.ParenteralSalt;
    c.imKa = r.IM_ka;
    c.timeLag = r.TimeLag;
    c.phenytoinAbsRate = r.PhenytoinAbsRate;
    // The record holds the salt and ka of the chosen product's route only,
    // while a history may mix routes: a value it lacks (0) would make those
    // doses vanish, so it comes from the drug's first product of that route.
    const auto missing = [](double v) { return !(v > 0); };
    if (missing(c.poSalt) || missing(c.poKa)) {
        if (const auto oral = WithFirstProductOf(r, {'O'})) {
            if (missing(c.poSalt)) c.poSalt = oral->PO_Salt;
            if (missing(c.poKa)) c.poKa = oral->PO_Ka;
        }
    }
    if (missing(c.parenteralSalt))
        if (const auto parenteral = WithFirstProductOf(r, {'D', 'C', 'I'}))
            c.parenteralSalt = parenteral->ParenteralSalt;
    if (missing(c.imKa))
        if (const auto im = WithFirstProductOf(r, {'I'})) c.imKa = im->IM_ka;
    return c;
}

void ApplyFitRouteProducts(CaseRecord& r, const std::vector<std::string>& products) {
    if (products.empty()) return;
    ChooseRouteProduct(r, products[0]);
    if (products.size() < 2) return;
    CaseRecord both = r;
    ChooseRouteProduct(both, products[1]);
    const bool firstOral = r.RouteCode == 'O', secondOral = both.RouteCode == 'O';
    if (secondOral && !firstOral) {
        r.PO_Salt = both.PO_Salt;
        r.PO_Ka = both.PO_Ka;
        r.population.F = both.population.F;
        r.Init_f_sd = both.Init_f_sd;
    }
    if (!secondOral && firstOral) r.ParenteralSalt = both.ParenteralSalt;
    if ((!secondOral && firstOral) || (both.RouteCode == 'I' && r.RouteCode != 'I')) r.IM_ka = both.IM_ka;
}

double TimeZeroOf(const std::vector<DoseRow>& doses, const std::vector<LevelRow>& levels) {
    double zero = std::numeric_limits<double>::infinity();
    for (const DoseRow& row : doses) zero = std::min(zero, RowHours(row));
    for (const LevelRow& row : levels)
        if (row.level >= 0) zero = std::min(zero, RowHours(row));
    return std::isfinite(zero) ? zero : 0;
}

void ExpandRows(const std::vector<DoseRow>& doses, const std::vector<LevelRow>& levels, const ExpansionConstants& c,
                History& h) {
    const std::string code = ToUpper(c.drugCode);
    h.timeZero = TimeZeroOf(doses, levels);
    h.events.clear();
    for (const DoseRow& row : doses) {
        double start = RowHours(row) - h.timeZero;
        if (code == "ZZ" && row.route != "IV" && row.route != "IM") start += c.timeLag;
        if (code == "PH" && IsPhenytoinOralRoute(row.route)) ExpandPhenytoinOralRow(row, start, c, h.events);
        else ExpandRow(row, start, c, code == "LI", h.events);
    }
    std::stable_sort(h.events.begin(), h.events.end(), kByTime);

    h.levels.clear();
    for (const LevelRow& row : levels)
        if (row.level >= 0) h.levels.push_back(PointOf(row, h.timeZero));
    h.measuredCount = static_cast<int>(h.levels.size());
    std::stable_sort(h.levels.begin(), h.levels.end(), kByTime);
    for (const LevelRow& row : levels)
        if (row.level < 0) h.levels.push_back(PointOf(row, h.timeZero));
    h.lastLevelTime = h.measuredCount > 0 ? h.levels[h.measuredCount - 1].time : 0;
    h.lastDoseInterval = doses.empty() ? 0 : doses.back().interval;
}

void ExpandDoseHistory(CaseRecord& r) { Convert(r, r.history); }

std::optional<std::string> AcceptHistory(CaseRecord& r) {
    HistoryRules rules;
    rules.drugCode = r.Drug_ID;
    rules.userRoutes = {IvGroupComplete(r.userDrug), ImGroupComplete(r.userDrug), OralGroupComplete(r.userDrug)};
    rules.phenytoinAbsRate = r.PhenytoinAbsRate;
    if (auto message = CheckHistoryRows(r.history.doseRows, r.history.levelRows, rules)) return message;
    History converted = r.history;
    Convert(r, converted);
    if (LevelDuringInfusion(converted))
        return std::string("A Level Is Taken During Infusion Of The Dose. Please Check Data Entry.");
    r.history = std::move(converted);
    r.history.present = true;
    return std::nullopt;
}
