#include "engine/phenytoin_forecast.h"

#include "engine/forecast_inputs.h"
#include "engine/forecast_model.h"

namespace {
bool Counts(const PhenytoinDoseLine& line) {
    return line.dose && line.interval && *line.dose > 0 && *line.interval > 0;
}

double DailyAmount(const PhenytoinDoseLine& line) { return line.salt * *line.dose * 24 / *line.interval; }
}  // namespace

std::optional<PhenytoinRange> AdjustedRange(double freeFraction) {
    if (!(freeFraction > 0)) return std::nullopt;
    const auto low = Finite(10 / (10 * freeFraction));
    const auto high = Finite(20 / (10 * freeFraction));
    if (!low || !high) return std::nullopt;
    return PhenytoinRange{*low, *high};
}

PhenytoinDesign DesignPhenytoin(const PhenytoinParameters& p, double salt, double F,
                                std::optional<double> desiredAverage, std::optional<double> currentConc) {
    PhenytoinDesign d;
    const auto missing =
        FirstMissing({{"Desired average", desiredAverage ? GivenIfPositive(*desiredAverage) : std::nullopt},
                      {"Vd", GivenIfPositive(p.Vd)}});
    if (missing) {
        d.message = *missing;
        return d;
    }
    const double target = *desiredAverage;
    d.dailyDose = Finite(p.Vm * target / ((p.Km + target) * salt * F));
    if (currentConc && *currentConc >= 0)
        d.loadingDose = *currentConc >= target ? 0 : Finite((target - *currentConc) * p.Vd / (salt * F));
    const bool loadingAsked = currentConc && *currentConc >= 0;
    if (!UsableResult(d.dailyDose) || (loadingAsked && !UsableResult(d.loadingDose))) {
        d.dailyDose.reset();
        d.loadingDose.reset();
        d.message = kUnusableDose;
    }
    return d;
}

PhenytoinLevels ForecastPhenytoin(const PhenytoinParameters& p, double F, double freeFraction,
                                  const PhenytoinDoseLine& first, const PhenytoinDoseLine& second) {
    PhenytoinLevels out;
    auto problem =
        FirstMissing({{"Vd", GivenIfPositive(p.Vd)}, {"Km", GivenIfPositive(p.Km)}, {"Vm", GivenIfPositive(p.Vm)}});
    if (!problem && !Counts(first) && !Counts(second)) problem = "Dose and interval are missing.";
    if (problem) {
        out.message = *problem;
        return out;
    }
    double rate = 0;
    if (Counts(first)) rate += F * DailyAmount(first);
    if (Counts(second)) rate += F * DailyAmount(second);
    out.dailyRate = Finite(rate);
    if (!out.dailyRate) {
        out.message = kUnusableLevels;
        return out;
    }
    if (rate >= p.Vm) {
        out.message = "Daily Dosage is greater than Vmax.";
        return out;
    }
    const double headroom = p.Vm - rate;
    out.observed = Finite(p.Km * rate / headroom);
    if (out.observed) out.adjusted = Finite(10 * freeFraction * *out.observed);
    out.t90Days = Finite((2.3 * p.Vm - 0.9 * rate) * p.Km * p.Vd / (headroom * headroom));
    if (!UsableResult(out.observed) || !UsableResult(out.adjusted) || !UsableResult(out.t90Days)) {
        out.observed = out.adjusted = out.t90Days = std::nullopt;
        out.message = kUnusableLevels;
    }
    return out;
}

double SecondRegimenSalt(const std::string& formName) { return formName == "Capsules" ? 0.92 : 1.00; }

PhenytoinDoseUnits DoseUnitsFor(const std::string& formName) {
    if (formName == "Injection (Fosphenytoin)") return {"mg (PE)", "mg (PE)/24 hr"};
    return {"mg", "mg/24 hr"};
}

std::optional<std::string> PhenytoinIntervalProblem(double interval) {
    if (interval < 0) return " Interval can not be negative. ";
    return std::nullopt;
}
