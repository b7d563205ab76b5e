// Start-up with its Options.dat cases, the welcome page's Next, and
// Configure Database, on real files in a temporary program folder.
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <fstream>

#include "app/kit/institution.h"
#include "app/kit/result_codes.h"
#include "app/startup.h"
#include "pages/patient/welcome_page.h"
#include "records/case_record.h"
#include "records/creatinine_unit.h"
#include "records/db/case_save.h"
#include "records/db/configuration.h"
#include "records/db/database.h"
#include "records/db/db_error.h"
#include "tests/pages/page_test_support.h"

namespace {
const QString kNotConfigured = "Your database is not configured. \n Please press the Configure Database button.";

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
}  // namespace

class WelcomePageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    int chainRuns = 0;
    int chainCode = code::kBackToWelcome;

    std::unique_ptr<WelcomePage> MakeWelcome() {
        auto page = std::make_unique<WelcomePage>(ProgramFiles::In(env->Dir()), [this](int) {
            ++chainRuns;
            return chainCode;
        });
        page->Open();
        page->show();
        return page;
    }
    // A program folder: the empty database to install, and Options.dat.
    void MakeProgramFolder(const std::string& options) {
        env->MakeDatabase("Patients.mdb");
        env->WriteFile("Options.dat", options);
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        chainRuns = 0;
    }
    void cleanup() { env.reset(); }

    void missingOptionsFileEndsTheProgram() {
        QVERIFY(!ReadStartUpConfiguration(env->Dir() / "Options.dat"));
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].title, QString("Warning"));
        QCOMPARE(env->prompts.shown[0].text,
                 QString("Options.dat file is either corrupted or missing. Please contact Orvane Inc. "));
    }

    void configureDatabaseWithTrailingBlanksIsNotConfigured() {
        MakeProgramFolder("Configure Database   \t\n");
        TheCase().ModelType = 3;
        QVERIFY(ReadStartUpConfiguration(env->Dir() / "Options.dat"));
        QCOMPARE(ConfiguredDatabasePath(), std::string(kDatabaseNotConfigured));
        QCOMPARE(TheCase().ModelType, 1);
        auto welcome = MakeWelcome();
        QCOMPARE(env->prompts.Texts(), QStringList{kNotConfigured});
    }

    void nonDatabaseFileIsNotConfigured() {
        env->WriteFile("notes.txt", "not a database\n");
        MakeProgramFolder((env->Dir() / "notes.txt").string() + "\n");
        QVERIFY(ReadStartUpConfiguration(env->Dir() / "Options.dat"));
        QCOMPARE(ConfiguredDatabasePath(), std::string(kDatabaseNotConfigured));
        auto welcome = MakeWelcome();
        QCOMPARE(env->prompts.shown.at(0).title, QString("Warning"));
        QCOMPARE(env->prompts.shown.at(0).text, kNotConfigured);
    }

    void workingDatabaseAndInstitutionName() {
        const std::string db = env->MakeDatabase("work.mdb");
        MakeProgramFolder(db + "  \nSt. Mary's Hospital Pharmacy  \n");
        QVERIFY(ReadStartUpConfiguration(env->Dir() / "Options.dat"));
        QCOMPARE(ConfiguredDatabasePath(), db);
        QCOMPARE(InstitutionName(), std::string("St. Mary's Hospital Pharmacy"));
        auto welcome = MakeWelcome();
        QVERIFY(env->prompts.shown.empty());
        QCOMPARE(welcome->findChild<QLabel*>("today")->text(), QString("03/15/2012"));
        QCOMPARE(welcome->findChild<QLabel*>("institution")->text(), QString("St. Mary's Hospital Pharmacy"));
        InstitutionName().clear();
    }

    void creatinineLineChoosesTheUnit() {
        const std::string db = env->MakeDatabase("work.mdb");
        // After the name, or in its place: a setting line is never the name.
        MakeProgramFolder(db + "\nSt. Mary's Hospital Pharmacy\ncreatinine:  umol/L \n");
        QVERIFY(ReadStartUpConfiguration(env->Dir() / "Options.dat"));
        QCOMPARE(ShownCreatinineUnit(), CreatinineUnit::UmolPerL);
        QCOMPARE(InstitutionName(), std::string("St. Mary's Hospital Pharmacy"));
        env->WriteFile("Options.dat", db + "\nCreatinine: mmol/L\n");
        QVERIFY(ReadStartUpConfiguration(env->Dir() / "Options.dat"));
        QCOMPARE(ShownCreatinineUnit(), CreatinineUnit::MgPerDl);
        QCOMPARE(InstitutionName(), std::string());
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].title, QString("Warning"));
        QVERIFY(env->prompts.shown[0].text.startsWith("Options.dat: \"Creatinine: mmol/L\" names no creatinine unit"));
    }

    void nextWithoutDatabaseRefuses() {
        auto welcome = MakeWelcome();
        env->prompts.shown.clear();
        Click(welcome.get(), "next");
        QCOMPARE(chainRuns, 0);
        QCOMPARE(env->prompts.Texts(), QStringList{kNotConfigured});
        QVERIFY(welcome->isVisible());
    }

    void nextRunsThePages() {
        ConfiguredDatabasePath() = env->MakeDatabase("work.mdb");
        auto welcome = MakeWelcome();
        chainCode = code::kBackToWelcome;
        Click(welcome.get(), "next");
        QCOMPARE(chainRuns, 1);
        QVERIFY(welcome->isVisible());  // code 1: back to the welcome page
        chainCode = code::kExitConfirmed;
        Click(welcome.get(), "next");
        QCOMPARE(chainRuns, 2);
        QVERIFY(!welcome->isVisible());
        QCOMPARE(welcome->result(), code::kExitConfirmed);
        QVERIFY(env->prompts.shown.empty());
    }

    void configureOntoAnExistingDatabaseKeepsIt() {
        MakeProgramFolder("Configure Database\nSt. Mary's\n");
        // The chosen file already holds a patient.
        const std::string existing = env->MakeDatabase("existing.mdb");
        ConfiguredDatabasePath() = existing;
        SetUpAdult(TheCase(), "gm");
        SaveRequest request;
        request.now = TestMoment();
        SaveCase(TheCase(), request);
        ConfiguredDatabasePath() = kDatabaseNotConfigured;

        auto welcome = MakeWelcome();
        env->prompts.shown.clear();
        env->prompts.paths = {QString::fromStdString(existing)};
        env->prompts.answers = {true};
        Click(welcome.get(), "configureDatabase");
        QCOMPARE(env->prompts.shown.size(), std::size_t(3));
        QCOMPARE(env->prompts.shown[0].kind, ShownPrompt::SavePath);
        QCOMPARE(env->prompts.shown[0].title, QString("mdb"));          // default extension
        QCOMPARE(env->prompts.shown[0].text, QString("Patients.mdb"));  // initial name
        QCOMPARE(env->prompts.shown[1].text, QString::fromStdString("Do you want to install the Kinevo database at " +
                                                                    env->Dir().string() + "/ ?"));
        QCOMPARE(env->prompts.shown[2].title, QString("Kinevo"));
        QCOMPARE(env->prompts.shown[2].text,
                 QString("Database file already exists and was not overwritten.\nConfiguration successful."));
        QCOMPARE(ConfiguredDatabasePath(), existing);
        QCOMPARE(FileText(env->Dir() / "Options.dat"), existing + "\nSt. Mary's\n");
        Database kept(existing);
        QCOMPARE(QueryInt(kept, "SELECT COUNT(*) FROM \"PatientBasic\""), std::int64_t(1));
    }

    void configureOntoANewPlaceInstalls() {
        MakeProgramFolder("Configure Database\n");
        auto welcome = MakeWelcome();
        env->prompts.shown.clear();
        const std::string target = (env->Dir() / "fresh.mdb").string();
        env->prompts.paths = {QString::fromStdString(target)};
        env->prompts.answers = {true};
        Click(welcome.get(), "configureDatabase");
        QCOMPARE(env->prompts.Texts().last(), QString("The Kinevo database was successfully installed."));
        QCOMPARE(ConfiguredDatabasePath(), target);
        QVERIFY(TestDatabase(target) == DatabaseState::Works);
    }

    void configureAsksBeforeMovingAWorkingDatabase() {
        const std::string db = env->MakeDatabase("work.mdb");
        MakeProgramFolder(db + "\n");
        ConfiguredDatabasePath() = db;
        auto welcome = MakeWelcome();
        env->prompts.answers = {false};
        Click(welcome.get(), "configureDatabase");
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].kind, ShownPrompt::YesNo);
        QCOMPARE(env->prompts.shown[0].text,
                 QString::fromStdString("The Kinevo database is currently at " + env->Dir().string() +
                                        "/ .\n Do you want to set up a new database at a different location?"));
        QCOMPARE(ConfiguredDatabasePath(), db);
        QCOMPARE(FileText(env->Dir() / "Options.dat"), db + "\n");
    }

    void configureCancelledWritesNothing() {
        MakeProgramFolder("Configure Database\n");
        auto welcome = MakeWelcome();
        env->prompts.shown.clear();
        const std::string target = (env->Dir() / "fresh.mdb").string();
        env->prompts.paths = {QString::fromStdString(target), std::nullopt};
        env->prompts.answers = {false};
        Click(welcome.get(), "configureDatabase");  // Cancel at the question
        Click(welcome.get(), "configureDatabase");  // Cancel at the file dialog
        QCOMPARE(env->prompts.Texts().at(2), QString("The file wasn't copied."));
        QCOMPARE(env->prompts.shown.size(), std::size_t(4));
        QVERIFY(!std::filesystem::exists(target));
        QCOMPARE(FileText(env->Dir() / "Options.dat"), std::string("Configure Database\n"));
        QCOMPARE(ConfiguredDatabasePath(), std::string(kDatabaseNotConfigured));
    }

    void configureWithoutOptionsFile() {
        auto welcome = MakeWelcome();
        env->prompts.shown.clear();
        Click(welcome.get(), "configureDatabase");
        QCOMPARE(env->prompts.Texts(),
                 QStringList{"Options.dat file is either corrupted or missing. Please contact Orvane Inc. "});
        QVERIFY(welcome->isVisible());
    }

    void configureRefusesTheShippedEmptyDatabase() {
        MakeProgramFolder("Configure Database\n");
        auto welcome = MakeWelcome();
        env->prompts.shown.clear();
        env->prompts.paths = {QString::fromStdString((env->Dir() / "Patients.mdb").string())};
        env->prompts.answers = {true};
        Click(welcome.get(), "configureDatabase");
        QCOMPARE(env->prompts.shown.back().title, QString("Warning"));
        QVERIFY(env->prompts.shown.back().text.startsWith("This is the empty database that comes with Kinevo"));
        QCOMPARE(FileText(env->Dir() / "Options.dat"), std::string("Configure Database\n"));
        QCOMPARE(ConfiguredDatabasePath(), std::string(kDatabaseNotConfigured));
    }

    void aServerDownAtStartUpIsNamedAndKeptUntilTheUserChangesIt() {
        // Nothing listens on port 1: the server is down.
        const std::string server = "postgresql://kinevo@127.0.0.1:1/kinevo";
        MakeProgramFolder(server + "\nSt. Mary's\n");
        QVERIFY(ReadStartUpConfiguration(env->Dir() / "Options.dat"));
        QCOMPARE(ConfiguredDatabasePath(), server);
        auto welcome = MakeWelcome();
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        const QString named = "127.0.0.1 (port 1, database kinevo)";
        QVERIFY(env->prompts.shown[0].text.startsWith("The patient database server " + named + " cannot be reached"));
        QVERIFY(env->prompts.shown[0].text.endsWith(
            "This workstation stays set up for that server: press Next to try again once it can be used."));

        // Configure Database names the server and asks; No changes nothing.
        env->prompts.shown.clear();
        env->prompts.answers = {false};
        Click(welcome.get(), "configureDatabase");
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].kind, ShownPrompt::YesNo);
        QVERIFY(env->prompts.shown[0].text.startsWith("The Kinevo database is set up on the server " + named +
                                                      ", which cannot be used now:\n"));
        QCOMPARE(FileText(env->Dir() / "Options.dat"), server + "\nSt. Mary's\n");
        QCOMPARE(ConfiguredDatabasePath(), server);

        // Asked for plainly, a file takes the server's place.
        const std::string file = (env->Dir() / "own.mdb").string();
        env->prompts.answers = {true, true};
        env->prompts.paths = {QString::fromStdString(file)};
        Click(welcome.get(), "configureDatabase");
        QCOMPARE(env->prompts.Texts().last(), QString("The Kinevo database was successfully installed."));
        QCOMPARE(FileText(env->Dir() / "Options.dat"), file + "\nSt. Mary's\n");
        QCOMPARE(ConfiguredDatabasePath(), file);
    }

    void aLockedDatabaseIsInUseNotUnconfigured() {
        DatabaseBusyWaitMs() = 50;
        const std::string db = env->MakeDatabase("work.mdb");
        MakeProgramFolder(db + "\n");
        Database other(db);
        other.Execute("BEGIN EXCLUSIVE");
        QVERIFY(ReadStartUpConfiguration(env->Dir() / "Options.dat"));
        QCOMPARE(ConfiguredDatabasePath(), db);
        auto welcome = MakeWelcome();
        Click(welcome.get(), "configureDatabase");
        // No file dialog: nothing new is installed over a database in use.
        QCOMPARE(env->prompts.Texts(), (QStringList{kDatabaseBusyText, kDatabaseBusyText}));
        QCOMPARE(ConfiguredDatabasePath(), db);
        other.Execute("ROLLBACK");
        DatabaseBusyWaitMs() = 5000;
    }
};

QTEST_MAIN(WelcomePageTest)
#include "welcome_page_test.moc"
