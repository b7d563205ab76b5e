// Bundles written from the FHIR R4 structure, with the cases they must give
// written out by hand.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "fhir/fhir_bundle.h"
#include "fhir_bundle_fixtures.h"

namespace {
const char* const kRxVancomycin = "11124";

std::set<std::pair<std::string, std::string>> UnusedOf(const FhirImport& import) {
    std::set<std::pair<std::string, std::string>> unused;
    for (const FhirUnused& u : import.unused) unused.insert({u.where, u.reason});
    return unused;
}
}  // namespace

TEST(FhirBundle, VancomycinInpatientExampleGivesItsCase) {
    std::ifstream file(KINEVO_EXAMPLES_DIR "/fhir/vancomycin-inpatient.json");
    const FhirImport import = ImportFhirBundle(json::parse(file), UtcMinute("2026-12-05T12:00:00Z"));
    // 97 umol/L x 113.12 g/mol = 10972.64 ug/L = 1.097264 mg/dL; 38 g/L = 3.8 g/dL.
    // Five 1000 mg doses 12 h apart from 08:00 (1 h each), then two 1250 mg
    // (1.5 h each); all times as written, at +01:00.
    const json expected = R"({
      "patient": { "birthday": "1958-04-02", "sex": "F", "weight_kg": 82, "height_cm": 178,
                   "scr_mg_dl": 1.097264, "albumin_g_dl": 3.8 },
      "drug": "VM",
      "history": {
        "doses": [
          { "date": "2026-12-01", "time": "08:00", "dose": 1000, "route": "IV", "infusion_time": 1,
            "interval": 12, "doses": 5, "status": "I" },
          { "date": "2026-12-03", "time": "20:00", "dose": 1250, "route": "IV", "infusion_time": 1.5,
            "interval": 12, "doses": 2, "status": "I" } ],
        "levels": [ { "date": "2026-12-03", "time": "07:30", "level": 12.4 },
                    { "date": "2026-12-04", "time": "11:00", "level": 22.1 } ] } })"_json;
    EXPECT_EQ(import.caseInput, expected) << import.caseInput.dump(1);
    EXPECT_TRUE(import.unused.empty());
    EXPECT_TRUE(import.checks.empty());
    EXPECT_EQ(import.familyName, "Example");
    EXPECT_EQ(import.givenNames, "Vera Anne");
    EXPECT_EQ(import.identifier, "H-0042117");
}

TEST(FhirBundle, TheophyllineOutpatientExampleGivesRegimenRowsUpToNow) {
    std::ifstream file(KINEVO_EXAMPLES_DIR "/fhir/theophylline-outpatient.json");
    // Now is 07:00 local (-05:00) on 8 December: of the 300 mg tablets every
    // 12 h from 21 November 08:00, the last taken is 7 December 20:00, 16.5
    // days on: 34 taken of the 61 to 21 December. The 200 mg regimen before
    // it, 1 November 08:00 to 20 November 20:00, is 19.5 days: 40 doses.
    FhirImport import = ImportFhirBundle(json::parse(file), UtcMinute("2026-12-08T12:00:00Z"));
    json& patient = import.caseInput["patient"];
    EXPECT_NEAR(patient["weight_kg"].get<double>(), 79.83225712, 1e-9);  // 176 lb x 0.45359237
    EXPECT_NEAR(patient["height_cm"].get<double>(), 175.26, 1e-9);       // 69 in x 2.54
    EXPECT_NEAR(patient["scr_mg_dl"].get<double>(), 0.90496, 1e-12);     // 80 umol/L x 113.12 g/mol
    json& first = import.caseInput["history"]["levels"][0]["level"];
    EXPECT_NEAR(first.get<double>(), 5.04448, 1e-12);  // 28 umol/L x 180.16 g/mol
    for (const char* key : {"weight_kg", "height_cm", "scr_mg_dl"}) patient.erase(key);
    first = 0;
    const json expected = R"({
      "patient": { "birthday": "1961-09-12", "sex": "M" },
      "drug": "TH",
      "history": {
        "doses": [ { "date": "2026-11-01", "time": "08:00", "dose": 200, "route": "O",
                     "interval": 12, "doses": 40, "status": "O" },
                   { "date": "2026-11-21", "time": "08:00", "dose": 300, "route": "O",
                     "interval": 12, "doses": 34, "status": "O" } ],
        "levels": [ { "date": "2026-11-20", "time": "07:45", "level": 0 },
                    { "date": "2026-12-07", "time": "09:15", "level": 7.6 } ] } })"_json;
    EXPECT_EQ(import.caseInput, expected) << import.caseInput.dump(1);
    EXPECT_EQ(UnusedOf(import),
              (std::set<std::pair<std::string, std::string>>{
                  {"MedicationRequest/now", "27 of its doses fall after the time of the import and are not counted"}}));
    EXPECT_EQ(import.identifier, "H-0077310");
}

