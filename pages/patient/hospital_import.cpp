#include "pages/patient/hospital_import.h"

#include <QFileInfo>
#include <fstream>
#include <iterator>

#include "app/kit/prompts.h"
#include "fhir/case_input.h"
#include "fhir/fhir_bundle.h"
#include "fhir/json_input.h"
#include "pages/fitting/history_cells.h"
#include "records/creatinine_unit.h"
#include "records/drug_catalogue.h"

namespace {
constexpr int kNameLimit = 20;  // the entry page's name fields
const QString kNotGiven = "not in the record: type it in";

QString Q(const std::string& s) { return QString::fromStdString(s); }

// At most one byte over the limit: ParseInput refuses what is larger.
std::optional<std::string> FileText(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kMaxInputBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) return std::nullopt;
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

void FillFromImport(const FhirImport& import, double now, CaseRecord& r) {
    ResetCase(r, true);
    // Kept by a reset for the same patient's next case; none may come from the last patient.
    r.BIRTHDAY = CivilDate{};
    r.SEX.clear();
    r.PATIENT_LAST_NAME = import.familyName;
    r.PATIENT_FIRST_NAME = import.givenNames;
    r.Patient_ID = r.Patient_ID2 = import.identifier;
    const Json& input = import.caseInput;
    FillPatient(ReadPatientInput(input.contains("patient") ? input.at("patient") : Json::object()), now, r);
    r.WtUnit = "kg";
    r.HtUnit = "cm";
    r.Drug_ID = ReadDrugCode(input);
    if (input.contains("history")) ReadHistoryRows(input.at("history"), r);
}

QString WithUnit(const QString& value, const QString& unit) { return value.isEmpty() ? kNotGiven : value + " " + unit; }

ReviewSection EntrySection(const CaseRecord& r) {
    const EntryValues v = ImportedEntryValues(r);
    const auto text = [](const QString& value) { return value.isEmpty() ? kNotGiven : value; };
    const QString sex = v.sex == "M" ? "Male" : v.sex == "F" ? "Female" : kNotGiven;
    // The page takes an albumin for phenytoin only.
    QString albumin = WithUnit(v.albumin, "g/dL");
    if (v.drug != kPhenytoin)
        albumin =
            r.Albumin != 0 ? "not entered: the page takes albumin for phenytoin only" : "not needed for this drug";
    return {"New Patient page",
            {"Field", "Value"},
            {{"Last:", text(v.lastName)},
             {"First:", text(v.firstName)},
             {"Hosp ID:", text(v.hospitalId)},
             {"Birthday:", text(v.birthday)},
             {"Sex:", sex},
             {"Drug:", v.drug},
             {"Weight:", WithUnit(v.weight, "kg")},
             {"Height:", WithUnit(v.height, "cm")},
             {"Crs:", WithUnit(v.scr, CreatinineUnitText())},
             {"Albumin:", albumin}},
            {}};
}

QString DateOf(const QString& year, const QString& month, const QString& day) { return month + "/" + day + "/" + year; }

ReviewSection DoseSection(const CaseRecord& r, const DrugInfo& drug) {
    ReviewSection s{"Dosing history",
                    {"Date", "Time", QString("Dose (%1)").arg(drug.doseUnit), "Route", "Infusion Time(hr)", "Interval",
                     "# Doses", "IP/OP"},
                    {},
                    "No doses of this drug in the record."};
    for (const DoseRow& row : r.history.doseRows) {
        const DoseTexts t = TextsOf(row);
        s.rows.push_back({DateOf(t[kDoseYear], t[kDoseMonth], t[kDoseDay]), t[kDoseHour] + ":" + t[kDoseMinute],
                          t[kDoseAmount], t[kDoseRoute], t[kDoseInfusion], t[kDoseInterval], t[kDoseCount],
                          t[kDoseStatus]});
    }
    return s;
}

ReviewSection LevelSection(const CaseRecord& r, const DrugInfo& drug) {
    ReviewSection s{"Serum levels",
                    {"Date", "Time", QString("Level (%1)").arg(drug.concUnit)},
                    {},
                    "No levels of this drug in the record."};
    for (const LevelRow& row : r.history.levelRows) {
        const LevelTexts t = TextsOf(row);
        s.rows.push_back({DateOf(t[kLevelYear], t[kLevelMonth], t[kLevelDay]), t[kLevelHour] + ":" + t[kLevelMinute],
                          t[kLevelValue]});
    }
    return s;
}

ReviewSheet ReviewOf(const FhirImport& import, const CaseRecord& r, const QString& fileName) {
    const DrugInfo drug = *FindDrug(r.Drug_ID);
    ReviewSection unused{QString("Not used from the record: %1").arg(import.unused.size()),
                         {"Entry", "Why it was not used"},
                         {},
                         "Nothing: every entry of the record was used."};
    for (const FhirUnused& u : import.unused) unused.rows.push_back({Q(u.where), Q(u.reason)});
    unused.attention = !unused.rows.empty();
    ReviewSection checks{"Please check", {"What to check"}, {}, "Nothing further."};
    for (const std::string& c : import.checks) checks.rows.push_back({Q(c)});
    for (const auto& [label, name] : {std::pair{"Last", import.familyName}, std::pair{"First", import.givenNames}})
        if (Q(name).size() > kNameLimit)
            checks.rows.push_back({QString("%1 name \"%2\" is cut to the %3 characters the page holds.")
                                       .arg(label, Q(name))
                                       .arg(kNameLimit)});
    checks.attention = !checks.rows.empty();
    return {"Import from Hospital Record",
            "From " + fileName + " (" + drug.name +
                "). OK enters what is listed here on the New Patient page and the dosing and level history page, "
                "for you to review there: nothing is saved until you press Save. Cancel leaves everything as it was.",
            {EntrySection(r), unused, checks, DoseSection(r, drug), LevelSection(r, drug)}};
}
// The code of the drug to import: empty for a bundle naming one (or none,
// which the import refuses), nullopt when the pharmacist cancels.
std::optional<std::string> ChosenDrug(QWidget* parent, const std::vector<const FhirDrug*>& drugs) {
    if (drugs.size() < 2) return std::string();
    QStringList items;
    for (const FhirDrug* d : drugs) items << QString("%1 (%2)").arg(d->name, d->code);
    const auto chosen = ThePrompts().AskChoice(parent, "Import from Hospital Record",
                                               "Which drug's doses and levels should be imported?", items);
    if (!chosen) return std::nullopt;
    return drugs.at(static_cast<std::size_t>(*chosen))->code;
}
}  // namespace

