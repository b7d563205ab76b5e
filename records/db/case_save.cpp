#include "records/db/case_save.h"

#include <cmath>
#include <cstdio>

#include "records/db/case_rows.h"
#include "records/db/configuration.h"
#include "records/db/record_sets.h"
#include "records/db/stored_text.h"
#include "records/drug_catalogue.h"

namespace {
struct CaseKeys {
    std::int32_t patient = 0;
    std::int32_t caseNumber = 0;
    bool patientAdded = false;
};

// Opens the case's row of a set for writing: the stored row is edited, a
// missing one added with the two keys.
template <class Set>
void EditOrAdd(Database& db, Set& set, const RowQuery& query, std::int32_t patient, std::int32_t caseNumber) {
    set.Open(db, query);
    if (!set.IsEOF()) return set.Edit();
    set.AddNew();
    set.Patient_Rec_Num = patient;
    if constexpr (requires { set.Case_Number; }) set.Case_Number = caseNumber;
    else set.Case_number = caseNumber;
}

bool SavesParameters(EndSource source) {
    switch (source) {
        case EndSource::IvRegimen:
        case EndSource::OralRegimen:
        case EndSource::PhenytoinRegimen:
        case EndSource::IvForecast:
        case EndSource::OralForecast:
        case EndSource::PhenytoinForecast:
        case EndSource::AnalysisResults:
        case EndSource::PopulationReportPrinted:
        case EndSource::FittedReportPrinted: return true;
        default: return false;
    }
}

CaseKeys StorePatientAndCase(Database& db, const CaseRecord& rec, const SaveRequest& req) {
    CaseKeys k{rec.PATIENT_REC_Num, rec.Case_number};
    const bool newPatient = k.patient == 0 || (k.caseNumber != 0 && req.patientChanged && req.patientIdentityChanged);
    if (newPatient) {
        k.patient = AddPatientRow(db, rec, req.now);
        k.caseNumber = AddCaseRow(db, k.patient, rec, req.now);
        k.patientAdded = true;
        return k;
    }
    RequireStoredPatient(db, k.patient, rec.storedIdentity);
    if (k.caseNumber == 0 || req.caseChanged) {
        k.caseNumber = AddCaseRow(db, k.patient, rec, req.now);
    } else {
        UpdateCaseRow(db, k.patient, k.caseNumber, rec, req.now);
    }
    return k;
}

// The regimen goes into an existing case row only.
void StoreRegimen(Database& db, CaseKeys k, const CaseRecord& rec, EndSource source) {
    const SavedRegimen& r = rec.regimen;
    Cpcaseset c;
    c.Open(db, CaseFilter(k.patient, k.caseNumber));
    if (c.IsEOF()) return;
    c.Edit();
    switch (source) {
        case EndSource::IvForecast: c.Dose = r.Dose, c.Interval = r.Interval, c.Form = r.Form; break;
        case EndSource::OralForecast:
            c.Dose = r.Dose, c.Interval = r.Interval, c.Form = r.Form, c.Route = r.Route;
            break;
        case EndSource::PhenytoinForecast:
            c.Dose = r.Dose, c.Interval = r.Interval, c.Form = r.Form, c.Route = r.Route;
            c.Average_Obs = r.Average_Obs, c.Average_Adj = r.Average_Adj;
            break;
        case EndSource::AnalysisResults:
            c.Dose = r.Dose;
            if (rec.RouteCode == 'D') c.Interval = r.Interval, c.Inf_time = r.Inf_time, c.Post_time = r.Post_time;
            if (rec.RouteCode == 'I' || rec.RouteCode == 'O') c.Interval = r.Interval;
            c.Form = r.Form;
            c.Route = std::string(1, rec.RouteCode);
            break;
        default: return;
    }
    c.Update();
}

std::int32_t WholeOf(double v) { return std::isfinite(v) ? static_cast<std::int32_t>(std::trunc(v)) : 0; }

void StoreParameters(Database& db, CaseKeys k, const CaseRecord& rec, const SaveRequest& req) {
    const PageParameterTexts& t = req.page;
    Cpcasepset p;
    EditOrAdd(db, p, CaseFilter(k.patient, k.caseNumber), k.patient, k.caseNumber);
    p.Vd_Unit = p.Cl_Unit = true;
    switch (req.endPageSource) {
        case EndSource::IvRegimen:
        case EndSource::IvForecast:
        case EndSource::OralForecast:
            p.Cur_fit_method = rec.Cur_fit_method;
            p.Vd = t.Vd, p.Cl = t.Cl, p.CF = t.CF, p.F = t.F;
            break;
        case EndSource::OralRegimen:
            p.Cur_fit_method = rec.Cur_fit_method;
            p.Vd = t.Vd, p.Cl = t.Cl;
            p.CF = StoredNumber("%.2f", t.CFValue), p.F = StoredNumber("%.2f", t.FValue);
            break;
        case EndSource::PhenytoinRegimen:
        case EndSource::PhenytoinForecast:
            p.Cur_fit_method = kPopulation;
            p.Vd = t.Vd, p.F = t.F, p.Km = WholeNumber(t.Km), p.Vm = WholeNumber(t.Vmax);
            break;
        case EndSource::AnalysisResults:
            // For phenytoin the Cl slot holds Km.
            p.Cur_fit_method = kBayesian;
            p.Vd = t.Vd, p.F = t.F, p.CF = t.CF, p.Cl = t.Cl;
            p.Km = WholeNumber(t.Cl), p.Vm = WholeNumber(t.Vmax);
            break;
        default: {  // a printed report
            const ParameterSet& s = req.reportSet;
            p.Cur_fit_method = rec.Cur_fit_method;
            p.Vd = StoredNumber("%.2f", s.Vd), p.F = StoredNumber("%.2f", s.F);
            // CF in percent, as every other source stores it and the imports read it.
            p.CF = StoredNumber("%.2f", s.CF * 100), p.Cl = StoredNumber("%.2f", s.Cl);
            p.Vm = WholeOf(s.Vm);
        }
    }
    p.Update();
}

// Rows 1..count stay or are added; stored rows above count go.
template <class Set>
void DeleteRowsAbove(Database& db, CaseKeys k, const char* numberColumn, std::size_t count) {
    Statement s(db, std::string("DELETE FROM \"") + Set::kTable +
                        "\" WHERE \"Patient Rec Num\" = ? AND \"Case number\" = ? AND \"" + numberColumn + "\" > ?");
    s.Bind(1, std::int64_t{k.patient}).Bind(2, std::int64_t{k.caseNumber}).Bind(3, static_cast<std::int64_t>(count));
    s.Step();
}

template <class Set>
void OpenHistoryRow(Database& db, Set& set, CaseKeys k, const char* numberColumn, int number) {
    RowQuery q = CaseFilter(k.patient, k.caseNumber);
    q.filter += std::string(" AND \"") + numberColumn + "\" = ?";
    q.params.emplace_back(std::int64_t{number});
    EditOrAdd(db, set, q, k.patient, k.caseNumber);
}

// As the patient list shows dates: mm/dd/yyyy.
std::string MonthDayYear(double moment) {
    const CivilDate d = DateOfDayNumber(static_cast<long>(std::floor(moment)));
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", d.month, d.day, d.year);
    return text;
}

double TimeOfDay(int hour, int minute) { return MomentOf(CivilDate{}, hour, minute); }

void StoreHistories(Database& db, CaseKeys k, const History& h) {
    DeleteRowsAbove<DosingHistoryRow>(db, k, "Dosing Hx Num", h.doseRows.size());
    for (std::size_t i = 0; i < h.doseRows.size(); ++i) {
        const DoseRow& d = h.doseRows[i];
        Cpcasedhset s;
        OpenHistoryRow(db, s, k, "Dosing Hx Num", static_cast<int>(i) + 1);
        s.Dosing_Hx_Num = static_cast<std::int32_t>(i) + 1;
        s.Date = MomentOf(d.date);
        s.Time = TimeOfDay(d.hour, d.minute);
        s.Dose = StoredNumber("%.2f", d.dose);
        s.Route = d.route;
        s.Infusion_time = StoredNumber("%.2f", d.infusionTime);
        s.Interval = StoredNumber("%.2f", d.interval);
        s.Doses = d.doses;
        s.Outpat = d.status != "I";
        s.Update();
    }
    DeleteRowsAbove<LevelHistoryRow>(db, k, "Level Hx Num", h.levelRows.size());
    for (std::size_t i = 0; i < h.levelRows.size(); ++i) {
        const LevelRow& l = h.levelRows[i];
        if (l.date.day == 0) continue;  // an unfilled row
        Cpcaselhset s;
        OpenHistoryRow(db, s, k, "Level Hx Num", static_cast<int>(i) + 1);
        s.Level_Hx_Num = static_cast<std::int32_t>(i) + 1;
        s.Date = MomentOf(l.date);
        s.time = TimeOfDay(l.hour, l.minute);
        s.Level = StoredNumber("%.2f", l.level);
        s.Update();
    }
}
}  // namespace

