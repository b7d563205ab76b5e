#include "app/program_files.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "records/db/schema/empty_database.h"

namespace fs = std::filesystem;

namespace {
// An XDG variable counts only when it holds an absolute path.
std::optional<fs::path> AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !fs::path(value).is_absolute()) return std::nullopt;
    return fs::path(value);
}

// The shipped files lie beside the program in a build folder or a portable
// copy, and in share/kinevo when installed.
fs::path ShippedFilesFolder(const fs::path& programDir) {
    if (fs::exists(programDir / kEmptyDatabaseName)) return programDir;
    return (programDir / KINEVO_SHARED_FROM_PROGRAMS).lexically_normal();
}
}  // namespace

std::optional<UserFolders> UserFoldersFromEnvironment() {
    const std::optional<fs::path> home = AbsoluteFromEnvironment("HOME");
    std::optional<fs::path> config = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    std::optional<fs::path> data = AbsoluteFromEnvironment("XDG_DATA_HOME");
    if (!config && home) config = *home / ".config";
    if (!data && home) data = *home / ".local" / "share";
    if (!config || !data) return std::nullopt;
    return UserFolders{*config / "kinevo", *data / "kinevo"};
}

bool FolderIsWritable(const fs::path& folder) { return access(folder.c_str(), W_OK) == 0; }

ProgramFiles SetUpProgramFiles(const fs::path& programDir, bool programDirWritable,
                               const std::optional<UserFolders>& user) {
    const fs::path shipped = ShippedFilesFolder(programDir);
    ProgramFiles files = ProgramFiles::In(programDir);
    files.emptyDatabase = shipped / kEmptyDatabaseName;
    fs::path working = programDir / kDefaultDatabaseFolder / kEmptyDatabaseName;
    const bool beside = fs::exists(files.optionsFile) || (shipped == programDir && programDirWritable);
    if (!beside) {
        // Nowhere to make them: start-up reports the missing Options.dat.
        if (!user) return files;
        files.optionsFile = user->config / kOptionsFileName;
        working = user->data / kEmptyDatabaseName;
    }
    try {
        if (!fs::exists(files.optionsFile)) WriteFirstStartFiles(files.emptyDatabase, files.optionsFile, working);
    } catch (const std::exception& e) {
        std::cerr << "kinevo: " << e.what() << '\n';
    }
    return files;
}