TEST(FhirBundle, OralPhenytoinTakesItsRouteLetterFromTheDoseForm) {
    const json phenytoin = Coded("http://www.nlm.nih.gov/research/umls/rxnorm", "8183");
    const auto formed = [&](const std::string& id, const std::string& form) {
        return MedicationWithForm(id, phenytoin, form);
    };
    const auto twiceDaily = [](const std::string& id, const std::string& start, int count) {
        return Entry({{"resourceType", "MedicationRequest"},
                      {"id", id},
                      {"status", "completed"},
                      {"medicationReference", {{"reference", "Medication/caps"}}},
                      {"subject", {{"reference", "Patient/p"}}},
                      {"dosageInstruction",
                       {{{"timing",
                          {{"repeat",
                            {{"boundsPeriod", {{"start", start}}},
                             {"count", count},
                             {"frequency", 2},
                             {"period", 1},
                             {"periodUnit", "d"}}}}},
                         {"route", Route(kOral)},
                         {"doseAndRate", {{{"doseQuantity", Ucum(100, "mg")}}}}}}}});
    };
    // 100 mg capsules are absorbed at 60 mg/h in two portions: 520 doses are
    // 1040 of the history's 1000 events, though 520 rows' doses alone fit.
    const json bundle = Bundle(
        {Patient("male", "1980-01-01"), Entry(formed("caps", "385049006")),
         twiceDaily("old", "2026-03-01T08:00:00Z", 520), twiceDaily("recent", "2026-11-20T08:00:00Z", 14),
         Administration("iv", "8183", Ucum(1000, "mg"), kIntravenous, "2026-12-01T02:00:00Z", "2026-12-01T02:30:00Z"),
         OralDose("capsule", 300, "2026-12-01T08:00:00Z", "Medication/caps"),
         OralDose("suspension", 125, "2026-12-01T20:00:00Z", formed("susp", "385024007")),
         OralDose("chewable", 50, "2026-12-02T08:00:00Z", formed("chew", "66076007")),
         OralDose("tablet", 100, "2026-12-02T12:00:00Z", formed("tab", "385055001")),
         Administration("no-form", "8183", Ucum(100, "mg"), kOral, "2026-12-02T16:00:00Z"),
         Observation("level", "3968-5", Ucum(40, "umol/L"), "2026-12-03T07:00:00Z")});
    const FhirImport import = ImportFhirBundle(bundle, UtcMinute("2026-12-05T00:00:00Z"));
    // Single doses take the time to the next row as their interval, the last
    // that of the row before; 40 umol/L x 252.27 g/mol = 10.0908 mg/L.
    const json expected = R"({
      "patient": { "birthday": "1980-01-01", "sex": "M" },
      "drug": "PH",
      "history": {
        "doses": [
          { "date": "2026-11-20", "time": "08:00", "dose": 100, "route": "C", "interval": 12, "doses": 14, "status": "O" },
          { "date": "2026-12-01", "time": "02:00", "dose": 1000, "route": "IV", "infusion_time": 0.5,
            "interval": 6, "doses": 1, "status": "I" },
          { "date": "2026-12-01", "time": "08:00", "dose": 300, "route": "C", "interval": 12, "doses": 1, "status": "I" },
          { "date": "2026-12-01", "time": "20:00", "dose": 125, "route": "S", "interval": 12, "doses": 1, "status": "I" },
          { "date": "2026-12-02", "time": "08:00", "dose": 50, "route": "T", "interval": 12, "doses": 1, "status": "I" } ],
        "levels": [ { "date": "2026-12-03", "time": "07:00", "level": 10.0908 } ] } })"_json;
    EXPECT_EQ(import.caseInput["history"]["levels"][0]["level"].get<double>(), 40 * 252.27 / 1000);
    json got = import.caseInput;
    got["history"]["levels"][0]["level"] = 10.0908;
    EXPECT_EQ(got, expected) << import.caseInput.dump(1);
    const std::string noForm =
        "an oral phenytoin dose whose dose form is not read: the history takes capsule (385049006), chewable tablet "
        "(66076007) or oral suspension (385024007), given as Medication.form";
    EXPECT_EQ(UnusedOf(import), (std::set<std::pair<std::string, std::string>>{
                                    {"MedicationRequest/old", "over the history's limit of 1000 doses"},
                                    {"MedicationAdministration/tablet", noForm},
                                    {"MedicationAdministration/no-form", noForm}}));
}

