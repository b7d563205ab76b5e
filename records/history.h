#pragma once
// The dosing and level histories: the rows as entered, and their conversion
// into hours after the earliest history moment.
#include <optional>
#include <string>
#include <vector>

#include "records/calendar.h"

inline constexpr int kMaxHistoryRows = 10;
inline constexpr int kMaxDoseEvents = 1000;

struct DoseRow {
    CivilDate date;
    int hour = 0;
    int minute = 0;
    bool timeEntered = true;
    double dose = 0.0;
    std::string route;        // "IV", "IM", "O", and for phenytoin "C", "S", "T"
    double infusionTime = 0;  // h
    double interval = 0;      // h
    int doses = 0;
    std::string status;  // "I" inpatient, "O" outpatient
};

struct LevelRow {
    CivilDate date;
    int hour = 0;
    int minute = 0;
    bool timeEntered = true;
    double level = 0.0;  // negative: prediction only
};

enum EventRoute { kEventOral = 1, kEventIV = 2, kEventIM = 3 };

struct DoseEvent {
    double time = 0;    // h after TimeZero
    double amount = 0;  // dose unit (mEq for lithium)
    int route = kEventOral;
    int outpatient = 0;
    double infusionTime = 0;
    double rate = 0;
    double salt = 1.0;
    double ka = 0;
};

struct LevelPoint {
    double time = 0;
    double observed = 0;  // negative: prediction only
    // Predictions with the three sets; missing when they cannot be computed.
    std::optional<double> population{};
    std::optional<double> leastSquares{};
    std::optional<double> bayes{};
};

struct History {
    std::vector<DoseRow> doseRows;    // as entered, at most 10
    std::vector<LevelRow> levelRows;  // as entered, at most 10
    bool present = false;             // the history page accepted the rows
    // Conversion results.
    double timeZero = 0;  // absolute hours
    std::vector<DoseEvent> events;
    std::vector<LevelPoint> levels;  // measured first, then prediction-only
    int measuredCount = 0;
    double lastLevelTime = 0;
    double lastDoseInterval = 0;  // h, of the last entered dose row
};
