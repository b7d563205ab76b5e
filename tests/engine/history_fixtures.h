#pragma once
// Rows, events and parameter sets for the history, prediction and fitting tests.
#include <string>

#include "records/calendar.h"
#include "records/history.h"
#include "records/parameter_set.h"

// A dose row `days` after 1 December 2026 (0: that day), for histories that
// run longer than a month.
inline DoseRow DoseRowAfter(int days, int hour, int minute, double dose, const std::string& route, double infusion,
                            double interval, int doses, const std::string& status = "I") {
    DoseRow d;
    d.date = DateOfDayNumber(DayNumber(2026, 12, 1) + days);
    d.hour = hour;
    d.minute = minute;
    d.dose = dose;
    d.route = route;
    d.infusionTime = infusion;
    d.interval = interval;
    d.doses = doses;
    d.status = status;
    return d;
}

// A dose row on a day of December 2026.
inline DoseRow DoseRowOn(int day, int hour, int minute, double dose, const std::string& route, double infusion,
                         double interval, int doses, const std::string& status = "I") {
    return DoseRowAfter(day - 1, hour, minute, dose, route, infusion, interval, doses, status);
}

inline LevelRow LevelRowAfter(int days, int hour, int minute, double level) {
    LevelRow l;
    l.date = DateOfDayNumber(DayNumber(2026, 12, 1) + days);
    l.hour = hour;
    l.minute = minute;
    l.level = level;
    return l;
}

inline LevelRow LevelRowOn(int day, int hour, int minute, double level) {
    return LevelRowAfter(day - 1, hour, minute, level);
}
// An administration at `time` hours with its rate from the infusion time.
inline DoseEvent EventAt(double time, double amount, int route, double infusion = 0, double ka = 0,
                         int outpatient = 0) {
    DoseEvent e;
    e.time = time;
    e.amount = amount;
    e.route = route;
    e.infusionTime = infusion;
    e.rate = infusion > 0 ? amount / infusion : 0;
    e.ka = ka;
    e.outpatient = outpatient;
    return e;
}

// Km shares the clearance slot, as for phenytoin.
inline ParameterSet Params(double F, double Vd, double Cl, double CF = 1, double Vm = 0) {
    ParameterSet p;
    p.F = F;
    p.Vd = Vd;
    p.Cl = p.Km = Cl;
    p.CF = CF;
    p.Vm = Vm;
    return p;
}