TEST(FhirBundle, EveryUnusableEntryIsListedWithItsReason) {
    const std::string t = "2026-12-02T08:00:00Z", end = "2026-12-02T09:00:00Z";
    json oralVanco = Administration("oral", kRxVancomycin, Ucum(125, "mg"), kOral, t);
    json notDone = Administration("not-done", kRxVancomycin, Ucum(1000, "mg"), kIntravenous, t, end);
    notDone["resource"]["status"] = "not-done";
    json otherPatient = Administration("other", kRxVancomycin, Ucum(1000, "mg"), kIntravenous, t, end);
    otherPatient["resource"]["subject"]["reference"] = "Patient/q";
    json bound = Observation("bound", "20578-1", Ucum(2, "ug/mL"), "2026-12-02T07:00:00Z");
    bound["resource"]["valueQuantity"]["comparator"] = "<";
    json preliminary = Observation("prelim", "20578-1", Ucum(9, "ug/mL"), "2026-12-02T07:00:00Z");
    json byName = Administration("by-name", "", Ucum(500, "mg"), kIntravenous, t, end);
    byName["resource"]["medicationCodeableConcept"]["text"] = "Amikacin 500 mg in 100 mL";
    preliminary["resource"]["status"] = "preliminary";
    // One dose through a Medication resource, used, as the one level in range.
    json byReference =
        Administration("by-ref", "", Ucum(1, "g"), kIntravenous, "2026-12-01T20:00:00Z", "2026-12-01T21:00:00Z");
    byReference["resource"].erase("medicationCodeableConcept");
    byReference["resource"]["medicationReference"] = {{"reference", "Medication/vanco"}};
    const json medication = Entry({{"resourceType", "Medication"},
                                   {"id", "vanco"},
                                   {"code", Coded("http://www.nlm.nih.gov/research/umls/rxnorm", kRxVancomycin)}});
    const json bundle = Bundle({Patient("unknown", "1970"),
                                medication,
                                byReference,
                                oralVanco,
                                notDone,
                                otherPatient,
                                bound,
                                preliminary,
                                Entry({{"resourceType", "Encounter"}, {"id", "enc"}}),
                                json::object(),
                                Observation("hr", "8867-4", Ucum(80, "/min"), t),
                                Observation("theo", "4049-3", Ucum(10, "mg/L"), t),
                                Administration("digoxin", "3407", Ucum(0.25, "mg"), kOral, t),
                                Administration("paracetamol", "161", Ucum(1, "g"), kOral, t),
                                byName,
                                Administration("no-rate", kRxVancomycin, Ucum(1000, "mg"), kIntravenous, t),
                                Administration("volume", kRxVancomycin, Ucum(200, "mL"), kIntravenous, t, end),
                                Observation("percent", "20578-1", Ucum(10, "%"), "2026-12-02T07:00:00Z"),
                                Observation("day-only", "4092-3", Ucum(10, "mg/L"), "2026-12-02"),
                                Observation("seconds", "4092-3", Ucum(10, "mg/L"), "2026-12-02T07:00:30Z"),
                                Observation("later", "4092-3", Ucum(10, "mg/L"), "2026-12-09T07:00:00Z"),
                                Observation("ok", "4092-3", Ucum(10.5, "mg/L"), "2026-12-02T07:45:00Z"),
                                Observation("scr-mmol", "14682-9", Ucum(0.1, "mmol/L"), t),
                                Observation("wt-old", "29463-7", Ucum(80, "kg"), "2026-11-20"),
                                Observation("wt-new", "29463-7", Ucum(78, "kg"), "2026-12-01T07:00:00Z")});
    const FhirImport import = ImportFhirBundle(bundle, UtcMinute("2026-12-05T00:00:00Z"), "vm");
    EXPECT_EQ(UnusedOf(import),
              (std::set<std::pair<std::string, std::string>>{
                  {"Patient/p", "birth date \"1970\" is not a whole date"},
                  {"Patient/p", "gender \"unknown\" cannot be entered: the case takes M or F"},
                  {"MedicationAdministration/oral", "route O is not taken in the Vancomycin history"},
                  {"MedicationAdministration/not-done", "status \"not-done\": not a dose given in full"},
                  {"MedicationAdministration/other", "its subject is not the bundle's patient"},
                  {"Observation/bound", "a bound (<), not a measured value"},
                  {"Observation/prelim", "status \"preliminary\" is not a final result"},
                  {"Encounter/enc", "resource type Encounter is not read"},
                  {"entry[9]", "malformed: the entry holds no resource"},
                  {"Observation/hr", "LOINC code 8867-4 is not read"},
                  {"Observation/theo", "a level of Theophylline, not of Vancomycin"},
                  {"MedicationAdministration/digoxin", "a dose of Digoxin, not of Vancomycin"},
                  {"MedicationAdministration/paracetamol", "no RxNorm ingredient code or name of a drug read here"},
                  {"MedicationAdministration/by-name", "a dose of Amikacin, not of Vancomycin"},
                  {"MedicationAdministration/no-rate",
                   "an IV dose without an infusion time (effectivePeriod end or a rate in mass per hour)"},
                  {"MedicationAdministration/volume", "dose unit mL is not a mass unit"},
                  {"Observation/percent", "unit % cannot be converted to mg/L"},
                  {"Observation/day-only", "drawn \"2026-12-02\" gives no time of day"},
                  {"Observation/seconds",
                   "drawn \"2026-12-02T07:00:30Z\" is not on a whole minute; the history holds minutes"},
                  {"Observation/later", "drawn after the time of the import"},
                  {"Observation/scr-mmol", "unit mmol/L is not a unit of serum creatinine"},
                  {"Observation/wt-old", "an earlier body weight; the latest is used"}}));
    const json expected = R"({
      "patient": { "weight_kg": 78 },
      "drug": "VM",
      "history": {
        "doses": [ { "date": "2026-12-01", "time": "20:00", "dose": 1000, "route": "IV", "infusion_time": 1,
                     "interval": 24, "doses": 1, "status": "I" } ],
        "levels": [ { "date": "2026-12-02", "time": "07:45", "level": 10.5 } ] } })"_json;
    EXPECT_EQ(import.caseInput, expected) << import.caseInput.dump(1);
    ASSERT_EQ(import.checks.size(), 1u);
    EXPECT_EQ(
        import.checks[0],
        "MedicationAdministration/by-ref: the record gives no dosing interval for this single dose; 24 h is entered");
}

