#include "bench/pages/filled_database.h"

#include <string>

#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/db/database.h"
#include "records/db/schema/empty_database.h"

namespace {
// Some tails are long enough to wrap in the list's name column.
const char* const kLastNameTails[] = {"tin", "shall",           "low", "quez", "garet-Whitfield", "ino", "chetti",
                                      "ley", "tinez-Delacroix", "sden"};
const char* const kFirstNames[] = {"Anna",  "Ben",   "Clara", "David", "Eva", "Frank",
                                   "Grace", "Henry", "Iris",  "John",  "Kate"};
// Built-in drugs and the user's own, whose list row needs one more query.
const char* const kDrugs[] = {"gm", "vm", "ph", "zz", "tm", "dg"};

template <class T, std::size_t N>
const T& Cycle(const T (&items)[N], int i) {
    return items[i % N];
}

CaseRecord Patient(int i, double now) {
    CaseRecord r;
    r.PATIENT_LAST_NAME = std::string(kSharedLastNamePrefix) + Cycle(kLastNameTails, i);
    r.PATIENT_FIRST_NAME = Cycle(kFirstNames, i);
    r.Patient_ID = "MRN-" + std::to_string(1000000 + i * 37);
    r.SEX = i % 2 ? "F" : "M";
    SetBirthday(r, {1930 + i % 70, 1 + i % 12, 1 + i % 28}, now);
    return r;
}

void SetCase(CaseRecord& r, int i, int c) {
    ResetCase(r, false);
    r.Drug_ID = Cycle(kDrugs, i + c);
    r.Wt = 50 + (i + c) % 50;
    r.Ht = 150 + i % 40;
    // Every fourth case carries a measured CLcr instead of a serum creatinine.
    if ((i + c) % 4 == 0) r.CrCl = 40 + i % 60;
    else r.SCr = 0.6 + (i % 20) * 0.1;
    if (r.Drug_ID == "ph") r.Albumin = 3.5;
    if (r.Drug_ID == "zz") r.userDrug.drugName = "Busulfan";
    r.history.present = true;
    for (int d = 0; d < 3; ++d) {
        DoseRow dose;
        dose.date = {2025, 3, 1 + d};
        dose.hour = 8;
        dose.dose = 80;
        dose.route = "IV";
        dose.infusionTime = 0.5;
        dose.interval = 8;
        dose.doses = 3;
        dose.status = "I";
        r.history.doseRows.push_back(dose);
    }
    for (int l = 0; l < 2; ++l) {
        LevelRow level;
        level.date = {2025, 3, 2 + l};
        level.hour = 7;
        level.level = 1.5 + l;
        r.history.levelRows.push_back(level);
    }
}
}  // namespace

void MakeFilledDatabase(const std::filesystem::path& path, int patients, int casesEach) {
    CreateEmptyDatabase(path);
    Database db(path);
    // Only the filling goes faster; the file is the same.
    db.Execute("PRAGMA synchronous = OFF");
    const double start = MomentOf({2024, 1, 1}, 9);
    for (int i = 0; i < patients; ++i) {
        CaseRecord r = Patient(i, start);
        for (int c = 0; c < casesEach; ++c) {
            SetCase(r, i, c);
            SaveRequest req;
            req.endPageSource = EndSource::IvForecast;
            req.now = start + i * 0.7 + c * 3.0;
            SaveCase(db, r, req);
        }
    }
}

void AddMatchingCopies(Database& db, int patients, int copies) {
    Transaction t(db);
    for (int k = 1; k <= copies; ++k) {
        const std::string offset = std::to_string(k * patients), last = std::to_string(patients);
        db.Execute(
            "INSERT INTO \"PatientBasic\" (\"PATIENT REC Num\", \"Patient ID\", \"PATIENT FIRST NAME\", "
            "\"PATIENT LAST NAME\", \"DATE_STORED\", \"BIRTHDAY\", \"SEX\") SELECT \"PATIENT REC Num\" + " +
            offset + ", \"Patient ID\" || '-" + std::to_string(k) +
            "', \"PATIENT FIRST NAME\", \"PATIENT LAST NAME\", \"DATE_STORED\", \"BIRTHDAY\", \"SEX\" "
            "FROM \"PatientBasic\" WHERE \"PATIENT REC Num\" <= " +
            last);
        db.Execute(
            "INSERT INTO \"PatientCase\" (\"Patient Rec Num\", \"Date created\", \"Case number\", \"Wt\", "
            "\"kg\", \"Ht\", \"cm\", \"SCr\", \"CrCl\", \"Albumin\", \"Drug ID\") SELECT \"Patient Rec Num\" + " +
            offset +
            ", \"Date created\", \"Case number\", \"Wt\", \"kg\", \"Ht\", \"cm\", \"SCr\", \"CrCl\", "
            "\"Albumin\", \"Drug ID\" FROM \"PatientCase\" WHERE \"Patient Rec Num\" <= " +
            last);
        db.Execute(
            "INSERT INTO \"PatientCase-User Choice\" (\"Patient Rec Num\", \"Case Number\", \"Drug_Name\") "
            "SELECT \"Patient Rec Num\" + " +
            offset +
            ", \"Case Number\", \"Drug_Name\" "
            "FROM \"PatientCase-User Choice\" WHERE \"Patient Rec Num\" <= " +
            last);
    }
    t.Commit();
}
