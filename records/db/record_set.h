#pragma once
// A record set over one table: the row's columns are members of the set
// (bound by name), read after a move and written between AddNew/Edit and
// Update, as the record set classes of record_sets.h do.
//
//   Cpcaseset cs;
//   cs.Open(db, {"\"Patient Rec Num\" = ?", {std::int64_t{7}}, "\"Date created\""});
//   for (cs.MoveLast(); !cs.IsBOF(); cs.MovePrev()) use(cs.Drug_ID);
//   cs.Edit(); cs.Wt = "70.0"; cs.Update();
//
// Open(query) without a Database opens its own connection at the configured
// path (configuration.h) and keeps it until Close. Opening with a Database
// shares that connection, so several sets can write inside one Transaction.
// The rows are fixed when the set opens (a keyset, as a dynaset has); a row
// deleted by another program since then raises DbError when visited.
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "records/calendar.h"
#include "records/db/database.h"

// Restricts and orders the rows: `filter` and `sort` are fixed SQL written by
// the program; every value a user typed goes into `params`.
struct RowQuery {
    std::string filter;
    std::vector<SqlValue> params;
    std::string sort;
};

// The members a column binds to: text, long, boolean, date-time (a moment).
template <class Row>
struct ColumnBinding {
    const char* name;
    std::variant<std::string Row::*, std::int32_t Row::*, bool Row::*, double Row::*> member;
};

// The untyped part: keyset, position, SQL for each operation.
class RecordSetCore {
public:
    RecordSetCore(std::string table, std::vector<std::string> columns);
    ~RecordSetCore();

    void Open(Database* shared, const RowQuery& query);
    bool IsOpen() const { return db_ != nullptr; }
    void Close();
    bool IsEOF() const;
    bool IsBOF() const;
    void MoveFirst();
    void MoveNext();
    void MovePrev();
    void MoveLast();
    long GetRecordCount() const;

    // Values of the current row, in column order.
    const std::vector<SqlValue>& Current() const { return current_; }
    void BeginAdd();
    void BeginEdit();
    void Store(const std::vector<SqlValue>& values);
    void Delete();
    const std::string& Table() const { return table_; }

private:
    void Load();
    void RequireOpen() const;
    void Skip(int step);

    std::string table_;
    std::vector<std::string> columns_;
    std::unique_ptr<Database> own_;
    Database* db_ = nullptr;
    std::vector<std::int64_t> keys_;
    std::vector<bool> deleted_;
    long pos_ = 0;
    enum class Mode { None, Add, Edit } mode_ = Mode::None;
    std::vector<SqlValue> current_;
};

template <class Row>
class RecordSet : public Row {
public:
    void Open(const RowQuery& query = {}) { Opened(nullptr, query); }
    void Open(Database& db, const RowQuery& query = {}) { Opened(&db, query); }
    bool IsOpen() const { return core_.IsOpen(); }
    void Close() { core_.Close(); }
    bool IsEOF() const { return core_.IsEOF(); }
    bool IsBOF() const { return core_.IsBOF(); }
    void MoveFirst() {
        core_.MoveFirst();
        Read();
    }
    void MoveNext() {
        core_.MoveNext();
        Read();
    }
    void MovePrev() {
        core_.MovePrev();
        Read();
    }
    void MoveLast() {
        core_.MoveLast();
        Read();
    }
    long GetRecordCount() const { return core_.GetRecordCount(); }
    // AddNew starts from an empty row; Edit from the current one.
    void AddNew() {
        core_.BeginAdd();
        static_cast<Row&>(*this) = Row{};
    }
    void Edit() { core_.BeginEdit(); }
    void Update() { core_.Store(Values()); }
    void Delete() { core_.Delete(); }

private:
    void Opened(Database* db, const RowQuery& query) {
        core_.Open(db, query);
        Read();
    }
    void Read();
    std::vector<SqlValue> Values() const;
    RecordSetCore core_{Row::kTable, Names()};
    static std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& c : Row::Columns()) names.emplace_back(c.name);
        return names;
    }
};

// Stored text of the four kinds.
std::string ColumnText(const SqlValue& v);
std::int32_t ColumnLong(const SqlValue& v);
double ColumnMoment(const SqlValue& v);

template <class Row>
void RecordSet<Row>::Read() {
    Row& row = *this;
    if (core_.IsEOF() || core_.IsBOF()) return;
    const auto& values = core_.Current();
    const auto& columns = Row::Columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const SqlValue& v = values[i];
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(row.*member)>;
                if constexpr (std::is_same_v<T, std::string>) row.*member = ColumnText(v);
                else if constexpr (std::is_same_v<T, std::int32_t>) row.*member = ColumnLong(v);
                else if constexpr (std::is_same_v<T, bool>) row.*member = ColumnLong(v) != 0;
                else row.*member = ColumnMoment(v);
            },
            columns[i].member);
    }
}

template <class Row>
std::vector<SqlValue> RecordSet<Row>::Values() const {
    const Row& row = *this;
    std::vector<SqlValue> values;
    for (const auto& c : Row::Columns()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(row.*member)>;
                if constexpr (std::is_same_v<T, std::string>) values.emplace_back(row.*member);
                else if constexpr (std::is_same_v<T, double>) values.emplace_back(IsoDateTime(row.*member));
                else values.emplace_back(static_cast<std::int64_t>(row.*member));
            },
            c.member);
    }
    return values;
}