std::variant<HospitalCase, QString, ImportCancelled> ReadHospitalCase(QWidget* parent, const QString& path,
                                                                      CaseRecord base, double now,
                                                                      long long nowUtcMinute) {
    const QString fileName = QFileInfo(path).fileName();
    const QString intro = "This file cannot be imported as a hospital record:\n" + fileName + "\n\n";
    const QString nothing = "\n\nNothing was changed.";
    const auto text = FileText(path);
    if (!text) return intro + "The file cannot be read." + nothing;
    try {
        const Json bundle = ParseInput(*text);
        const auto drug = ChosenDrug(parent, DrugsInBundle(bundle));
        if (!drug) return ImportCancelled{};
        const FhirImport import = ImportFhirBundle(bundle, nowUtcMinute, *drug);
        FillFromImport(import, now, base);
        return HospitalCase{base, ReviewOf(import, base, fileName)};
    } catch (const BadInput& e) {
        return intro + Q(e.what()) + nothing;
    } catch (const FhirBundleError& e) {
        return intro + Q(OneLine(e.what())) + nothing;
    }
}

EntryValues ImportedEntryValues(const CaseRecord& r) {
    EntryValues v = EntryValuesOf(r, true);
    if (r.SEX.empty()) v.sex.clear();
    if (v.drug != kPhenytoin) v.albumin.clear();  // the page takes it for phenytoin only
    if (r.SCr == 0 && r.CrCl == 0) {
        v.crsChosen = true;
        v.clcr.clear();
    }
    return v;
}
