#include "engine/forecast_oral.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/forecast_inputs.h"
#include "engine/forecast_levels.h"
#include "records/units.h"

namespace {
constexpr double kDay = 24;

bool ValidHour(double h) { return h >= 0 && h <= 23; }

// Hours since the latest giving of a daily dose.
double SinceDailyDose(double elapsed) {
    const double wrapped = std::fmod(elapsed, kDay);
    return wrapped < 0 ? wrapped + kDay : wrapped;
}

struct DailyDose {
    double amount, hour;
};

// The daily doses, or why there are none.
struct Schedule {
    std::vector<DailyDose> doses;
    std::optional<std::string> problem;
};

Schedule ScheduleOf(const std::vector<UnevenRow>& rows, double timeLag) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].dose && rows[i].hour) count = i + 1;
    Schedule out;
    if (count == 0) out.problem = "Dose and time of day are missing.";
    for (std::size_t i = 0; i < count && !out.problem; ++i) {
        const bool given = rows[i].dose && rows[i].hour;
        const DailyDose d = given ? DailyDose{*rows[i].dose, *rows[i].hour} : DailyDose{0, 0};
        out.problem = ForecastFieldProblem(ForecastField::Dose, d.amount);
        if (!out.problem) out.problem = ForecastFieldProblem(ForecastField::Hour, d.hour);
        out.doses.push_back({d.amount, d.hour + timeLag});
    }
    return out;
}
}  // namespace

OralLevels ForecastOral(const RegimenModel& m, std::optional<double> dose, std::optional<double> interval) {
    OralLevels out;
    auto problem = ModelProblem(m, true);
    if (!problem) problem = FirstMissing({{"Dose", dose}, {"Interval", interval}});
    if (!problem) problem = DoseOrIntervalProblem(*dose, *interval);
    const auto k = EliminationRate(m);
    if (problem || !k) {
        out.message = problem.value_or(kNoUsableModel);
        return out;
    }
    const double tau = *interval;
    const double d = m.drug == "li" ? *dose * kLithiumMgToMeq : *dose;
    const double absorbed = m.F * m.salt * d;
    const double tmax = OralPeakTime(m.ka, *k, tau);
    out.peak = Finite(absorbed * std::exp(-*k * tmax) / (m.Vd * -std::expm1(-*k * tau)));
    out.trough = Finite(OralSteadyStateLevel(m.ka, *k, m.Vd, absorbed, tau, tau));
    if (m.modelType == 1) out.average = Finite(absorbed / (m.Cl * tau));
    if (!UsableResult(out.peak) || !UsableResult(out.trough) || (m.modelType == 1 && !UsableResult(out.average))) {
        OralLevels none;
        none.message = kUnusableLevels;
        return none;
    }
    return out;
}

UnevenLevels ForecastUneven(const RegimenModel& m, const std::vector<UnevenRow>& rows, std::optional<double> levelHour,
                            double timeLag) {
    UnevenLevels out;
    const Schedule schedule = ScheduleOf(rows, timeLag);
    auto problem = ModelProblem(m, true);
    if (!problem) problem = schedule.problem;
    const auto k = EliminationRate(m);
    if (problem || !k) {
        out.message = problem.value_or(kNoUsableModel);
        return out;
    }
    // Lithium doses stay in mg here; the levels are turned into mEq/L at the end.
    const double unit = m.drug == "li" ? kLithiumMgToMeq : 1.0;
    auto levelAt = [&](double clock) {
        double sum = 0;
        for (const DailyDose& d : schedule.doses)
            sum += OralSteadyStateLevel(m.ka, *k, m.Vd, m.F * m.salt * d.amount, kDay, SinceDailyDose(clock - d.hour));
        return sum;
    };
    const double tmax = OralPeakTime(m.ka, *k, kDay);
    double peak = 0, trough = std::numeric_limits<double>::infinity(), total = 0;
    for (const DailyDose& d : schedule.doses) {
        peak = std::max(peak, levelAt(d.hour + tmax));
        trough = std::min(trough, levelAt(d.hour));
        total += d.amount;
    }
    out.peak = Finite(peak * unit);
    out.trough = Finite(trough * unit);
    out.average = Finite(m.salt * m.F * total / (kDay * m.Cl) * unit);
    if (levelHour && ValidHour(*levelHour)) out.level = Finite(levelAt(*levelHour) * unit);
    const bool levelUsable = !levelHour || !ValidHour(*levelHour) || UsableResult(out.level);
    if (!UsableResult(out.peak) || !UsableResult(out.trough) || !UsableResult(out.average) || !levelUsable) {
        UnevenLevels none;
        none.message = kUnusableLevels;
        return none;
    }
    return out;
}
