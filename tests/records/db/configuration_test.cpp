#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "db_fixture.h"
#include "records/db/configuration.h"
#include "records/db/schema/empty_database.h"
#include "records/db/schema/private_files.h"

namespace fs = std::filesystem;

namespace {
class Configuration : public DbTest {
protected:
    fs::path Options() const { return Dir() / "Options.dat"; }
    void WriteOptions(const std::string& text) { std::ofstream(Options(), std::ios::binary) << text; }
    std::string ReadOptions() {
        std::ifstream in(Options(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};
}  // namespace

TEST_P(Configuration, FirstLineOfOptionsDat) {
    EXPECT_FALSE(ReadConfiguredPath(Options()));
    WriteOptions("Configure Database  \t\r\nsecond line\n");
    EXPECT_EQ(ReadConfiguredPath(Options()), std::string(kDatabaseNotConfigured));
    WriteOptions("\xEF\xBB\xBF" + Path() + "   \r\n");
    EXPECT_EQ(ReadConfiguredPath(Options()), Path());
    // A path longer than 355 characters is taken whole, never cut short.
    const std::string longPath = "/" + std::string(400, 'p') + "/Patients.mdb";
    WriteOptions(longPath);
    EXPECT_EQ(ReadConfiguredPath(Options()), longPath);
}

TEST_P(Configuration, StartUpTestsTheDatabase) {
    WriteOptions(Path() + " \n");
    EXPECT_EQ(StartUpDatabasePath(Options()), Path());
    EXPECT_EQ(ConfiguredDatabasePath(), Path());

    const fs::path notDb = Dir() / "notes.mdb";
    std::ofstream(notDb) << "these are not the tables you are looking for";
    for (const std::string& bad :
         std::vector<std::string>{notDb.string(), (Dir() / "missing.mdb").string(), Dir().string()}) {
        WriteOptions(bad + "\n");
        EXPECT_EQ(StartUpDatabasePath(Options()), std::string(kDatabaseNotConfigured)) << bad;
    }
    EXPECT_FALSE(fs::exists(Dir() / "missing.mdb"));  // the test made no file
    EXPECT_EQ(ConfiguredDatabasePath(), kDatabaseNotConfigured);
    fs::remove(Options());
    EXPECT_FALSE(StartUpDatabasePath(Options()));
}

TEST_P(Configuration, NumericPatientIdBecomesTextKeepingEveryId) {
    const std::string old = (Dir() / "old.mdb").string();
    {
        CreateEmptyDatabase(old);
        Database db(old);
        db.Execute("DROP TABLE PatientBasic");
        db.Execute(
            "CREATE TABLE PatientBasic (\"PATIENT REC Num\" INTEGER, \"Patient ID\" INTEGER, "
            "\"PATIENT FIRST NAME\" TEXT, \"PATIENT LAST NAME\" TEXT, DATE_STORED TEXT, BIRTHDAY TEXT, "
            "SEX INTEGER, \"Patient Note\" TEXT)");
        db.Execute("CREATE UNIQUE INDEX old_key ON PatientBasic (\"PATIENT REC Num\")");
        Transaction t(db);
        Statement s(db, "INSERT INTO PatientBasic VALUES (?, ?, 'F', ?, NULL, NULL, 1, NULL)");
        // More patients than the old conversion's list of 10000 had room for.
        for (std::int64_t i = 1; i <= 10050; ++i) {
            s.BindAll({i, i * 7 + 1000000, "L" + std::to_string(i)});
            s.Step();
            s.Reset();
        }
        t.Commit();
    }
    EXPECT_TRUE(ConvertNumericPatientId(old));
    Database db(old);
    EXPECT_EQ(QueryInt(db,
                       "SELECT COUNT(*) FROM PatientBasic WHERE typeof(\"Patient ID\") = 'text' AND "
                       "\"Patient ID\" = CAST(\"PATIENT REC Num\" * 7 + 1000000 AS TEXT) AND "
                       "\"PATIENT LAST NAME\" = 'L' || \"PATIENT REC Num\""),
              10050);
    EXPECT_EQ(QueryInt(db, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'old_key'"), 1);
    Statement type(db, "SELECT type FROM pragma_table_info('PatientBasic') WHERE name = 'Patient ID'");
    ASSERT_TRUE(type.Step());
    EXPECT_EQ(type.Text(0), "TEXT");
    // Later openings leave it alone, and so does a database made as text.
    EXPECT_FALSE(ConvertNumericPatientId(old));
    EXPECT_FALSE(ConvertNumericPatientId(Path()));
}

TEST_P(Configuration, InstallCopiesOnceAndKeepsTheRestOfOptionsDat) {
    const fs::path empty = Dir() / "Empty.mdb";
    CreateEmptyDatabase(empty);
    WriteOptions("/a/much/longer/old/path/than/the/new/one/Patients.mdb\nInstitution line\n");
    const fs::path target = Dir() / "P.mdb";

    const InstallResult first = InstallDatabase(Options(), empty, target);
    EXPECT_EQ(first.outcome, InstallOutcome::Installed);
    EXPECT_EQ(ReadOptions(), target.string() + "\nInstitution line\n");
    EXPECT_EQ(ConfiguredDatabasePath(), target.string());
    EXPECT_EQ(TestDatabase(target.string()), DatabaseState::Works);

    // An existing file is kept as it is and still configured.
    {
        Database db(target.string());
        db.Execute("INSERT INTO PatientBasic (\"PATIENT REC Num\") VALUES (1)");
    }
    WriteOptions("Configure Database\n");
    EXPECT_EQ(InstallDatabase(Options(), empty, target).outcome, InstallOutcome::AlreadyExists);
    EXPECT_EQ(ReadOptions(), target.string() + "\n");
    Database db(target.string());
    EXPECT_EQ(QueryInt(db, "SELECT COUNT(*) FROM PatientBasic"), 1);

    // A copy that fails for another reason changes nothing.
    const std::string before = ReadOptions();
    const InstallResult failed = InstallDatabase(Options(), empty, Dir() / "no such folder" / "P.mdb");
    EXPECT_EQ(failed.outcome, InstallOutcome::CopyFailed);
    EXPECT_FALSE(failed.error.empty());
    EXPECT_EQ(ReadOptions(), before);
    EXPECT_EQ(ConfiguredDatabasePath(), target.string());
    EXPECT_EQ(InstallDatabase(Dir() / "none.dat", empty, target).outcome, InstallOutcome::OptionsUnreadable);
    EXPECT_EQ(FolderPart("C:\\Data\\Patients.mdb"), "C:\\Data\\");
    EXPECT_EQ(FolderPart("/srv/kinevo/Patients.mdb"), "/srv/kinevo/");
}

// The build writes the empty database and Options.dat beside the programs,
// this test program among them.
TEST(BuiltFiles, FirstStartNeedsNoConfiguring) {
    const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
    const std::optional<std::string> path = StartUpDatabasePath(bin / kOptionsFileName);
    ASSERT_TRUE(path);
    EXPECT_NE(*path, kDatabaseNotConfigured);
    EXPECT_NE(fs::canonical(*path), fs::canonical(bin / kEmptyDatabaseName));
    Database empty((bin / kEmptyDatabaseName).string());
    EXPECT_EQ(QueryInt(empty, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"), 6);
    EXPECT_EQ(QueryInt(empty, "SELECT COUNT(*) FROM PatientBasic"), 0);
}

TEST_P(Configuration, TheShippedEmptyDatabaseIsNeverTheTarget) {
    const fs::path empty = Dir() / "Patients.mdb.shipped";
    CreateEmptyDatabase(empty);
    WriteOptions("Configure Database\n");
    for (const fs::path& same : {empty, Dir() / "." / empty.filename()}) {
        EXPECT_EQ(InstallDatabase(Options(), empty, same).outcome, InstallOutcome::TargetIsSource);
        EXPECT_EQ(ReadOptions(), "Configure Database\n");
    }
}

TEST_P(Configuration, ALockedDatabaseIsBusyNotUnconfigured) {
    DatabaseBusyWaitMs() = 50;
    Database other(Path());
    other.Execute("BEGIN EXCLUSIVE");
    EXPECT_EQ(TestDatabase(Path()), DatabaseState::Busy);
    WriteOptions(Path() + "\n");
    EXPECT_EQ(StartUpDatabasePath(Options()), Path());
    try {
        Database db(Path());
        Transaction t(db);
        FAIL() << "a write went through a held lock";
    } catch (const DbError& e) {
        EXPECT_EQ(e.Fault(), DbFault::Busy);
        EXPECT_STREQ(e.what(), kDatabaseBusyText);
    }
    other.Execute("ROLLBACK");
    EXPECT_EQ(TestDatabase(Path()), DatabaseState::Works);
    EXPECT_EQ(TestDatabase((Dir() / "missing.mdb").string()), DatabaseState::NotConfigured);
    DatabaseBusyWaitMs() = 5000;
}

TEST_P(Configuration, MakeDbNeverWipesAPatientFile) {
    Db().Execute("INSERT INTO PatientBasic (\"PATIENT REC Num\", \"PATIENT LAST NAME\") VALUES (4, 'Kept')");
    std::string output;
    EXPECT_EQ(MakeDb("empty '" + Path() + "'", output), 1);
    EXPECT_EQ(MakeDb("empty --replace-empty '" + Path() + "'", output), 1);
    EXPECT_NE(output.find("was not changed"), std::string::npos) << output;
    EXPECT_EQ(Rows("PatientBasic"), 1);
    // Nor a file that is no database, with or without the flag.
    const fs::path notes = Dir() / "notes.mdb";
    std::ofstream(notes) << "notes";
    EXPECT_EQ(MakeDb("empty --replace-empty '" + notes.string() + "'", output), 1);
    EXPECT_EQ(fs::file_size(notes), 5u);

    // A new file is made for its owner alone; the build may remake it while empty.
    const mode_t mask = umask(022);
    const fs::path made = Dir() / "made.mdb";
    output.clear();
    EXPECT_EQ(MakeDb("empty '" + made.string() + "'", output), 0) << output;
    EXPECT_EQ(fs::status(made).permissions(), kOwnerOnly);
    EXPECT_EQ(MakeDb("empty '" + made.string() + "'", output), 1);
    EXPECT_EQ(MakeDb("empty --replace-empty '" + made.string() + "'", output), 0) << output;
    EXPECT_EQ(TestDatabase(made.string()), DatabaseState::Works);
    umask(mask);
}

TEST_P(Configuration, PatientFilesAndTheirFoldersAreTheOwnersAlone) {
    const mode_t mask = umask(022);
    const fs::path empty = Dir() / "Empty.mdb";
    CreateEmptyDatabase(empty);
    const fs::path options = Dir() / "config/kinevo/Options.dat", working = Dir() / "data/kinevo/Patients.mdb";
    WriteFirstStartFiles(empty, options, working);
    for (const fs::path& file : {options, working}) EXPECT_EQ(fs::status(file).permissions(), kOwnerOnly) << file;
    for (const fs::path& folder : {Dir() / "config", options.parent_path(), Dir() / "data", working.parent_path()})
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all) << folder;

    // Files that are there keep their rights; a rewritten Options.dat too.
    const auto shared = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(options, shared);
    fs::remove(working);
    WriteFirstStartFiles(empty, options, working);
    EXPECT_EQ(fs::status(options).permissions(), shared);
    EXPECT_EQ(InstallDatabase(options, empty, Dir() / "P.mdb").outcome, InstallOutcome::Installed);
    EXPECT_EQ(fs::status(Dir() / "P.mdb").permissions(), kOwnerOnly);
    EXPECT_EQ(fs::status(options).permissions(), shared);
    umask(mask);
}

// Options.dat, files and their locks: the embedded engine only.
INSTANTIATE_TEST_SUITE_P(Engine, Configuration, ::testing::Values(SqlEngine::SQLite), EngineName);
