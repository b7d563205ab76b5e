// The embedded engine: one SQLite file.
#include <sqlite3.h>

#include "records/db/engines/connection.h"

namespace {

bool Busy(sqlite3* db) {
    const int code = sqlite3_errcode(db) & 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

// A lock held by another program past the wait gets words the user can act on.
[[noreturn]] void Fail(sqlite3* db, const std::string& engineText) {
    if (Busy(db)) throw DbError(kDatabaseBusyText, DbFault::Busy);
    throw DbError(engineText);
}

[[noreturn]] void Fail(sqlite3* db) { Fail(db, sqlite3_errmsg(db)); }

class SqliteCursor : public Cursor {
public:
    SqliteCursor(sqlite3* db, const std::string& sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) Fail(db);
    }
    ~SqliteCursor() override { sqlite3_finalize(stmt_); }

    void Bind(int index, const SqlValue& value) override {
        int rc = SQLITE_OK;
        if (std::holds_alternative<std::monostate>(value)) rc = sqlite3_bind_null(stmt_, index);
        else if (const auto* i = std::get_if<std::int64_t>(&value)) rc = sqlite3_bind_int64(stmt_, index, *i);
        else if (const auto* d = std::get_if<double>(&value)) rc = sqlite3_bind_double(stmt_, index, *d);
        else {
            const std::string& s = std::get<std::string>(value);
            rc = sqlite3_bind_text(stmt_, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) Fail(db_);
    }

    bool Step() override {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        Fail(db_);
    }

    void Reset() override {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

    int ColumnCount() const override { return sqlite3_column_count(stmt_); }
    std::string ColumnName(int col) const override { return sqlite3_column_name(stmt_, col); }
    bool IsNull(int col) const override { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }
    std::string Text(int col) const override {
        const auto* text = sqlite3_column_text(stmt_, col);
        return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt_, col))
                    : std::string();
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class SqliteConnection : public Connection {
public:
    explicit SqliteConnection(const std::string& path) {
        const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) {
            const std::string text = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            sqlite3_close(db_);
            throw DbError(text + ": " + path);
        }
        sqlite3_busy_timeout(db_, DatabaseBusyWaitMs());
        // A double-quoted name that matches no column must be an error, never a
        // string: every column name here is written in double quotes.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    }
    ~SqliteConnection() override { sqlite3_close_v2(db_); }

    SqlEngine Engine() const override { return SqlEngine::SQLite; }

    void Execute(const std::string& sql) override {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message ? message : sqlite3_errmsg(db_);
            sqlite3_free(message);
            Fail(db_, text);
        }
    }

    std::unique_ptr<Cursor> Prepare(const std::string& sql) override {
        return std::make_unique<SqliteCursor>(db_, sql);
    }

    // The write lock at once, not at the first write.
    void BeginWrite() override { Execute("BEGIN IMMEDIATE"); }
    void Commit() override { Execute("COMMIT"); }
    void Rollback() noexcept override { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

private:
    sqlite3* db_ = nullptr;
};
}  // namespace

std::unique_ptr<Connection> OpenSqlite(const std::string& path) { return std::make_unique<SqliteConnection>(path); }
