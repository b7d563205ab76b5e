#include "pages/patient/list_rows.h"

#include <QDate>
#include <cmath>

#include "records/calendar.h"
#include "records/creatinine_unit.h"
#include "records/db/stored_text.h"
#include "records/drug_catalogue.h"

namespace {
QString MonthDayYear(double moment) {
    const CivilDate d = DateOfDayNumber(static_cast<long>(std::floor(moment)));
    return QDate(d.year, d.month, d.day).toString("MM/dd/yyyy");
}

// A stored number text shown whole, with its unit.
QString Whole(const std::string& stored, const char* unit) { return QString::number(WholeNumber(stored)) + unit; }

QString Renal(const ListedCase& c) {
    // Stored in mg/dL: shown as stored, or in umol/L to one decimal.
    if (const double scr = TextNumber(c.SCr); scr != 0) {
        const bool asStored = ShownCreatinineUnit() == CreatinineUnit::MgPerDl;
        return QString::fromStdString((asStored ? c.SCr : ScrText(scr, "%g")) + " " + CreatinineUnitText());
    }
    if (TextNumber(c.CrCl) != 0) return QString::fromStdString(c.CrCl) + " mL/min";
    return {};
}
}  // namespace

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QStringList PatientCells(const ListedPatient& p) {
    return {QString::fromStdString(p.lastName + ", " + p.firstName),
            QString::fromStdString(p.patientId),
            p.male ? "Male" : "Female",
            MonthDayYear(p.birthday),
            {},
            {},
            {},
            MonthDayYear(p.dateStored)};
}

QStringList CaseCells(const ListedCase& c) {
    const std::string code = ToUpper(c.drugId);
    return {{},
            QString::fromStdString("--" + DrugNameOf(code)),
            code == "ZZ" ? QString::fromStdString(c.userDrugName) : QString(),
            Whole(c.Wt, c.kg ? " kg" : " lb"),
            Whole(c.Ht, c.cm ? " cm" : " in"),
            Renal(c),
            code == "PH" ? QString::fromStdString(c.Albumin) + " g/dL" : QString(),
            MonthDayYear(c.dateCreated)};
}
