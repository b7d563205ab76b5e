#include "records/db/record_set.h"

#include "records/db/configuration.h"

namespace {
std::string Quoted(const std::string& name) { return "\"" + name + "\""; }
}  // namespace

RecordSetCore::RecordSetCore(std::string table, std::vector<std::string> columns)
    : table_(std::move(table)), columns_(std::move(columns)) {}

RecordSetCore::~RecordSetCore() = default;

void RecordSetCore::Open(Database* shared, const RowQuery& query) {
    Close();
    std::unique_ptr<Database> own;
    if (!shared) own = std::make_unique<Database>(ConfiguredDatabasePath());
    Database& db = shared ? *shared : *own;
    std::string sql = "SELECT rowid FROM " + Quoted(table_);
    if (!query.filter.empty()) sql += " WHERE " + query.filter;
    // Without an order of its own a set keeps the order rows were added in,
    // on a server as in a file.
    sql += " ORDER BY " + (query.sort.empty() ? std::string("rowid") : query.sort);
    Statement s(db, sql);
    s.BindAll(query.params);
    std::vector<std::int64_t> keys;
    while (s.Step()) keys.push_back(s.Int(0));
    own_ = std::move(own);
    db_ = &db;
    keys_ = std::move(keys);
    deleted_.assign(keys_.size(), false);
    pos_ = 0;
    mode_ = Mode::None;
    Skip(+1);
}

void RecordSetCore::Close() {
    db_ = nullptr;
    own_.reset();
    keys_.clear();
    deleted_.clear();
    current_.clear();
    mode_ = Mode::None;
}

void RecordSetCore::RequireOpen() const {
    if (!db_) throw DbError("Operation is not allowed when the record set is closed.");
}

bool RecordSetCore::IsEOF() const { return !db_ || pos_ >= static_cast<long>(keys_.size()); }
bool RecordSetCore::IsBOF() const { return !db_ || pos_ < 0 || keys_.empty(); }

// Moves in `step` direction until a row not deleted through this set, then
// reads it; past either end the position rests at BOF or EOF.
void RecordSetCore::Skip(int step) {
    while (pos_ >= 0 && pos_ < static_cast<long>(keys_.size()) && deleted_[pos_]) pos_ += step;
    mode_ = Mode::None;
    if (!IsEOF() && !IsBOF()) Load();
}

void RecordSetCore::MoveFirst() {
    RequireOpen();
    pos_ = 0;
    Skip(+1);
}

void RecordSetCore::MoveNext() {
    RequireOpen();
    if (IsEOF()) throw DbError("No current record.");
    ++pos_;
    Skip(+1);
}

void RecordSetCore::MovePrev() {
    RequireOpen();
    if (pos_ < 0) throw DbError("No current record.");
    --pos_;
    Skip(-1);
}

void RecordSetCore::MoveLast() {
    RequireOpen();
    pos_ = static_cast<long>(keys_.size()) - 1;
    Skip(-1);
}

long RecordSetCore::GetRecordCount() const {
    long n = 0;
    for (const bool d : deleted_) n += d ? 0 : 1;
    return n;
}

void RecordSetCore::Load() {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < columns_.size(); ++i) sql += (i ? ", " : "") + Quoted(columns_[i]);
    sql += " FROM " + Quoted(table_) + " WHERE rowid = ?";
    Statement s(*db_, sql);
    s.Bind(1, keys_[pos_]);
    if (!s.Step()) throw DbError("Record is deleted.");
    current_.clear();
    for (int i = 0; i < s.ColumnCount(); ++i) {
        if (s.IsNull(i)) current_.emplace_back(std::monostate{});
        else current_.emplace_back(s.Text(i));
    }
}

void RecordSetCore::BeginAdd() {
    RequireOpen();
    mode_ = Mode::Add;
}

void RecordSetCore::BeginEdit() {
    RequireOpen();
    if (IsEOF() || IsBOF()) throw DbError("No current record.");
    mode_ = Mode::Edit;
}

void RecordSetCore::Store(const std::vector<SqlValue>& values) {
    if (mode_ == Mode::None) throw DbError("Update without AddNew or Edit.");
    std::string sql;
    if (mode_ == Mode::Add) {
        sql = "INSERT INTO " + Quoted(table_) + " (";
        std::string marks;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            sql += (i ? ", " : "") + Quoted(columns_[i]);
            marks += i ? ", ?" : "?";
        }
        sql += ") VALUES (" + marks + ") RETURNING rowid";
    } else {
        sql = "UPDATE " + Quoted(table_) + " SET ";
        for (std::size_t i = 0; i < columns_.size(); ++i) sql += (i ? ", " : "") + Quoted(columns_[i]) + " = ?";
        sql += " WHERE rowid = ?";
    }
    Statement s(*db_, sql);
    s.BindAll(values);
    if (mode_ == Mode::Edit) s.Bind(static_cast<int>(columns_.size()) + 1, keys_[pos_]);
    const bool added = s.Step();
    if (mode_ == Mode::Add) {
        if (!added) throw DbError("The added row was not stored.");
        // A dynaset shows added rows at its end; the current row stays.
        keys_.push_back(s.Int(0));
        deleted_.push_back(false);
    } else {
        current_ = values;
    }
    mode_ = Mode::None;
}

void RecordSetCore::Delete() {
    RequireOpen();
    if (IsEOF() || IsBOF()) throw DbError("No current record.");
    Statement s(*db_, "DELETE FROM " + Quoted(table_) + " WHERE rowid = ?");
    s.Bind(1, keys_[pos_]);
    s.Step();
    deleted_[pos_] = true;
    mode_ = Mode::None;
}

std::string ColumnText(const SqlValue& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    return {};
}

std::int32_t ColumnLong(const SqlValue& v) {
    if (const auto* i = std::get_if<std::int64_t>(&v)) return static_cast<std::int32_t>(*i);
    if (const auto* s = std::get_if<std::string>(&v)) return static_cast<std::int32_t>(std::atoll(s->c_str()));
    return 0;
}

double ColumnMoment(const SqlValue& v) {
    const std::string text = ColumnText(v);
    return ParseIsoDateTime(text).value_or(0.0);
}