void StoreUserChoiceDefinition(Database& db, std::int32_t patient, std::int32_t caseNumber, const CaseRecord& rec) {
    const UserDrugDefinition& u = rec.userDrug;
    Cpcaseucset s;
    EditOrAdd(db, s, CaseFilter(patient, caseNumber, kUserChoiceCaseNumber), patient, caseNumber);
    s.Drug_Name = u.drugName;
    s.Unit = u.units == "mg-mg/L";
    s.PO_F = u.oralF, s.IM_F = u.imF, s.IM_ka = u.imKa, s.IM_Salt = u.imSalt, s.IV_Salt = u.ivSalt;
    s.PO_Form = u.oralForm, s.PO_Ka = u.oralKa, s.PO_Salt = u.oralSalt;
    s.max = u.therapeuticMax, s.min = u.therapeuticMin;
    s.Update();
}

void StoreUserChoiceParameters(Database& db, std::int32_t patient, std::int32_t caseNumber, const CaseRecord& rec) {
    const UserDrugDefinition& u = rec.userDrug;
    Cpcasepset p;
    EditOrAdd(db, p, CaseFilter(patient, caseNumber), patient, caseNumber);
    // The applied definition is held in L/h and L.
    p.Cur_fit_method = kPopulation;
    p.Cl = u.clearance, p.Vd = u.volume, p.CF = u.compliance;
    p.Cl_Unit = p.Vd_Unit = true;
    p.Update();
}

