#include "records/db/schema/server_database.h"

#include <optional>

#include "records/db/engines/connection.h"
#include "records/db/engines/sql_dialect.h"
#include "records/db/schema/empty_database.h"

namespace {
std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

void RequireServer(Database& server) {
    if (server.Engine() != SqlEngine::PostgreSQL) throw DbError("The target must be a postgresql:// database.");
}

void MakeTables(Database& server) {
    if (QueryInt(server,
                 "SELECT COUNT(*) FROM information_schema.tables "
                 "WHERE table_schema = current_schema() AND table_name = 'PatientBasic'") != 0)
        throw DbError("The server database holds patient tables already; nothing was changed.");
    server.Execute(SchemaSqlFor(SqlEngine::PostgreSQL, PatientsSchemaSql()));
}

using Row = std::vector<std::optional<std::string>>;

// Every row of a table in the order it was stored, each value as text.
std::vector<Row> ReadRows(Database& db, const std::string& table, std::vector<std::string>& columns) {
    std::string list;
    for (const std::string& c : columns) list += (list.empty() ? "" : ", ") + Quoted(c);
    Statement s(db,
                "SELECT " + (list.empty() ? std::string("*") : list) + " FROM " + Quoted(table) + " ORDER BY rowid");
    std::vector<Row> rows;
    while (s.Step()) {
        if (columns.empty())
            for (int i = 0; i < s.ColumnCount(); ++i) columns.push_back(s.ColumnName(i));
        Row row;
        for (int i = 0; i < s.ColumnCount(); ++i) row.push_back(s.IsNull(i) ? std::nullopt : std::optional(s.Text(i)));
        rows.push_back(std::move(row));
    }
    return rows;
}

void InsertRows(Database& server, const std::string& table, const std::vector<std::string>& columns,
                const std::vector<Row>& rows) {
    std::string names, marks;
    for (const std::string& c : columns) {
        names += (names.empty() ? "" : ", ") + Quoted(c);
        marks += marks.empty() ? "?" : ", ?";
    }
    for (const Row& row : rows) {
        Statement s(server, "INSERT INTO " + Quoted(table) + " (" + names + ") VALUES (" + marks + ")");
        for (std::size_t i = 0; i < row.size(); ++i)
            s.Bind(static_cast<int>(i) + 1, row[i] ? SqlValue(*row[i]) : SqlValue(std::monostate{}));
        s.Step();
    }
}

void CompareRows(const std::string& table, const std::vector<std::string>& columns, const std::vector<Row>& stored,
                 const std::vector<Row>& copied) {
    if (stored.size() != copied.size())
        throw DbError(table + ": " + std::to_string(stored.size()) + " rows in the file, " +
                      std::to_string(copied.size()) + " on the server; nothing was copied.");
    for (std::size_t r = 0; r < stored.size(); ++r)
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (stored[r][c] != copied[r][c])
                throw DbError(table + ", row " + std::to_string(r + 1) + ", column " + columns[c] + ": \"" +
                              stored[r][c].value_or("NULL") + "\" came back as \"" + copied[r][c].value_or("NULL") +
                              "\"; nothing was copied.");
}
}  // namespace

const std::vector<std::string>& PatientTables() {
    static const std::vector<std::string> tables = {"PatientBasic",
                                                    "PatientCase",
                                                    "PatientCase-dosing history",
                                                    "PatientCase-level history",
                                                    "PatientCase-parameter",
                                                    "PatientCase-User Choice"};
    return tables;
}

void CreateServerSchema(Database& server) {
    RequireServer(server);
    server.Execute("BEGIN");
    try {
        MakeTables(server);
        server.Link().Commit();
    } catch (...) {
        server.Link().Rollback();
        throw;
    }
}

std::vector<CopiedTable> CopyIntoServer(const std::filesystem::path& file, Database& server) {
    RequireServer(server);
    Database source(file);
    std::vector<CopiedTable> copied;
    server.Execute("BEGIN");
    try {
        MakeTables(server);
        for (const std::string& table : PatientTables()) {
            std::vector<std::string> columns;
            const std::vector<Row> rows = ReadRows(source, table, columns);
            InsertRows(server, table, columns, rows);
            CompareRows(table, columns, rows, ReadRows(server, table, columns));
            copied.push_back({table, static_cast<long>(rows.size())});
        }
        server.Link().Commit();
    } catch (...) {
        server.Link().Rollback();
        throw;
    }
    return copied;
}
