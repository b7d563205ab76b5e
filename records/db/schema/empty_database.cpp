#include "records/db/schema/empty_database.h"

#include <sqlite3.h>

#include <stdexcept>

#include "records/db/schema/private_files.h"

namespace fs = std::filesystem;

void CreateEmptyDatabase(const fs::path& path) {
    // Made first, owner-only, so SQLite fills this file and no other.
    if (!WriteNewFile(path, "")) throw std::runtime_error("Database file already exists: " + path.string());
    sqlite3* db = nullptr;
    std::string error;
    if (sqlite3_open_v2(path.string().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        fs::remove(path);
        throw std::runtime_error(error + ": " + path.string());
    }
    char* message = nullptr;
    const std::string sql = "BEGIN;\n" + PatientsSchemaSql() + "\nCOMMIT;";
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        error = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
    }
    sqlite3_close(db);
    if (!error.empty()) {
        fs::remove(path);
        throw std::runtime_error(error + ": " + path.string());
    }
}

void WriteFirstStartFiles(const fs::path& emptyDatabase, const fs::path& optionsFile, const fs::path& workingDatabase) {
    const fs::path working = fs::absolute(workingDatabase).lexically_normal();
    if (!fs::exists(working)) {
        MakePrivateFolders(working.parent_path());
        CopyToNewFile(emptyDatabase, working);
    }
    if (!fs::exists(optionsFile)) {
        MakePrivateFolders(fs::absolute(optionsFile).parent_path());
        WriteNewFile(optionsFile, working.string() + "\n");
    }
}