void SaveCase(Database& db, CaseRecord& rec, SaveRequest& req) {
    Transaction t(db);
    const CaseKeys k = StorePatientAndCase(db, rec, req);
    if (SavesParameters(req.endPageSource)) {
        StoreRegimen(db, k, rec, req.endPageSource);
        StoreParameters(db, k, rec, req);
        if (rec.history.present || req.endPageSource == EndSource::AnalysisResults ||
            req.endPageSource == EndSource::FittedReportPrinted)
            StoreHistories(db, k, rec.history);
    }
    if (ToLower(rec.Drug_ID) == "zz") StoreUserChoiceDefinition(db, k.patient, k.caseNumber, rec);
    t.Commit();

    rec.PATIENT_REC_Num = k.patient;
    rec.Case_number = k.caseNumber;
    if (k.patientAdded) {
        rec.storedIdentity = IdentityOf(rec);
        rec.DATE_STORED = req.now;
    }
    // The case row now carries this moment; the parameter pages show its date.
    rec.Date_created = req.now;
    rec.DateText = MonthDayYear(req.now);
    req.patientKey = std::to_string(k.patient);
    req.caseKey = std::to_string(k.caseNumber);
    req.patientChanged = req.patientIdentityChanged = req.caseChanged = false;
}

void SaveCase(CaseRecord& rec, SaveRequest& req) {
    Database db(ConfiguredDatabasePath());
    SaveCase(db, rec, req);
}
