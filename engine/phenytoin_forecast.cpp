#include "engine/phenytoin_forecast.h"

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
    if (!desiredAverage || !(*desiredAverage > 0) || !(p.Vd > 0)) return d;
    const double target = *desiredAverage;
    d.dailyDose = Finite(p.Vm * target / ((p.Km + target) * salt * F));
    if (currentConc && *currentConc >= 0)
        d.loadingDose = *currentConc >= target ? 0 : Finite((target - *currentConc) * p.Vd / (salt * F));
    return d;
}

PhenytoinLevels ForecastPhenytoin(const PhenytoinParameters& p, double F, double freeFraction,
                                  const PhenytoinDoseLine& first, const PhenytoinDoseLine& second) {
    PhenytoinLevels out;
    if (!Counts(first) && !Counts(second)) return out;
    if (!(p.Vd > 0) || !(p.Km > 0) || !(p.Vm > 0)) return out;
    double rate = 0;
    if (Counts(first)) rate += F * DailyAmount(first);
    if (Counts(second)) rate += F * DailyAmount(second);
    out.dailyRate = Finite(rate);
    if (!out.dailyRate) return out;
    if (rate >= p.Vm) {
        out.message = "Daily Dosage is greater than Vmax.";
        return out;
    }
    const double headroom = p.Vm - rate;
    out.observed = Finite(p.Km * rate / headroom);
    if (out.observed) out.adjusted = Finite(10 * freeFraction * *out.observed);
    out.t90Days = Finite((2.3 * p.Vm - 0.9 * rate) * p.Km * p.Vd / (headroom * headroom));
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
