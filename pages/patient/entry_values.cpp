#include "pages/patient/entry_values.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "pages/patient/birthday_text.h"
#include "records/case_record.h"
#include "records/creatinine_unit.h"
#include "records/drug_catalogue.h"
#include "records/text_format.h"
#include "records/units.h"

namespace {

QString Plain(double v) { return QString::number(v, 'g', 10); }
QString ScrField(double mgPerDl) { return QString::fromStdString(ScrText(mgPerDl, "%.10g")); }
QString TwoDecimals(double v) { return QString::fromStdString(FormatNumber("%.2f", v)); }
QString DateOfMoment(double moment) {
    if (moment == 0) return {};
    return QString::fromStdString(BirthdayText(DateOfDayNumber(static_cast<long>(std::floor(moment)))));
}
std::string Cut(const QString& note) { return note.left(kNoteLimit).toStdString(); }
}  // namespace

bool EntryValues::SameIdentity(const EntryValues& o) const {
    return std::tie(lastName, firstName, hospitalId, birthday) ==
           std::tie(o.lastName, o.firstName, o.hospitalId, o.birthday);
}

bool EntryValues::SamePatient(const EntryValues& o) const {
    return SameIdentity(o) && sex == o.sex && patientNote.left(kNoteLimit) == o.patientNote.left(kNoteLimit);
}

bool EntryValues::SameCase(const EntryValues& o) const {
    return std::tie(drug, weight, height, scr, clcr, albumin, pounds, inches, crsChosen) ==
               std::tie(o.drug, o.weight, o.height, o.scr, o.clcr, o.albumin, o.pounds, o.inches, o.crsChosen) &&
           caseNote.left(kNoteLimit) == o.caseNote.left(kNoteLimit);
}

QStringList EntryDrugNames() {
    QStringList names;
    for (const DrugInfo& d : DrugCatalogue())
        if (std::string(d.code) != "NM") names << d.name;
    std::sort(names.begin(), names.end());
    return names;
}

EntryValues BlankEntry() { return EntryValues{}; }

EntryValues EntryValuesOf(const CaseRecord& r, bool withCase) {
    EntryValues v;
    v.lastName = QString::fromStdString(r.PATIENT_LAST_NAME);
    v.firstName = QString::fromStdString(r.PATIENT_FIRST_NAME);
    v.hospitalId = QString::fromStdString(r.Patient_ID);
    if (!(r.BIRTHDAY == CivilDate{})) v.birthday = QString::fromStdString(BirthdayText(r.BIRTHDAY));
    v.sex = r.SEX == "M" ? "M" : "F";
    v.patientNote = QString::fromStdString(r.Patient_Note);
    v.patientUpdated = DateOfMoment(r.DATE_STORED);
    if (!withCase) return v;
    if (!r.Drug_ID.empty()) v.drug = QString::fromStdString(DrugNameOf(r.Drug_ID));
    v.pounds = r.WtUnit == "lb";
    v.weight = v.pounds ? TwoDecimals(r.Wt * kLbPerKg) : Plain(r.Wt);
    v.inches = r.HtUnit == "in";
    v.height = v.inches ? TwoDecimals(r.Ht * kInchPerCm) : Plain(r.Ht);
    v.crsChosen = r.SCr != 0;
    if (v.crsChosen) v.scr = ScrField(r.SCr);
    else v.clcr = Plain(r.CrCl);
    if (r.Albumin != 0) v.albumin = Plain(r.Albumin);
    v.caseNote = QString::fromStdString(r.Case_Note);
    v.caseUpdated = DateOfMoment(r.Date_created);
    return v;
}

void FillRecord(const EntryValues& v, CaseRecord& r, double now) {
    r.PATIENT_LAST_NAME = v.lastName.toStdString();
    r.PATIENT_FIRST_NAME = v.firstName.toStdString();
    r.DisplayName = r.PATIENT_LAST_NAME + ", " + r.PATIENT_FIRST_NAME;
    r.Patient_ID = r.Patient_ID2 = v.hospitalId.toStdString();
    const BirthdayReading born = ReadBirthday(v.birthday.toStdString(), static_cast<long>(std::floor(now)), "");
    if (born.date) SetBirthday(r, *born.date, now);
    r.Patient_Note = Cut(v.patientNote);
    r.SEX = v.sex == "M" ? "M" : "F";
    r.WtEntered = FieldNumber(v.weight).value_or(0);
    r.WtUnit = v.pounds ? "lb" : "kg";
    r.Wt = v.pounds ? r.WtEntered * kKgPerLb : r.WtEntered;
    r.HtEntered = FieldNumber(v.height).value_or(0);
    r.HtUnit = v.inches ? "in" : "cm";
    r.Ht = v.inches ? r.HtEntered * kCmPerInch : r.HtEntered;
    r.Drug_ID = ToLower(DrugNameOf(v.drug.toStdString()));
    // Left as shown, a creatinine keeps the value it was shown from: read
    // back from umol/L it would move a little.
    if (v.scr != ScrField(r.SCr)) r.SCr = StoredScr(FieldNumber(v.scr).value_or(0));
    r.CrCl = FieldNumber(v.clcr).value_or(0);
    r.Albumin = FieldNumber(v.albumin).value_or(0);
    r.Case_Note = Cut(v.caseNote);
}

EntryChanges ChangesSince(const EntryValues& held, const EntryValues& shown) {
    return {!shown.SamePatient(held), !shown.SameIdentity(held), !shown.SameCase(held)};
}