TEST(FhirBundle, TheHistoryKeepsTheLatestTenRowsAndLevels) {
    // Twelve doses every 12 h from 1 December 08:00Z, 1000 and 1250 mg in
    // turn so that none join: rows 3 to 12 stay, from 2 December 08:00.
    std::vector<json> entries = {Patient("female", "1980-01-01")};
    for (int i = 0; i < 12; ++i) {
        const std::string day = "2026-12-0" + std::to_string(1 + i / 2);
        const std::string hour = i % 2 ? "20" : "08";
        entries.push_back(Administration("d" + std::to_string(i + 1), kRxVancomycin, Ucum(i % 2 ? 1250 : 1000, "mg"),
                                         kIntravenous, day + "T" + hour + ":00:00Z", day + "T" + hour + ":30:00Z"));
    }
    for (int i = 0; i < 11; ++i)
        entries.push_back(
            Observation("l" + std::to_string(i + 1), "20578-1", Ucum(10 + i, "mg/L"),
                        "2026-12-0" + std::to_string(1 + i / 4) + "T0" + std::to_string(1 + i % 4) + ":00:00Z"));
    const FhirImport import = ImportFhirBundle(Bundle(entries), UtcMinute("2026-12-08T00:00:00Z"));
    const json& doses = import.caseInput["history"]["doses"];
    ASSERT_EQ(doses.size(), 10u);
    EXPECT_EQ(doses[0]["date"], "2026-12-02");
    EXPECT_EQ(doses[0]["time"], "08:00");
    EXPECT_EQ(doses[0]["dose"], 1000);
    EXPECT_EQ(doses[0]["infusion_time"], 0.5);
    for (const json& row : doses) EXPECT_EQ(row["interval"], 12);  // the last one takes that of the row before
    const json& levels = import.caseInput["history"]["levels"];
    ASSERT_EQ(levels.size(), 10u);
    EXPECT_EQ(levels[0]["level"], 11);
    EXPECT_EQ(UnusedOf(import), (std::set<std::pair<std::string, std::string>>{
                                    {"MedicationAdministration/d1", "over the history's limit of 10 dose rows"},
                                    {"MedicationAdministration/d2", "over the history's limit of 10 dose rows"},
                                    {"Observation/l1", "over the history's limit of 10 levels"}}));
}

