// The welcome page's import from the hospital record: a FHIR R4 bundle read,
// reviewed, and put on the New Patient page and the history page unsaved;
// the values expected are those of the example bundle, worked out by hand.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/kit/clock.h"
#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "pages/fitting/history_cells.h"
#include "pages/fitting/history_grid.h"
#include "pages/patient/welcome_page.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "records/db/database.h"
#include "tests/pages/field_typing.h"
#include "tests/pages/page_test_support.h"

namespace {
const std::string kExample = KINEVO_EXAMPLES_DIR "/fhir/vancomycin-inpatient.json";

// The example with one more of the patient's measurements, in `ucum` units.
std::string ExampleWith(const std::string& id, const std::string& loinc, const std::string& when, double value,
                        const std::string& ucum) {
    std::ifstream file(kExample);
    nlohmann::json bundle = nlohmann::json::parse(file);
    bundle["entry"].push_back(
        {{"resource",
          {{"resourceType", "Observation"},
           {"id", id},
           {"status", "final"},
           {"code", {{"coding", {{{"system", "http://loinc.org"}, {"code", loinc}}}}}},
           {"subject", {{"reference", "Patient/vera"}}},
           {"effectiveDateTime", when},
           {"valueQuantity",
            {{"value", value}, {"unit", ucum}, {"system", "http://unitsofmeasure.org"}, {"code", ucum}}}}}});
    return bundle.dump();
}

const ReviewSection* SectionStarting(const ReviewSheet& sheet, const QString& heading) {
    for (const ReviewSection& s : sheet.sections)
        if (s.heading.startsWith(heading)) return &s;
    return nullptr;
}
}  // namespace

class HospitalImportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;
    std::unique_ptr<WelcomePage> welcome;
    std::string db;
    std::vector<int> walks;   // the code each walk started from
    std::vector<Step> steps;  // what a walk does on its pages; none: straight back
    ChainResult walked;

    void Import(const std::string& path) {
        env->prompts.openPaths.push_back(QString::fromStdString(path));
        Click(welcome.get(), "importHospitalRecord");
    }
    std::string Write(const std::string& name, const std::string& text) {
        env->WriteFile(name, text);
        return (env->Dir() / name).string();
    }
    std::int64_t StoredPatients() const {
        Database d(db);
        return QueryInt(d, "SELECT COUNT(*) FROM \"PatientBasic\"");
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        // The example's last level is drawn on 4 December 2026.
        FixNow(MomentOf(CivilDate{2026, 12, 5}, 12));
        db = env->MakeDatabase("work.mdb");
        ConfiguredDatabasePath() = db;
        pages = std::make_unique<PageSet>();
        walks.clear();
        steps.clear();
        welcome = std::make_unique<WelcomePage>(ProgramFiles::In(env->Dir()), [this](int first) {
            walks.push_back(first);
            if (steps.empty()) return code::kBackToWelcome;
            walked = RunChain(*pages, first, steps);
            return walked.code;
        });
        welcome->Open();
        welcome->show();
    }
    void cleanup() {
        welcome.reset();
        pages.reset();
        env.reset();
    }

    void vancomycinBundleFillsTheEntryAndHistoryPages() {
        const auto entryPage = [this](KinevoPage& entry) {
            QCOMPARE(FieldText(&entry, "lastName"), QString("Example"));
            QCOMPARE(FieldText(&entry, "firstName"), QString("Vera Anne"));
            QCOMPARE(FieldText(&entry, "hospitalId"), QString("H-0042117"));
            QCOMPARE(FieldText(&entry, "birthday"), QString("04/02/1958"));
            QVERIFY(entry.findChild<QRadioButton*>("female")->isChecked());
            QCOMPARE(entry.findChild<QComboBox*>("drug")->currentText(), QString("Vancomycin"));
            QCOMPARE(FieldText(&entry, "weight"), QString("82"));
            QVERIFY(entry.findChild<QRadioButton*>("kilograms")->isChecked());
            QCOMPARE(FieldText(&entry, "height"), QString("178"));
            QVERIFY(entry.findChild<QRadioButton*>("centimetres")->isChecked());
            // 97 umol/L x 113.12 g/mol = 10972.64 ug/L = 1.097264 mg/dL.
            QCOMPARE(FieldText(&entry, "scr"), QString("1.097264"));
            QCOMPARE(FieldText(&entry, "clcr"), QString());
            QCOMPARE(FieldText(&entry, "albumin"), QString());  // vancomycin takes none
            // Nothing is stored before the pharmacist presses Save.
            QCOMPARE(StoredPatients(), std::int64_t(0));
            QVERIFY(entry.findChild<QPushButton*>("save")->isEnabled());
            if (qEnvironmentVariableIsSet("KINEVO_SHOT_DIR")) SavePagePicture(entry, "imported_entry.png");
            Click(&entry, "next");
        };
        const auto historyPage = [this](KinevoPage& history) {
            const auto* grid = history.findChild<HistoryGrid*>();
            // Five 1000 mg 1-hour infusions every 12 h from 1 December 08:00,
            // then two of 1250 mg over 1.5 h from 3 December 20:00.
            const std::vector<DoseTexts> doses = grid->Doses();
            QCOMPARE(doses[0], (DoseTexts{"2026", "12", "01", "08", "00", "1000.00", "IV", "1.00", "12.00", "5", "I"}));
            QCOMPARE(doses[1], (DoseTexts{"2026", "12", "03", "20", "00", "1250.00", "IV", "1.50", "12.00", "2", "I"}));
            QVERIFY(RowEmpty(doses[2]));
            const std::vector<LevelTexts> levels = grid->Levels();
            QCOMPARE(levels[0], (LevelTexts{"2026", "12", "03", "07", "30", "12.40"}));
            QCOMPARE(levels[1], (LevelTexts{"2026", "12", "04", "11", "00", "22.10"}));
            QVERIFY(RowEmpty(levels[2]));
            ExitWithOk(env->prompts, history);
        };
        // Through the factor and fit set-up pages, as the pharmacist goes on.
        steps = {{PageId::NewPatientEntry, entryPage},
                 {PageId::Factors, Press("levelAnalysis")},
                 {PageId::FittingSetUp, Press("next")},
                 {PageId::History, historyPage}};
        env->prompts.reviewAnswers.push_back(true);
        Import(kExample);
        QCOMPARE(walks, std::vector<int>{code::kNewPatientEntry});
        QCOMPARE(walked.visited, (std::vector<PageId>{PageId::NewPatientEntry, PageId::Factors, PageId::FittingSetUp,
                                                      PageId::History}));
        QCOMPARE(env->prompts.reviews.size(), std::size_t(1));
        QCOMPARE(SectionStarting(env->prompts.reviews[0], "Not used")->rows.size(), std::size_t(0));
        QCOMPARE(env->prompts.Texts().size(), 3);  // the file dialog, the review, the exit question
        QCOMPARE(StoredPatients(), std::int64_t(0));
    }

    void anUnusableEntryIsListedAndCancelChangesNothing() {
        SetUpAdult(TheCase(), "gm");
        env->prompts.reviewAnswers.push_back(false);
        Import(Write("glucose.json", ExampleWith("glucose", "2345-7", "2026-12-01T06:45:00+01:00", 5.4, "mmol/L")));
        const ReviewSection* unused = SectionStarting(env->prompts.reviews.at(0), "Not used from the record: 1");
        QVERIFY(unused);
        QCOMPARE(unused->rows, (std::vector<QStringList>{{"Observation/glucose", "LOINC code 2345-7 is not read"}}));
        // Cancel: the record and the pages stay as they were.
        QVERIFY(walks.empty());
        QCOMPARE(TheCase().PATIENT_LAST_NAME, std::string("Doe"));
        QCOMPARE(TheCase().Drug_ID, std::string("gm"));
        QVERIFY(TheCase().history.doseRows.empty());
        QVERIFY(!Nav().caseImported);
    }

    void aBundleOfTwoDrugsAsksWhichAndCancelChangesNothing() {
        SetUpAdult(TheCase(), "gm");
        // A gentamicin level: a bundle naming two drugs.
        const std::string path =
            Write("two.json", ExampleWith("genta", "35668-3", "2026-12-04T06:00:00+01:00", 7.2, "mg/L"));
        env->prompts.choices.push_back(std::nullopt);
        Import(path);
        QCOMPARE(env->prompts.choiceLists, (std::vector<QStringList>{{"Vancomycin (VM)", "Gentamicin (GM)"}}));
        QCOMPARE(env->prompts.shown.back().text, QString("Which drug's doses and levels should be imported?"));
        // Cancel: no message, no review, the record as it was.
        QCOMPARE(env->prompts.shown.size(), std::size_t(2));  // the file dialog, the choice
        QVERIFY(env->prompts.reviews.empty());
        QVERIFY(walks.empty());
        QCOMPARE(TheCase().PATIENT_LAST_NAME, std::string("Doe"));
        QVERIFY(!Nav().caseImported);

        env->prompts.choices.push_back(1);
        env->prompts.reviewAnswers.push_back(true);
        Import(path);
        const ReviewSheet& review = env->prompts.reviews.at(0);
        QVERIFY(review.intro.contains("(Gentamicin)"));
        // The gentamicin level at its written time; every vancomycin entry unused.
        QCOMPARE(SectionStarting(review, "Serum levels")->rows,
                 (std::vector<QStringList>{{"12/04/2026", "06:00", "7.20"}}));
        QVERIFY(SectionStarting(review, "Dosing history")->rows.empty());
        const ReviewSection* unused = SectionStarting(review, "Not used from the record: 9");
        QVERIFY(unused);
        QCOMPARE(unused->rows[0],
                 (QStringList{"MedicationAdministration/vanco-1", "a dose of Vancomycin, not of Gentamicin"}));
        QCOMPARE(unused->rows[7], (QStringList{"Observation/trough", "a level of Vancomycin, not of Gentamicin"}));
        QCOMPARE(walks, std::vector<int>{code::kNewPatientEntry});
        QCOMPARE(TheCase().PATIENT_LAST_NAME, std::string("Example"));
        QCOMPARE(TextsOf(TheCase().history.levelRows.at(0))[kLevelValue], QString("7.20"));
        QVERIFY(TheCase().history.doseRows.empty());
    }

    void aFileThatIsNoBundleShowsOneMessageAndChangesNothing() {
        SetUpAdult(TheCase(), "gm");
        const std::pair<std::string, QString> files[] = {
            {Write("cut.json", R"({"resourceType": "Bundle", "entry": [ {"resource": )"), "input: not valid JSON"},
            {Write("patient.json", R"({"resourceType": "Patient", "id": "p"})"),
             "not a FHIR R4 Bundle: resourceType must be \"Bundle\""},
            {(env->Dir() / "missing.json").string(), "The file cannot be read."}};
        for (const auto& [path, reason] : files) {
            env->prompts.shown.clear();
            Import(path);
            QCOMPARE(env->prompts.shown.size(), std::size_t(2));  // the file dialog, then the one message
            const ShownPrompt& message = env->prompts.shown[1];
            QCOMPARE(message.kind, ShownPrompt::Message);
            QCOMPARE(message.title, QString("Warning"));
            QVERIFY2(message.text.startsWith("This file cannot be imported as a hospital record:"),
                     qPrintable(message.text));
            QVERIFY2(message.text.contains(reason), qPrintable(message.text));
            QVERIFY(message.text.endsWith("Nothing was changed."));
        }
        QVERIFY(env->prompts.reviews.empty());
        QVERIFY(walks.empty());
        QCOMPARE(TheCase().PATIENT_LAST_NAME, std::string("Doe"));
        QCOMPARE(TheCase().Wt, 70.0);
    }
};

QTEST_MAIN(HospitalImportTest)
#include "hospital_import_test.moc"
