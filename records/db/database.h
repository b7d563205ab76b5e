#pragma once
// Access to the patient database: an SQLite file, or a PostgreSQL server
// when the location is a postgresql:// connection URI (the engines are in
// engines/, their SQL differences in engines/sql_dialect.h).
//
//   Database db(location);             opens an existing file read-write (never creates
//                                      one), or connects to the server
//   Statement s(db, "SELECT ... WHERE \"Case number\" = ?");
//   s.Bind(1, 5); while (s.Step()) s.Int(0), s.Text(1) ...
//   Transaction t(db); ... t.Commit();  one writer at a time; rolled back unless committed
//
// User text only ever reaches SQL through Bind. Errors throw DbError with the
// engine's message.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "records/db/db_error.h"

class Connection;
class Cursor;

// How long a statement waits for another program's lock before it fails
// with DbFault::Busy (milliseconds; every Database opened after a change).
int& DatabaseBusyWaitMs();

using SqlValue = std::variant<std::monostate, std::int64_t, double, std::string>;

enum class SqlEngine { SQLite, PostgreSQL };

class Database {
public:
    // Opens an existing database file. A missing file is an error, and so is
    // a file that is not a database (found at the first statement). A
    // postgresql:// location connects to that server instead; a server that
    // cannot be reached is DbFault::Unreachable, one that refuses the user
    // DbFault::LoginRefused, each in words naming the server.
    explicit Database(const std::filesystem::path& location);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs statements that take no parameters (schema texts, BEGIN ...).
    void Execute(const std::string& sql);
    SqlEngine Engine() const;
    Connection& Link() { return *connection_; }

private:
    std::unique_ptr<Connection> connection_;
};

class Statement {
public:
    Statement(Database& db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters count from 1, as in SQL.
    Statement& Bind(int index, const SqlValue& value);
    Statement& BindAll(const std::vector<SqlValue>& values);
    // True while a row is ready; false when done.
    bool Step();
    void Reset();

    int ColumnCount() const;
    std::string ColumnName(int col) const;
    bool IsNull(int col) const;
    std::int64_t Int(int col) const;
    double Real(int col) const;
    std::string Text(int col) const;

private:
    std::unique_ptr<Cursor> cursor_;
};

// One write transaction. It holds off every other writer from its start
// (SQLite: BEGIN IMMEDIATE; a server: a lock on PatientBasic), so the
// largest-key reads and the patient check inside it cannot race another
// workstation.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    Database& db_;
    bool open_ = true;
};

// How a postgresql:// location is shown to the user: host, port and
// database, never the password.
std::string ServerName(const std::string& location);

// A single value of a query that returns one row (0 when it returns none).
std::int64_t QueryInt(Database& db, const std::string& sql, const std::vector<SqlValue>& params = {});

// The text with LIKE's own characters escaped for ESCAPE '\', and "%" after
// it: the typed text becomes a literal prefix.
std::string LikePrefix(const std::string& typed);
