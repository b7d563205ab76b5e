// Where start-up keeps Options.dat and the working database: beside a build
// or portable copy, in the user's XDG folders for an installed program.
#include <QTest>
#include <cstdlib>
#include <fstream>

#include "app/program_files.h"
#include "app/startup.h"
#include "pages/patient/welcome_page.h"
#include "records/db/schema/empty_database.h"
#include "tests/pages/page_test_support.h"

namespace fs = std::filesystem;

namespace {
std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
}  // namespace

class ProgramFilesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;

    UserFolders User() const { return {env->Dir() / "home/config/kinevo", env->Dir() / "home/data/kinevo"}; }
    // `folder` under the test's folder, holding the empty database as `shipped`.
    fs::path Folder(const std::string& folder, const std::string& shipped) {
        fs::create_directories(env->Dir() / folder);
        fs::create_directories((env->Dir() / shipped).parent_path());
        CreateEmptyDatabase(env->Dir() / shipped);
        return env->Dir() / folder;
    }

private slots:
    void init() { env = std::make_unique<PageTestEnvironment>(); }
    void cleanup() { env.reset(); }

    void aBuildOrWritablePortableCopyKeepsOptionsBesideIt() {
        const fs::path program = Folder("portable", "portable/Patients.mdb");
        const ProgramFiles files = SetUpProgramFiles(program, true, User());
        QCOMPARE(files.optionsFile, program / "Options.dat");
        QCOMPARE(files.emptyDatabase, program / "Patients.mdb");
        QCOMPARE(FileText(files.optionsFile), (program / "data/Patients.mdb").string() + "\n");
        QVERIFY(TestDatabase((program / "data/Patients.mdb").string()) == DatabaseState::Works);
        // A folder holding Options.dat keeps it, writable or not.
        env->WriteFile("Options.dat", "Configure Database\n");
        QCOMPARE(SetUpProgramFiles(env->Dir(), false, User()).optionsFile, env->Dir() / "Options.dat");
        QCOMPARE(FileText(env->Dir() / "Options.dat"), std::string("Configure Database\n"));
        QVERIFY(!fs::exists(env->Dir() / "home"));
    }

    void anInstalledOrReadOnlyProgramUsesTheUsersFolders() {
        const fs::path shipped = env->Dir() / "usr/share/kinevo/Patients.mdb";
        const fs::path working = User().data / "Patients.mdb";
        // Writable, as an installed folder is to root: still the user's folders.
        const fs::path bin = Folder("usr/bin", "usr/share/kinevo/Patients.mdb");
        ProgramFiles files = SetUpProgramFiles(bin, true, User());
        QCOMPARE(files.optionsFile, User().config / "Options.dat");
        QCOMPARE(files.emptyDatabase, shipped);
        QCOMPARE(FileText(files.optionsFile), working.string() + "\n");
        QCOMPARE(FileText(working), FileText(shipped));
        QVERIFY(!fs::exists(bin / "Options.dat"));
        QVERIFY(ReadStartUpConfiguration(files.optionsFile));
        QCOMPARE(ConfiguredDatabasePath(), working.string());

        // A later start replaces neither file.
        std::ofstream(files.optionsFile) << "Configure Database\n";
        std::ofstream(working) << "patients";
        SetUpProgramFiles(bin, true, User());
        QCOMPARE(FileText(files.optionsFile), std::string("Configure Database\n"));
        QCOMPARE(FileText(working), std::string("patients"));

        // A portable copy the program may not write to.
        fs::remove_all(env->Dir() / "home");
        const fs::path portable = Folder("cd", "cd/Patients.mdb");
        files = SetUpProgramFiles(portable, false, User());
        QCOMPARE(files.optionsFile, User().config / "Options.dat");
        QCOMPARE(files.emptyDatabase, portable / "Patients.mdb");
        QVERIFY(!fs::exists(portable / "Options.dat"));

        // Without a home nothing is made: start-up reports the missing Options.dat.
        fs::remove_all(env->Dir() / "home");
        QVERIFY(!ReadStartUpConfiguration(SetUpProgramFiles(bin, true, std::nullopt).optionsFile));
        QVERIFY(!fs::exists(bin / "Options.dat"));
    }

    void userFoldersFollowTheXdgVariables() {
        setenv("XDG_CONFIG_HOME", "/c", 1);
        setenv("XDG_DATA_HOME", "/d", 1);
        QCOMPARE(UserFoldersFromEnvironment().value().config, fs::path("/c/kinevo"));
        QCOMPARE(UserFoldersFromEnvironment().value().data, fs::path("/d/kinevo"));
        // Empty or relative ones count as unset: the home folder's defaults.
        setenv("XDG_CONFIG_HOME", "relative", 1);
        setenv("XDG_DATA_HOME", "", 1);
        const std::string home = qgetenv("HOME").toStdString();
        QCOMPARE(UserFoldersFromEnvironment().value().config, fs::path(home + "/.config/kinevo"));
        QCOMPARE(UserFoldersFromEnvironment().value().data, fs::path(home + "/.local/share/kinevo"));
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
    }

    void configureDatabaseRewritesTheUsersOptions() {
        const ProgramFiles files = SetUpProgramFiles(Folder("usr/bin", "usr/share/kinevo/Patients.mdb"), true, User());
        QVERIFY(ReadStartUpConfiguration(files.optionsFile));
        WelcomePage welcome(files, [](int) { return 0; });
        welcome.Open();
        const fs::path target = env->Dir() / "elsewhere.mdb";
        env->prompts.answers = {true, true};  // set up a new one; install it there
        env->prompts.paths = {QString::fromStdString(target.string())};
        Click(&welcome, "configureDatabase");
        QCOMPARE(env->prompts.Texts().last(), QString("The Kinevo database was successfully installed."));
        QCOMPARE(FileText(files.optionsFile), target.string() + "\n");
        QCOMPARE(FileText(target), FileText(files.emptyDatabase));
    }
};

QTEST_MAIN(ProgramFilesTest)
#include "program_files_test.moc"
