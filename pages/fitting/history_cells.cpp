#include "pages/fitting/history_cells.h"

#include <cmath>

#include "pages/patient/entry_values.h"
#include "records/text_format.h"

namespace {
std::optional<long long> WholeNumber(const QString& text) {
    bool ok = false;
    const long long value = text.trimmed().toLongLong(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QString TwoDigits(long long value) {
    return QString::fromStdString(FormatNumber("%02.0f", static_cast<double>(value)));
}
QString Hundredths(double value) { return QString::fromStdString(FormatNumber("%.2f", value)); }

struct Range {
    int low, high;
    const char* message;
};
constexpr Range kRanges[] = {
    {0, 0, ""},
    {1, 12, "Please Input Valid Month Value 1 to 12."},
    {1, 31, "Please Input Valid Day Value 1 to 31."},
    {0, 23, "Please Input Valid Hour Value 0 to 23."},
    {0, 59, "Please Input Valid Minutes Value 0 to 59."},
};

// A number shown "%.2f"; 0 shown empty where the column says so. Text that
// is not wholly a number stays as typed and is refused.
CellOutcome Amount(const QString& text, bool zeroEmpty) {
    const auto value = FieldNumber(text);
    if (!value) return {text.trimmed(), NotANumberProblem(text)};
    if (*value == 0 && zeroEmpty) return {QString()};
    return {Hundredths(*value)};
}
}  // namespace

CellOutcome LeaveDateTimeCell(int column, const QString& text, bool rowInUse, const CivilDate& today) {
    const QString t = text.trimmed();
    if (column == kDoseYear) {
        if (t == "0" || t.compare("x", Qt::CaseInsensitive) == 0) return {QString(), std::nullopt, true};
        if (t.isEmpty() && rowInUse) return {"20" + TwoDigits(today.year % 100)};
        return {t};
    }
    if (t.isEmpty()) {
        if (!rowInUse || column == kDoseHour) return {QString()};
        if (column == kDoseMonth) return {TwoDigits(today.month)};
        if (column == kDoseDay) return {TwoDigits(today.day)};
        return {"00"};
    }
    const Range& range = kRanges[column];
    const auto value = WholeNumber(t);
    if (!value || *value < range.low || *value > range.high) return {text, QString(range.message)};
    return {TwoDigits(*value)};
}

CellOutcome LeaveDoseCell(int column, const QString& text, bool rowInUse, const CivilDate& today,
                          const std::string& drugCode, const UserDrugRoutes& user) {
    if (column < kDateTimeColumns) return LeaveDateTimeCell(column, text, rowInUse, today);
    const QString t = text.trimmed();
    switch (column) {
        case kDoseAmount: return Amount(t, false);
        case kDoseInfusion:
        case kDoseInterval: return Amount(t, true);
        case kDoseRoute: {
            if (t.isEmpty()) return {QString()};
            const std::string route = NormaliseRoute(t.toStdString());
            const QString shown = QString::fromStdString(route);
            if (const auto problem = RouteProblem(drugCode, route, user))
                return {shown, QString::fromStdString(*problem)};
            return {shown};
        }
        case kDoseStatus: {
            if (t.isEmpty()) return {QString()};
            const QString upper = t.toUpper();
            if (upper == "I" || upper == "O") return {upper};
            return {QString(), QString("Please input I or O. ")};
        }
        default: return {t};
    }
}

CellOutcome LeaveLevelCell(int column, const QString& text, bool rowInUse, const CivilDate& today) {
    if (column < kDateTimeColumns) return LeaveDateTimeCell(column, text, rowInUse, today);
    return Amount(text, false);
}

namespace {
template <class Row, std::size_t N>
void ReadMoment(const std::array<QString, N>& t, Row& row) {
    row.date = {static_cast<int>(WholeNumber(t[kDoseYear]).value_or(0)),
                static_cast<int>(WholeNumber(t[kDoseMonth]).value_or(0)),
                static_cast<int>(WholeNumber(t[kDoseDay]).value_or(0))};
    const auto hour = WholeNumber(t[kDoseHour]);
    row.timeEntered = hour.has_value();
    row.hour = static_cast<int>(hour.value_or(0));
    row.minute = static_cast<int>(WholeNumber(t[kDoseMinute]).value_or(0));
}

template <class Row, std::size_t N>
void WriteMoment(const Row& row, std::array<QString, N>& t) {
    if (row.date.year != 0) t[kDoseYear] = QString::number(row.date.year);
    if (row.date.month != 0) t[kDoseMonth] = TwoDigits(row.date.month);
    if (row.date.day != 0) t[kDoseDay] = TwoDigits(row.date.day);
    if (row.timeEntered) {
        t[kDoseHour] = TwoDigits(row.hour);
        t[kDoseMinute] = TwoDigits(row.minute);
    }
}

template <class Texts>
std::size_t UsedRows(const std::vector<Texts>& texts) {
    std::size_t used = 0;
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (!RowEmpty(texts[i])) used = i + 1;
    return used;
}
}  // namespace

std::vector<DoseRow> DoseRowsOf(const std::vector<DoseTexts>& texts) {
    std::vector<DoseRow> rows(UsedRows(texts));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const DoseTexts& t = texts[i];
        DoseRow& row = rows[i];
        ReadMoment(t, row);
        row.dose = FieldNumber(t[kDoseAmount]).value_or(0);
        row.route = NormaliseRoute(t[kDoseRoute].trimmed().toStdString());
        row.infusionTime = FieldNumber(t[kDoseInfusion]).value_or(0);
        row.interval = FieldNumber(t[kDoseInterval]).value_or(0);
        const auto count = WholeNumber(t[kDoseCount]);
        row.doses = count && std::llabs(*count) <= 1000000 ? static_cast<int>(*count) : 0;
        row.status = t[kDoseStatus].trimmed().toUpper().toStdString();
    }
    return rows;
}

std::vector<LevelRow> LevelRowsOf(const std::vector<LevelTexts>& texts) {
    std::vector<LevelRow> rows(UsedRows(texts));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ReadMoment(texts[i], rows[i]);
        rows[i].level = FieldNumber(texts[i][kLevelValue]).value_or(0);
    }
    return rows;
}

DoseTexts TextsOf(const DoseRow& row) {
    DoseTexts t;
    WriteMoment(row, t);
    if (row.dose != 0) t[kDoseAmount] = Hundredths(row.dose);
    t[kDoseRoute] = QString::fromStdString(row.route);
    if (row.infusionTime != 0) t[kDoseInfusion] = Hundredths(row.infusionTime);
    if (row.interval != 0) t[kDoseInterval] = Hundredths(row.interval);
    if (row.doses != 0) t[kDoseCount] = QString::number(row.doses);
    t[kDoseStatus] = QString::fromStdString(row.status);
    return t;
}

LevelTexts TextsOf(const LevelRow& row) {
    LevelTexts t;
    WriteMoment(row, t);
    if (row.level != 0) t[kLevelValue] = Hundredths(row.level);
    return t;
}
