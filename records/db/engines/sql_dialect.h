#pragma once
// Where the SQL of the two engines differs. Everything else in records/db
// is written once, in SQL both engines read: column names in double quotes,
// exactly as stored, ? for each bound value, `1 = 0` for "no rows".
#include <string>

#include "records/db/database.h"

// A Options.dat first line naming a database server instead of a file.
bool IsServerLocation(const std::string& location);

// ?-placeholders become PostgreSQL's $1, $2 ... (quoted text left alone).
std::string NumberedPlaceholders(const std::string& sql);

// `column` matches a bound LIKE pattern (LikePrefix) blind to ASCII case,
// as SQLite's LIKE does.
std::string CaseBlindLike(SqlEngine engine, const std::string& quotedColumn);

// An ORDER BY term sorting `column` blind to ASCII case, as NOCASE does.
std::string CaseBlindOrder(SqlEngine engine, const std::string& quotedColumn);

// The schema of resources/patients_schema.sql for the engine. On a server
// each table gains the `rowid` SQLite keeps by itself (record sets find
// their rows by it), and text compares byte by byte as in SQLite.
std::string SchemaSqlFor(SqlEngine engine, const std::string& sqliteSchema);
