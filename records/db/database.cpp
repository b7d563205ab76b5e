#include "records/db/database.h"

#include <cstdlib>

#include "records/db/engines/connection.h"
#include "records/db/engines/sql_dialect.h"

int& DatabaseBusyWaitMs() {
    // Another workstation's save takes milliseconds; a lock held this long
    // is someone's long work, and the user is told to try again.
    static int wait = 5000;
    return wait;
}

Database::Database(const std::filesystem::path& location)
    : connection_(IsServerLocation(location.string()) ? OpenPostgres(location.string())
                                                      : OpenSqlite(location.string())) {}

Database::~Database() = default;

void Database::Execute(const std::string& sql) { connection_->Execute(sql); }

SqlEngine Database::Engine() const { return connection_->Engine(); }

Statement::Statement(Database& db, const std::string& sql) : cursor_(db.Link().Prepare(sql)) {}

Statement::~Statement() = default;

Statement& Statement::Bind(int index, const SqlValue& value) {
    cursor_->Bind(index, value);
    return *this;
}

Statement& Statement::BindAll(const std::vector<SqlValue>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i) + 1, values[i]);
    return *this;
}

bool Statement::Step() { return cursor_->Step(); }
void Statement::Reset() { cursor_->Reset(); }
int Statement::ColumnCount() const { return cursor_->ColumnCount(); }
std::string Statement::ColumnName(int col) const { return cursor_->ColumnName(col); }
bool Statement::IsNull(int col) const { return cursor_->IsNull(col); }
// Numbers are read from their text, as both engines give it.
std::int64_t Statement::Int(int col) const { return std::strtoll(Text(col).c_str(), nullptr, 10); }
double Statement::Real(int col) const { return std::strtod(Text(col).c_str(), nullptr); }
std::string Statement::Text(int col) const { return cursor_->Text(col); }

Transaction::Transaction(Database& db) : db_(db) { db_.Link().BeginWrite(); }

Transaction::~Transaction() {
    // A failed step leaves the transaction open; undo all of it.
    if (open_) db_.Link().Rollback();
}

void Transaction::Commit() {
    db_.Link().Commit();
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
