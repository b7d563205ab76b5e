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

std::string Text(const char* text) { return text ? text : ""; }

// "db.example.org (port 5432, database kinevo)": the server as the user
// configured it, never with a password.
std::string ServerNamed(const std::string& host, const std::string& port, const std::string& database) {
    std::string name = host.empty() || host[0] == '/' ? "on this computer" : host;
    std::string details;
    if (!port.empty()) details = "port " + port;
    if (!database.empty()) details += (details.empty() ? "" : ", ") + std::string("database ") + database;
    return details.empty() ? name : name + " (" + details + ")";
}

std::string ServerOf(PGconn* conn) { return ServerNamed(Text(PQhost(conn)), Text(PQport(conn)), Text(PQdb(conn))); }

[[noreturn]] void FailUnreachable(PGconn* conn, const std::string& detail) {
    throw DbError("The patient database server " + ServerOf(conn) +
                      " cannot be reached, so nothing was read or saved. " + kServerUnreachableAdvice + "\n(" + detail +
                      ")",
                  DbFault::Unreachable);
}

// A server that answers but will not let this user in is no network fault:
// telling it apart sends the user to the password, not to the cables.
[[noreturn]] void FailToConnect(PGconn* conn, const char* const* keys, const char* const* values) {
    const std::string detail = Trimmed(PQerrorMessage(conn));
    const std::string user = Text(PQuser(conn));
    if (PQconnectionNeedsPassword(conn))
        throw DbError("The patient database server " + ServerOf(conn) + " asks for the password of user " + user +
                          " and none is given, so nothing was read or saved. " + kServerPasswordAdvice,
                      DbFault::LoginRefused);
    if (PQpingParams(keys, values, 1) == PQPING_OK)
        throw DbError(
            "The patient database server " + ServerOf(conn) + " refused user " + user +
                " (a wrong password, or a user or database it does not know), so nothing was read or saved. " +
                kServerPasswordAdvice + "\n(" + detail + ")",
            DbFault::LoginRefused);
    FailUnreachable(conn, detail);
}

// Lock waits past the busy wait and deadlocks may clear when tried again; a
// dropped connection is the network's or the server's fault, not the data's.
[[noreturn]] void Fail(PGconn* conn, const PGresult* result) {
    const std::string text = Trimmed(result ? PQresultErrorMessage(result) : PQerrorMessage(conn));
    if (PQstatus(conn) == CONNECTION_BAD) FailUnreachable(conn, text);
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
            result_ = Result(PQexecParams(conn_, sql_.c_str(), static_cast<int>(values.size()), nullptr, values.data(),
                                          nullptr, nullptr, 0));
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
            // Asked once more, briefly, whether the server answers at all.
            values[2] = "3";
            try {
                FailToConnect(conn_, keys, values);
            } catch (...) {
                PQfinish(conn_);
                throw;
            }
        }
        // The server's notices are for its log, not the user's terminal.
        PQsetNoticeProcessor(
            conn_, [](void*, const char*) {}, nullptr);
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

std::string ServerName(const std::string& location) {
    char* error = nullptr;
    PQconninfoOption* given = PQconninfoParse(location.c_str(), &error);
    PQfreemem(error);
    PQconninfoOption* defaults = PQconndefaults();
    // What the location names, else what libpq would use (its environment).
    auto value = [&](const std::string& key) {
        for (PQconninfoOption* options : {given, defaults})
            for (PQconninfoOption* o = options; o && o->keyword; ++o)
                if (key == o->keyword && o->val && *o->val) return std::string(o->val);
        return std::string();
    };
    const std::string name = ServerNamed(value("host"), value("port"), value("dbname"));
    PQconninfoFree(given);
    PQconninfoFree(defaults);
    return name;
}
