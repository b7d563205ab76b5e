#include "records/db/configuration.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "records/db/database.h"
#include "records/db/record_sets.h"
#include "records/db/schema/empty_database.h"
#include "records/db/schema/private_files.h"

namespace fs = std::filesystem;

namespace {
std::string TrimRight(std::string s) {
    const auto end = s.find_last_not_of(" \t\r\n\f\v");
    s.erase(end == std::string::npos ? 0 : end + 1);
    return s;
}

// SQLite's names are blind to ASCII case.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<std::string> ReadWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return text.str();
}
}  // namespace

ProgramFiles ProgramFiles::In(const fs::path& folder) {
    return {folder / kOptionsFileName, folder / kEmptyDatabaseName};
}

std::string& ConfiguredDatabasePath() {
    static std::string path = kDatabaseNotConfigured;
    return path;
}

std::optional<std::string> ReadConfiguredPath(const fs::path& optionsFile) {
    std::ifstream in(optionsFile);
    if (!in || fs::is_directory(optionsFile)) return std::nullopt;
    std::string line;
    std::getline(in, line);
    if (in.bad()) return std::nullopt;
    // A byte-order mark left by a Windows editor is not part of the path.
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    line = TrimRight(line);
    if (line == kConfigureDatabaseLine) return std::string(kDatabaseNotConfigured);
    return line;
}

DatabaseState TestDatabase(const std::string& path, std::string* problem) {
    if (path.empty() || path == kDatabaseNotConfigured) return DatabaseState::NotConfigured;
    try {
        Database db(path);
        Cpbasicset basic;
        basic.Open(db);
        return DatabaseState::Works;
    } catch (const DbError& e) {
        if (problem) *problem = e.what();
        switch (e.Fault()) {
            case DbFault::Busy: return DatabaseState::Busy;
            case DbFault::Unreachable:
            case DbFault::LoginRefused: return DatabaseState::ServerUnavailable;
            default: return DatabaseState::NotConfigured;
        }
    }
}

std::string& StartUpProblem() {
    static std::string problem;
    return problem;
}

std::optional<std::string> StartUpDatabasePath(const fs::path& optionsFile) {
    std::optional<std::string> path = ReadConfiguredPath(optionsFile);
    if (!path) return std::nullopt;
    std::string problem;
    const DatabaseState state = TestDatabase(*path, &problem);
    if (state == DatabaseState::NotConfigured) *path = kDatabaseNotConfigured;
    StartUpProblem() = state == DatabaseState::ServerUnavailable ? problem : std::string();
    ConfiguredDatabasePath() = *path;
    return path;
}

bool ConvertNumericPatientId(const std::string& path) {
    Database db(path);
    // A server's tables are made by kinevo-makedb, with the ID as text.
    if (db.Engine() != SqlEngine::SQLite) return false;
    struct Column {
        std::string name, type;
        bool notNull;
    };
    std::vector<Column> columns;
    bool numericId = false;
    {
        Statement info(db, "PRAGMA table_info(\"PatientBasic\")");
        while (info.Step()) {
            Column c{info.Text(1), info.Text(2), info.Int(3) != 0};
            std::string upper;
            for (const char ch : c.type) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            // SQLite's own rule: a declared type containing INT holds integers.
            if (SameName(c.name, "Patient ID")) numericId = upper.find("INT") != std::string::npos;
            columns.push_back(c);
        }
    }
    if (!numericId) return false;

    Transaction t(db);
    std::vector<std::string> indexes;
    {
        Statement s(db,
                    "SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = 'PatientBasic' "
                    "AND sql IS NOT NULL");
        while (s.Step()) indexes.push_back(s.Text(0));
    }
    // SQLite cannot change a column's kind in place: build the table anew
    // with the same columns and rows, the ID as text, then swap it in.
    std::string create = "CREATE TABLE \"PatientBasic converted\" (";
    std::string names = "rowid", values = "rowid";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        std::string quoted = "\"";
        for (const char ch : c.name) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        quoted += "\"";
        const bool isId = SameName(c.name, "Patient ID");
        create +=
            (i ? ", " : "") + quoted + " " + (isId ? std::string("TEXT") : c.type) + (c.notNull ? " NOT NULL" : "");
        names += ", " + quoted;
        values += ", " + (isId ? "CAST(" + quoted + " AS TEXT)" : quoted);
    }
    db.Execute(create + ")");
    db.Execute("INSERT INTO \"PatientBasic converted\" (" + names + ") SELECT " + values +
               " FROM \"PatientBasic\" ORDER BY rowid");
    db.Execute("DROP TABLE \"PatientBasic\"");
    db.Execute("ALTER TABLE \"PatientBasic converted\" RENAME TO \"PatientBasic\"");
    for (const std::string& sql : indexes) db.Execute(sql);
    t.Commit();
    return true;
}

InstallResult InstallDatabase(const fs::path& optionsFile, const fs::path& source, const fs::path& target) {
    const std::optional<std::string> options = ReadWhole(optionsFile);
    if (!options) return {InstallOutcome::OptionsUnreadable, {}};
    std::error_code error;
    // Patients kept in the shipped empty database would be copied into every
    // database installed after them.
    if (fs::equivalent(source, target, error)) return {InstallOutcome::TargetIsSource, {}};
    // Copy first: Options.dat only ever names a file that is there.
    bool copied = false;
    try {
        copied = CopyToNewFile(source, target);
        if (!copied) error = std::make_error_code(std::errc::file_exists);
    } catch (const fs::filesystem_error& e) {
        error = e.code();
    }
    if (!copied && !fs::is_regular_file(target)) return {InstallOutcome::CopyFailed, error.message()};

    const auto lineEnd = options->find('\n');
    const std::string rest = lineEnd == std::string::npos ? std::string() : options->substr(lineEnd + 1);
    // Written aside and moved in, so a shorter path leaves no tail of the
    // old line and a failure leaves the old file whole; with the old file's
    // access rights, which the user may have set.
    const fs::path temp = optionsFile.string() + ".new";
    try {
        fs::remove(temp);
        WriteNewFile(temp, target.string() + "\n" + rest, fs::status(optionsFile).permissions());
    } catch (const fs::filesystem_error&) {
        return {InstallOutcome::OptionsUnreadable, {}};
    }
    fs::rename(temp, optionsFile, error);
    if (error) {
        fs::remove(temp);
        return {InstallOutcome::OptionsUnreadable, {}};
    }
    ConfiguredDatabasePath() = target.string();
    return {copied ? InstallOutcome::Installed : InstallOutcome::AlreadyExists, {}};
}

std::string FolderPart(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
