#include "fhir/case_input.h"

#include <cmath>
#include <tuple>

#include "engine/history_rows.h"
#include "engine/user_drug.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

namespace {
std::string Item(const std::string& list, std::size_t i) { return list + "[" + std::to_string(i) + "]"; }

const Json& Rows(const Json& history, const char* key) {
    static const Json none = Json::array();
    if (!history.contains(key)) return none;
    const Json& rows = history.at(key);
    const std::string where = std::string("history.") + key;
    if (!rows.is_array()) Fail(where, "must be a list of rows");
    if (rows.size() > static_cast<std::size_t>(kMaxHistoryRows)) Fail(where, "at most 10 rows");
    return rows;
}

void ReadMoment(const Json& row, const std::string& where, CivilDate& date, int& hour, int& minute) {
    const auto dateText = OptText(row, where, "date");
    const auto parsed = dateText ? ParseIsoDate(*dateText) : std::nullopt;
    if (!parsed) Fail(where + ".date", "must be a date YYYY-MM-DD");
    date = *parsed;
    const auto timeText = OptText(row, where, "time");
    const auto time = timeText ? ParseHourMinute(*timeText) : std::nullopt;
    if (!time) Fail(where + ".time", "must be a time HH:MM");
    std::tie(hour, minute) = *time;
    if (hour < 0 || hour > 23) Fail(where + ".time", "Please Input Valid Hour Value 0 to 23.");
    if (minute < 0 || minute > 59) Fail(where + ".time", "Please Input Valid Minutes Value 0 to 59.");
}

DoseRow ReadDoseRow(const Json& row, const std::string& where, const CaseRecord& r) {
    CheckKeys(row, where, {"date", "time", "dose", "route", "infusion_time", "interval", "doses", "status"});
    DoseRow d;
    ReadMoment(row, where, d.date, d.hour, d.minute);
    d.dose = Number(row, where, "dose");
    const auto route = OptText(row, where, "route");
    if (!route) Fail(where + ".route", "is required");
    d.route = NormaliseRoute(*route);
    const UserDrugRoutes user{IvGroupComplete(r.userDrug), ImGroupComplete(r.userDrug), OralGroupComplete(r.userDrug)};
    if (const auto problem = RouteProblem(r.Drug_ID, d.route, user)) Fail(where + ".route", *problem);
    d.infusionTime = OptNumber(row, where, "infusion_time").value_or(0);
    d.interval = Number(row, where, "interval");
    const double doses = Number(row, where, "doses");
    if (doses != std::floor(doses)) Fail(where + ".doses", "must be a whole number");
    if (std::fabs(doses) > 1e6) Fail(where + ".doses", "is too large: a history holds at most 1000 dose events");
    d.doses = static_cast<int>(doses);
    const std::string status = ToUpper(OptText(row, where, "status").value_or(""));
    if (status != "I" && status != "O") Fail(where + ".status", "Please input I or O. ");
    d.status = status;
    return d;
}

LevelRow ReadLevelRow(const Json& row, const std::string& where) {
    CheckKeys(row, where, {"date", "time", "level"});
    LevelRow l;
    ReadMoment(row, where, l.date, l.hour, l.minute);
    l.level = Number(row, where, "level");
    return l;
}
}  // namespace

PatientInput ReadPatientInput(const Json& p) {
    CheckKeys(p, "patient",
              {"birthday", "age_years", "sex", "weight_kg", "height_cm", "scr_mg_dl", "crcl_ml_min", "albumin_g_dl"});
    PatientInput in;
    if (const auto birthday = OptText(p, "patient", "birthday")) {
        in.birthday = ParseIsoDate(*birthday);
        if (!in.birthday) Fail("patient.birthday", "must be a date YYYY-MM-DD");
    }
    in.age = OptNumber(p, "patient", "age_years");
    in.sex = OptText(p, "patient", "sex");
    in.weight = OptNumber(p, "patient", "weight_kg");
    in.height = OptNumber(p, "patient", "height_cm");
    in.scr = OptNumber(p, "patient", "scr_mg_dl");
    in.crcl = OptNumber(p, "patient", "crcl_ml_min");
    in.albumin = OptNumber(p, "patient", "albumin_g_dl");
    return in;
}

void FillPatient(const PatientInput& p, double now, CaseRecord& r) {
    if (p.birthday) SetBirthday(r, *p.birthday, now);
    else if (p.age) r.Age = *p.age;
    if (p.sex == "M" || p.sex == "F") r.SEX = *p.sex;
    for (auto [given, slot] : {std::pair{&p.weight, &r.Wt}, std::pair{&p.height, &r.Ht}, std::pair{&p.scr, &r.SCr},
                               std::pair{&p.crcl, &r.CrCl}, std::pair{&p.albumin, &r.Albumin}})
        if (*given) *slot = **given;
}

std::string ReadDrugCode(const Json& input) {
    const auto code = OptText(input, "", "drug");
    if (!code) Fail("drug", "is required");
    if (!FindDrug(*code)) Fail("drug", "unknown drug code " + Quoted(*code));
    return ToLower(*code);
}

void ReadHistoryRows(const Json& history, CaseRecord& r) {
    const Json& doses = Rows(history, "doses");
    for (std::size_t i = 0; i < doses.size(); ++i)
        r.history.doseRows.push_back(ReadDoseRow(doses[i], Item("history.doses", i), r));
    const Json& levels = Rows(history, "levels");
    for (std::size_t i = 0; i < levels.size(); ++i)
        r.history.levelRows.push_back(ReadLevelRow(levels[i], Item("history.levels", i)));
}
