#pragma once
// A patient database on a PostgreSQL server: its tables made on an empty
// database, or a patient database file copied into it.
#include <filesystem>
#include <string>
#include <vector>

#include "records/db/database.h"

// The six tables, in the order of the schema.
const std::vector<std::string>& PatientTables();

// Makes the six empty tables. Refuses (DbError) when the database holds a
// PatientBasic table already, so patients are never replaced.
void CreateServerSchema(Database& server);

struct CopiedTable {
    std::string table;
    long rows = 0;
};

// Makes the tables on `server` and copies every row of the database file
// into them, then reads both back and compares the row counts and every
// value, all in one transaction: a copy that differs anywhere is rolled
// back and reported (DbError), leaving the server database as it was.
std::vector<CopiedTable> CopyIntoServer(const std::filesystem::path& file, Database& server);
