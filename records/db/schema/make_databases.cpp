// Build step: writes the empty database beside the programs, then the files
// a first start needs (see WriteFirstStartFiles).
//   kinevo-makedb empty <file>
//   kinevo-makedb first-start <folder>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "records/db/schema/empty_database.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 3) {
        std::fprintf(stderr, "usage: kinevo-makedb empty <file> | first-start <folder>\n");
        return 2;
    }
    try {
        const std::string mode = argv[1];
        const fs::path target = argv[2];
        if (mode == "empty") {
            // Built aside and moved in, so an interrupted build leaves no half file.
            const fs::path temp = target.string() + ".new";
            fs::remove(temp);
            CreateEmptyDatabase(temp);
            fs::rename(temp, target);
        } else if (mode == "first-start") {
            WriteFirstStartFiles(target / kEmptyDatabaseName, target / kOptionsFileName,
                                 target / kDefaultDatabaseFolder / kEmptyDatabaseName);
        } else {
            std::fprintf(stderr, "kinevo-makedb: unknown mode %s\n", mode.c_str());
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kinevo-makedb: %s\n", e.what());
        return 1;
    }
    return 0;
}