TEST(FhirBundle, ABundleThatCannotBeReadIsOneMessage) {
    const auto message = [](const json& bundle, const std::string& drug = "") {
        try {
            ImportFhirBundle(bundle, 0, drug);
        } catch (const FhirBundleError& e) {
            return std::string(e.what());
        }
        return std::string("read");
    };
    const json vanco = Administration("v", kRxVancomycin, Ucum(1, "g"), kIntravenous, "2026-12-01T08:00:00Z");
    EXPECT_EQ(message(json::array()), "not a FHIR R4 Bundle: resourceType must be \"Bundle\"");
    EXPECT_EQ(message({{"resourceType", "Patient"}}), "not a FHIR R4 Bundle: resourceType must be \"Bundle\"");
    EXPECT_EQ(message({{"resourceType", "Bundle"}, {"entry", {{"a", 1}}}}), "Bundle.entry must be a list");
    EXPECT_EQ(message(Bundle({Patient("male", "1970-01-01"), Patient("male", "1971-01-01"), vanco})),
              "the bundle holds more than one Patient; it must be one patient's record");
    EXPECT_EQ(message(Bundle({Patient("male", "1970-01-01")})),
              "the bundle holds no dose or level of a drug whose codes are read");
    EXPECT_EQ(message(Bundle({vanco, Observation("t", "4049-3", Ucum(10, "mg/L"), "2026-12-01T08:00:00Z")})),
              "the bundle holds doses or levels of Vancomycin (VM), Theophylline (TH): choose one drug");
    EXPECT_EQ(message(Bundle({vanco}), "ZZ"), "drug \"ZZ\": its codes are not read from a record");
}

TEST(FhirBundle, TheDrugsABundleNamesAreListedToChooseFrom) {
    const auto codes = [](const json& bundle) {
        std::vector<std::string> out;
        for (const FhirDrug* d : DrugsInBundle(bundle)) out.push_back(d->code);
        return out;
    };
    std::ifstream file(KINEVO_EXAMPLES_DIR "/fhir/vancomycin-inpatient.json");
    json bundle = json::parse(file);
    EXPECT_EQ(codes(bundle), std::vector<std::string>{"VM"});
    bundle["entry"].push_back(Observation("g", "35668-3", Ucum(7.2, "mg/L"), "2026-12-04T06:00:00+01:00"));
    EXPECT_EQ(codes(bundle), (std::vector<std::string>{"VM", "GM"}));
    EXPECT_TRUE(codes(Bundle({Patient("male", "1970-01-01")})).empty());
    EXPECT_THROW(DrugsInBundle(json::array()), FhirBundleError);
}
