#include "output/level_table_texts.h"

#include <cmath>

#include "records/calendar.h"
#include "records/history.h"
#include "records/text_format.h"

namespace {
struct Clock {
    int month, day, hour, minute;
};

// Absolute hours, rounded to the minute the rows were entered with.
Clock ClockAt(double hours) {
    const long minutes = std::lround(hours * 60);
    const long ofDay = minutes % (24 * 60);
    const CivilDate date = DateOfDayNumber(minutes / (24 * 60));
    return {date.month, date.day, static_cast<int>(ofDay / 60), static_cast<int>(ofDay % 60)};
}

QString TwoDigits(int value) { return QString("%1").arg(value, 2, 10, QChar('0')); }

QString Level(const std::optional<double>& value) {
    return value ? QString::fromStdString(FormatNumber("%.1f", *value)) : QString();
}
}  // namespace

std::vector<LevelTableRow> LevelTableRows(const History& h) {
    std::vector<LevelTableRow> rows;
    for (const LevelPoint& level : h.levels) {
        const Clock c = ClockAt(h.timeZero + level.time);
        rows.push_back({TwoDigits(c.month) + "/" + TwoDigits(c.day), TwoDigits(c.hour) + TwoDigits(c.minute),
                        level.observed < 0 ? QString("pred.") : Level(level.observed), Level(level.population),
                        Level(level.leastSquares), Level(level.bayes)});
    }
    return rows;
}

QString TimeZeroText(const History& h) {
    if (!h.present) return {};
    const Clock c = ClockAt(h.timeZero);
    return "Time zero: " + TwoDigits(c.month) + "/" + TwoDigits(c.day) + " " + TwoDigits(c.hour) + ":" +
           TwoDigits(c.minute);
}
