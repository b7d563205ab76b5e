#include "records/db/database.h"

#include <sqlite3.h>

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
}  // namespace

int& DatabaseBusyWaitMs() {
    // Another workstation's save takes milliseconds; a lock held this long
    // is someone's long work, and the user is told to try again.
    static int wait = 5000;
    return wait;
}

Database::Database(const std::filesystem::path& path) {
    const int rc = sqlite3_open_v2(path.string().c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string text = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw DbError(text + ": " + path.string());
    }
    sqlite3_busy_timeout(db_, DatabaseBusyWaitMs());
    // A double-quoted name that matches no column must be an error, never a
    // string: every column name here is written in double quotes.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

Database::~Database() { sqlite3_close_v2(db_); }

void Database::Execute(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        Fail(db_, text);
    }
}

std::int64_t Database::ChangedRows() const { return sqlite3_changes64(db_); }
std::int64_t Database::LastInsertRowId() const { return sqlite3_last_insert_rowid(db_); }

Statement::Statement(Database& db, const std::string& sql) : db_(db) {
    if (sqlite3_prepare_v2(db.Handle(), sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) Fail(db.Handle());
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::Bind(int index, const SqlValue& value) {
    int rc = SQLITE_OK;
    if (std::holds_alternative<std::monostate>(value))
        rc = sqlite3_bind_null(stmt_, index);
    else if (const auto* i = std::get_if<std::int64_t>(&value))
        rc = sqlite3_bind_int64(stmt_, index, *i);
    else if (const auto* d = std::get_if<double>(&value))
        rc = sqlite3_bind_double(stmt_, index, *d);
    else {
        const std::string& s = std::get<std::string>(value);
        rc = sqlite3_bind_text(stmt_, index, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) Fail(db_.Handle());
    return *this;
}

Statement& Statement::BindAll(const std::vector<SqlValue>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i) + 1, values[i]);
    return *this;
}

bool Statement::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_.Handle());
}

void Statement::Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::ColumnCount() const { return sqlite3_column_count(stmt_); }
std::string Statement::ColumnName(int col) const { return sqlite3_column_name(stmt_, col); }
bool Statement::IsNull(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }
std::int64_t Statement::Int(int col) const { return sqlite3_column_int64(stmt_, col); }
double Statement::Real(int col) const { return sqlite3_column_double(stmt_, col); }

std::string Statement::Text(int col) const {
    const auto* text = sqlite3_column_text(stmt_, col);
    return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt_, col)) : std::string();
}

Transaction::Transaction(Database& db) : db_(db) { db_.Execute("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    // A failed step leaves the transaction open; undo all of it.
    if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
    db_.Execute("COMMIT");
    open_ = false;
}

std::int64_t QueryInt(Database& db, const std::string& sql, const std::vector<SqlValue>& params) {
    Statement s(db, sql);
    s.BindAll(params);
    return s.Step() ? s.Int(0) : 0;
}

std::string LikePrefix(const std::string& typed) {
    std::string out;
    out.reserve(typed.size() + 1);
    for (const char c : typed) {
        if (c == '\\' || c == '%' || c == '_') out += '\\';
        out += c;
    }
    return out + "%";
}
