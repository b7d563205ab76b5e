#pragma once
// The texts of the serum level table (page and report) and of the history's
// time zero: calendar times of history hours, to the minute.
#include <QString>
#include <vector>

struct CaseRecord;
struct History;

struct LevelTableRow {
    QString date;                             // "%.2d/%.2d", month/day
    QString time;                             // "%.2d%.2d", hour and minute
    QString actual;                           // "%.1f", or "pred." for a prediction-only row
    QString population, leastSquares, bayes;  // "%.1f"; empty when missing
};
// One row per level point, measured rows first.
std::vector<LevelTableRow> LevelTableRows(const History& h);

// "Time zero: %.2d/%.2d %.2d:%.2d"; empty before the history is accepted.
QString TimeZeroText(const History& h);
