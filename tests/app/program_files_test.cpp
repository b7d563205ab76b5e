// Where start-up keeps Options.dat and the working database: beside a build
// or portable copy, in the user's XDG folders for an installed program.
#include <QTest>
#include <cstdlib>
#include <fstream>

#include "app/program_files.h"
#include "app/startup.h"
#include "pages/welcome_page.h"
#include "records/db/configuration.h"
#include "records/db/schema/empty_database.h"
#include "tests/pages/page_test_support.h"

namespace fs = std::filesystem;

namespace {
std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Sets or clears an environment variable for the life of the object.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~EnvironmentVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};
}  // namespace

class ProgramFilesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;

    fs::path Dir() const { return env->Dir(); }
    UserFolders User() const { return {Dir() / "home/config/kinevo", Dir() / "home/data/kinevo"}; }
    // The installed layout: the programs in usr/bin, the empty database in usr/share/kinevo.
    fs::path InstalledProgramDir() {
        fs::create_directories(Dir() / "usr/bin");
        fs::create_directories(Dir() / "usr/share/kinevo");
        CreateEmptyDatabase(Dir() / "usr/share/kinevo" / kEmptyDatabaseName);
        return Dir() / "usr/bin";
    }
    fs::path PortableProgramDir() {
        fs::create_directories(Dir() / "portable");
        CreateEmptyDatabase(Dir() / "portable" / kEmptyDatabaseName);
        return Dir() / "portable";
    }

private slots:
    void init() { env = std::make_unique<PageTestEnvironment>(); }
    void cleanup() { env.reset(); }

    void aWritableCopyWithItsEmptyDatabaseKeepsOptionsBesideIt() {
        const fs::path program = PortableProgramDir();
        const ProgramFiles files = SetUpProgramFiles(program, true, User());
        QCOMPARE(files.optionsFile, program / "Options.dat");
        QCOMPARE(files.emptyDatabase, program / "Patients.mdb");
        const fs::path working = program / "data/Patients.mdb";
        QCOMPARE(FileText(files.optionsFile), working.string() + "\n");
        QVERIFY(TestDatabase(working.string()) == DatabaseState::Works);
        QVERIFY(!fs::exists(Dir() / "home"));

        // A folder that already holds Options.dat keeps using it, writable or not.
        env->WriteFile("Options.dat", "Configure Database\n");
        QCOMPARE(SetUpProgramFiles(Dir(), false, User()).optionsFile, Dir() / "Options.dat");
        QCOMPARE(FileText(Dir() / "Options.dat"), std::string("Configure Database\n"));
        QVERIFY(!fs::exists(Dir() / "home"));
    }

    void anInstalledOrReadOnlyProgramUsesTheUsersFolders() {
        const fs::path shipped = Dir() / "usr/share/kinevo/Patients.mdb";
        const fs::path working = User().data / "Patients.mdb";
        // Writable as the installed folder is to root: still the user's folders.
        ProgramFiles files = SetUpProgramFiles(InstalledProgramDir(), true, User());
        QCOMPARE(files.optionsFile, User().config / "Options.dat");
        QCOMPARE(files.emptyDatabase.lexically_normal(), shipped);
        QCOMPARE(FileText(files.optionsFile), working.string() + "\n");
        QCOMPARE(FileText(working), FileText(shipped));
        QVERIFY(!fs::exists(Dir() / "usr/bin/Options.dat"));
        QVERIFY(ReadStartUpConfiguration(files.optionsFile));
        QCOMPARE(ConfiguredDatabasePath(), working.string());

        // A later start replaces neither file.
        std::ofstream(files.optionsFile) << "Configure Database\n";
        std::ofstream(working) << "patients";
        files = SetUpProgramFiles(Dir() / "usr/bin", true, User());
        QCOMPARE(FileText(files.optionsFile), std::string("Configure Database\n"));
        QCOMPARE(FileText(working), std::string("patients"));

        // A portable copy in a folder the program may not write to.
        const fs::path portable = PortableProgramDir();
        fs::remove_all(Dir() / "home");
        files = SetUpProgramFiles(portable, false, User());
        QCOMPARE(files.optionsFile, User().config / "Options.dat");
        QCOMPARE(files.emptyDatabase, portable / "Patients.mdb");
        QVERIFY(TestDatabase(working.string()) == DatabaseState::Works);
        QVERIFY(!fs::exists(portable / "Options.dat"));

        // Without a home there is nowhere to make them: start-up then
        // reports the missing Options.dat.
        fs::remove_all(Dir() / "home");
        files = SetUpProgramFiles(Dir() / "usr/bin", true, std::nullopt);
        QVERIFY(!fs::exists(files.optionsFile));
        QVERIFY(!ReadStartUpConfiguration(files.optionsFile));
    }

    void userFoldersFollowTheXdgVariables() {
        {
            EnvironmentVariable home("HOME", "/h"), config("XDG_CONFIG_HOME", "/c"), data("XDG_DATA_HOME", "/d");
            const std::optional<UserFolders> user = UserFoldersFromEnvironment();
            QVERIFY(user);
            QCOMPARE(user->config, fs::path("/c/kinevo"));
            QCOMPARE(user->data, fs::path("/d/kinevo"));
        }
        {
            // Unset, empty or relative XDG variables fall back to the home folder.
            EnvironmentVariable home("HOME", "/h"), config("XDG_CONFIG_HOME", "rel"), data("XDG_DATA_HOME", "");
            const std::optional<UserFolders> user = UserFoldersFromEnvironment();
            QVERIFY(user);
            QCOMPARE(user->config, fs::path("/h/.config/kinevo"));
            QCOMPARE(user->data, fs::path("/h/.local/share/kinevo"));
        }
        {
            EnvironmentVariable home("HOME", nullptr), config("XDG_CONFIG_HOME", "/c"), data("XDG_DATA_HOME", nullptr);
            QVERIFY(!UserFoldersFromEnvironment());
        }
    }

    void configureDatabaseRewritesTheUsersOptions() {
        const ProgramFiles files = SetUpProgramFiles(InstalledProgramDir(), true, User());
        QVERIFY(ReadStartUpConfiguration(files.optionsFile));
        WelcomePage welcome(files, [] { return 0; });
        welcome.Open();
        const fs::path target = Dir() / "elsewhere.mdb";
        env->prompts.answers = {true, true};  // set up a new one; install here
        env->prompts.paths = {QString::fromStdString(target.string())};
        Click(&welcome, "configureDatabase");
        QCOMPARE(env->prompts.Texts().last(), QString("The Kinevo database was successfully installed."));
        QCOMPARE(FileText(files.optionsFile), target.string() + "\n");
        QCOMPARE(FileText(target), FileText(files.emptyDatabase));
        QCOMPARE(ConfiguredDatabasePath(), target.string());
    }
};

QTEST_MAIN(ProgramFilesTest)
#include "program_files_test.moc"
