// Build step and set-up tool: writes the empty database beside the programs,
// the files a first start needs (see WriteFirstStartFiles), and sets up a
// database server for several workstations.
//   kinevo-makedb empty <file>                  refuses a file that is there already
//   kinevo-makedb empty --replace-empty <file>  also replaces a database holding no rows
//                                               (the build's own empty copy, remade)
//   kinevo-makedb empty postgresql://...        the tables on an empty server database
//   kinevo-makedb first-start <folder>
//   kinevo-makedb copy <file> postgresql://...  the tables, then every row of the file
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "records/db/engines/sql_dialect.h"
#include "records/db/schema/empty_database.h"
#include "records/db/schema/server_database.h"

namespace {
namespace fs = std::filesystem;

// A database file whose tables hold no row at all: nothing in it can be lost.
// A file that is no database is judged to hold something.
bool HoldsNoRows(const std::string& file) {
    try {
        Database db(file);
        std::vector<std::string> tables;
        Statement s(db, "SELECT name FROM sqlite_master WHERE type = 'table'");
        while (s.Step()) tables.push_back(s.Text(0));
        for (const std::string& table : tables) {
            std::string quoted;
            for (const char c : table) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            if (QueryInt(db, "SELECT COUNT(*) FROM \"" + quoted + "\"") != 0) return false;
        }
        return true;
    } catch (const DbError&) {
        return false;
    }
}

void MakeEmpty(const std::string& target, bool replaceEmpty) {
    if (IsServerLocation(target)) {
        Database server(target);
        CreateServerSchema(server);
        return;
    }
    if (fs::exists(target) && !(replaceEmpty && fs::is_regular_file(target) && HoldsNoRows(target)))
        throw std::runtime_error(target + " is there already and was not changed" +
                                 (replaceEmpty ? ": it is not an empty patient database" : ""));
    // Built aside and moved in, so an interrupted build leaves no half file.
    const fs::path temp = target + ".new";
    fs::remove(temp);
    CreateEmptyDatabase(temp);
    fs::rename(temp, target);
}

void Copy(const std::string& file, const std::string& target) {
    if (!fs::is_regular_file(file)) throw std::runtime_error("No database file at " + file);
    Database server(target);
    for (const CopiedTable& t : CopyIntoServer(file, server))
        std::printf("%-28s %8ld rows copied, every value checked\n", t.table.c_str(), t.rows);
}
}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool replaceEmpty = argc == 4 && mode == "empty" && std::string(argv[2]) == "--replace-empty";
    if (!((argc == 3 && (mode == "empty" || mode == "first-start")) || (argc == 4 && mode == "copy") || replaceEmpty)) {
        std::fprintf(stderr,
                     "usage: kinevo-makedb empty [--replace-empty] <file | postgresql://...> | first-start <folder>\n"
                     "       kinevo-makedb copy <file> postgresql://...\n");
        return 2;
    }
    try {
        if (mode == "empty") MakeEmpty(argv[argc - 1], replaceEmpty);
        else if (mode == "first-start") {
            const fs::path folder = argv[2];
            WriteFirstStartFiles(folder / kEmptyDatabaseName, folder / kOptionsFileName,
                                 folder / kDefaultDatabaseFolder / kEmptyDatabaseName);
        } else Copy(argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kinevo-makedb: %s\n", e.what());
        return 1;
    }
    return 0;
}
