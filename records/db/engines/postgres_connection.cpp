// A PostgreSQL server shared by several workstations, through libpq.
// Values travel as text both ways, and the server infers each parameter's
// kind from where it stands, as SQLite's affinity does.
#include <libpq-fe.h>

#include <charconv>
#include <optional>
#include <vector>

#include "records/db/engines/connection.h"
#include "records/db/engines/sql_dialect.h"

namespace {

std::string Trimmed(const char* text) {
    std::string s = text ? text : "";
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s;
}

// Lock waits past the busy wait and deadlocks may clear when tried again; a
// dropped connection is the network's or the server's fault, not the data's.
[[noreturn]] void Fail(PGconn* conn, const PGresult* result) {
    const std::string text = Trimmed(result ? PQresultErrorMessage(result) : PQerrorMessage(conn));
    if (PQstatus(conn) == CONNECTION_BAD)
        throw DbError(std::string(kServerUnreachableText) + "\n(" + text + ")", DbFault::Unreachable);
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const std::string code = state ? state : "";
    if (code == "55P03" || code == "40P01") throw DbError(kDatabaseBusyText, DbFault::Busy);
    // The message itself, as SQLite gives it, without "ERROR:" and context.
    const char* primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    throw DbError(primary ? primary : text);
}

struct Result {
    PGresult* r = nullptr;
    Result() = default;
    explicit Result(PGresult* result) : r(result) {}
    Result(const Result&) = delete;
    Result& operator=(Result&& o) noexcept {
        std::swap(r, o.r);
        return *this;
    }
    ~Result() { PQclear(r); }
};

void Check(PGconn* conn, const Result& result) {
    const ExecStatusType status = PQresultStatus(result.r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) Fail(conn, result.r);
}

std::optional<std::string> ParameterText(const SqlValue& value) {
    if (std::holds_alternative<std::monostate>(value)) return std::nullopt;
    if (const auto* i = std::get_if<std::int64_t>(&value)) return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&value)) {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, *d).ptr;
        return std::string(text, end);
    }
    return std::get<std::string>(value);
}

class PostgresCursor : public Cursor {
public:
    PostgresCursor(PGconn* conn, const std::string& sql) : conn_(conn), sql_(NumberedPlaceholders(sql)) {}

    void Bind(int index, const SqlValue& value) override {
        if (index < 1) throw DbError("Parameter index out of range.");
        if (params_.size() < static_cast<std::size_t>(index)) params_.resize(index);
        params_[index - 1] = ParameterText(value);
    }

    // The statement runs at the first step; its rows are then read in turn.
    bool Step() override {
        if (!result_.r) {
            std::vector<const char*> values;
            for (const auto& p : params_) values.push_back(p ? p->c_str() : nullptr);
            result_ = Result(PQexecParams(conn_, sql_.c_str(), static_cast<int>(values.size()), nullptr,
                                          values.data(), nullptr, nullptr, 0));
            Check(conn_, result_);
            row_ = 0;
        } else {
            ++row_;
        }
        return row_ < PQntuples(result_.r);
    }

    void Reset() override {
        result_ = Result();
        params_.clear();
    }

    int ColumnCount() const override { return result_.r ? PQnfields(result_.r) : 0; }
    std::string ColumnName(int col) const override { return PQfname(result_.r, col); }
    bool IsNull(int col) const override { return PQgetisnull(result_.r, row_, col) != 0; }
    std::string Text(int col) const override {
        return std::string(PQgetvalue(result_.r, row_, col), PQgetlength(result_.r, row_, col));
    }

private:
    PGconn* conn_;
    std::string sql_;
    std::vector<std::optional<std::string>> params_;
    Result result_;
    int row_ = 0;
};

class PostgresConnection : public Connection {
public:
    explicit PostgresConnection(const std::string& uri) {
        const char* keys[] = {"dbname", "client_encoding", "connect_timeout", nullptr};
        const char* values[] = {uri.c_str(), "UTF8", "10", nullptr};
        conn_ = PQconnectdbParams(keys, values, 1);
        if (PQstatus(conn_) != CONNECTION_OK) {
            const std::string text = Trimmed(PQerrorMessage(conn_));
            PQfinish(conn_);
            throw DbError(std::string(kServerUnreachableText) + "\n(" + text + ")", DbFault::Unreachable);
        }
        // The server's notices are for its log, not the user's terminal.
        PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
        Execute("SET lock_timeout = " + std::to_string(DatabaseBusyWaitMs()));
    }
    ~PostgresConnection() override { PQfinish(conn_); }

    SqlEngine Engine() const override { return SqlEngine::PostgreSQL; }

    void Execute(const std::string& sql) override { Check(conn_, Result(PQexec(conn_, sql.c_str()))); }

    std::unique_ptr<Cursor> Prepare(const std::string& sql) override {
        return std::make_unique<PostgresCursor>(conn_, sql);
    }

    // Every write takes this lock first, so writers go one at a time as on
    // an SQLite file; readers never wait for it.
    void BeginWrite() override {
        Execute("BEGIN");
        try {
            Execute("LOCK TABLE \"PatientBasic\" IN SHARE ROW EXCLUSIVE MODE");
        } catch (...) {
            Rollback();
            throw;
        }
    }

    // A transaction that failed on the server ends in ROLLBACK even when
    // asked to commit: that must not pass for saved.
    void Commit() override {
        const Result result(PQexec(conn_, "COMMIT"));
        if (PQstatus(conn_) == CONNECTION_BAD) throw DbError(kServerLostAtCommitText, DbFault::Unreachable);
        Check(conn_, result);
        if (std::string(PQcmdStatus(result.r)) != "COMMIT") throw DbError("The transaction was rolled back.");
    }

    void Rollback() noexcept override { PQclear(PQexec(conn_, "ROLLBACK")); }

private:
    PGconn* conn_ = nullptr;
};
}  // namespace

std::unique_ptr<Connection> OpenPostgres(const std::string& uri) { return std::make_unique<PostgresConnection>(uri); }
