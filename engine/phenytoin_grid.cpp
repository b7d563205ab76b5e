// Model kind 3: Michaelis-Menten elimination integrated with classical
// Runge-Kutta steps over the input grid. All times of one call share one
// integration pass: each takes the concentration at the last grid point
// strictly before it, exactly as a pass of its own would.
#include "engine/phenytoin_grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "engine/prediction.h"
#include "engine/prediction_models.h"

namespace {
constexpr double kMaxSteps = 48000;
// A grid stretched to a far prediction row: a minute's steps over the
// longest history the rows allow (730 days and a 720-hour interval) fit.
constexpr double kMaxGridSteps = 2e6;
// An intramuscular dose spreads until less than this fraction is left.
constexpr double kAbsorbedEnough = 1e-12;

// How many cells an input lasts: x rounded up, except that a product such as
// 60 x 4.6 / 4.6, a whole number only a rounding above it, stays that number
// (a cell more would stretch the input by a step).
double CellsOf(double x) {
    const double whole = std::round(x);
    return std::fabs(x - whole) <= 1e-9 * std::max(1.0, whole) ? whole : std::ceil(x);
}

// Spreads `amount` evenly over `cellCount` cells from `firstCell` (at least
// one), so that it is delivered whole whatever the step length; cells past
// the grid's end receive nothing.
void AddToCells(std::vector<double>& rates, double firstCell, double cellCount, double amount, double stepsPerHour) {
    const double cells = std::max(cellCount, 1.0);
    const double size = static_cast<double>(rates.size());
    const double begin = std::clamp(firstCell, 0.0, size);
    const double end = std::clamp(firstCell + cells, begin, size);
    if (!(end > begin)) return;
    const double rate = amount * stepsPerHour / cells;
    for (auto i = static_cast<std::size_t>(begin); i < static_cast<std::size_t>(end); ++i) rates[i] += rate;
}

// An intramuscular dose without an infusion time is absorbed first-order
// with its ka, as the linear models absorb it; the grid would otherwise
// drop it. Each cell gets the share absorbed over it.
void AddFirstOrder(std::vector<double>& rates, double firstCell, double amount, double ka, double stepsPerHour) {
    if (!(firstCell < static_cast<double>(rates.size()))) return;
    const auto start = static_cast<std::size_t>(std::max(firstCell, 0.0));
    if (!(ka > 0)) {
        rates[start] += amount * stepsPerHour;
        return;
    }
    for (std::size_t i = start, j = 0; i < rates.size(); ++i, ++j) {
        const double left = std::exp(-ka * j / stepsPerHour);
        if (left < kAbsorbedEnough) break;
        rates[i] += amount * (left - std::exp(-ka * (j + 1) / stepsPerHour)) * stepsPerHour;
    }
}

struct Elimination {
    double vm;  // mg/h
    double km;
    double vd;
    // Elimination stops at an empty body: with a tiny Km the step would
    // otherwise overshoot below 0, where the model means nothing.
    double Slope(double c, double rate) const {
        c = std::max(c, 0.0);
        return (rate - vm * c / (km + c)) / vd;
    }
    double Step(double c, double rate, double h) const {
        const double k1 = Slope(c, rate);
        const double k2 = Slope(c + h / 2 * k1, rate);
        const double k3 = Slope(c + h / 2 * k2, rate);
        const double k4 = Slope(c + h * k3, rate);
        return std::max(c + h / 6 * (k1 + 2 * k2 + 2 * k3 + k4), 0.0);
    }
};

std::optional<double> Finite(double c) { return std::isfinite(c) ? std::optional<double>(c) : std::nullopt; }
}  // namespace

std::optional<PhenytoinGrid> PhenytoinGridOf(double spanHours, double reachHours) {
    if (!std::isfinite(spanHours) || !std::isfinite(reachHours)) return std::nullopt;
    PhenytoinGrid g;
    if (spanHours > 0) {
        const double whole = std::floor(kMaxSteps / spanHours);
        g.stepsPerHour = whole >= 1 ? std::min(whole, 60.0) : kMaxSteps / spanHours;
    }
    const double steps = std::floor(g.stepsPerHour * std::max({spanHours, reachHours, 0.0}));
    if (steps > kMaxGridSteps) return std::nullopt;
    g.steps = static_cast<int>(steps);
    return g;
}

std::vector<double> PhenytoinInputRates(const PredictionInput& in, const ParameterSet& p, const PhenytoinGrid& g) {
    std::vector<double> rates(static_cast<std::size_t>(g.steps), 0.0);
    const std::vector<double> m = ComplianceOf(in.events, p.CF);
    const double a = g.stepsPerHour;
    for (std::size_t i = 0; i < in.events.size(); ++i) {
        const DoseEvent& e = in.events[i];
        const double first = std::ceil(a * e.time);
        if (e.route == kEventOral) {
            if (in.phenytoinAbsRate > 0)
                AddToCells(rates, first, CellsOf(a * e.amount / in.phenytoinAbsRate), e.amount * e.salt * p.F * m[i], a);
        } else if (e.infusionTime > 0) {
            AddToCells(rates, first, CellsOf(a * e.infusionTime), e.amount * e.salt * m[i], a);
        } else if (e.route == kEventIM) {
            AddFirstOrder(rates, first, e.amount * e.salt * m[i], e.ka, a);
        }
    }
    return rates;
}

void PredictPhenytoinSets(const PredictionInput& in, const std::vector<ParameterSet>& sets,
                          const std::vector<double>& times, std::vector<std::vector<std::optional<double>>>& out) {
    out.assign(sets.size(), std::vector<std::optional<double>>(times.size()));
    std::vector<std::size_t> live;  // a set without a volume predicts nothing
    for (std::size_t k = 0; k < sets.size(); ++k)
        if (sets[k].Vd != 0) live.push_back(k);
    if (times.empty() || live.empty()) return;
    // The grid reaches no further than the latest time asked for: a fit never
    // pays for a prediction row far beyond its levels.
    const double latest = *std::max_element(times.begin(), times.end());
    const auto grid = PhenytoinGridOf(in.gridSpan, std::min(in.predictionReach, latest));
    if (!grid) return;
    const PhenytoinGrid& g = *grid;
    std::vector<std::size_t> order(times.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return times[a] < times[b]; });

    // Only F and CF shape the input, so sets that differ in Vd, Km or Vm
    // (the derivative steps of a fit) share their rates.
    std::vector<std::vector<double>> rates;
    std::vector<std::size_t> rateOf;
    std::vector<Elimination> models;
    for (std::size_t k : live) {
        const ParameterSet& p = sets[k];
        std::size_t shared = 0;
        while (shared < rateOf.size() && !(sets[live[shared]].F == p.F && sets[live[shared]].CF == p.CF)) ++shared;
        if (shared < rateOf.size()) {
            rateOf.push_back(rateOf[shared]);
        } else {
            rateOf.push_back(rates.size());
            rates.push_back(PhenytoinInputRates(in, p, g));
        }
        models.push_back({p.Vm / 24, p.Km, p.Vd});
    }

    // The sets step side by side: each set's arithmetic is exactly that of a
    // pass of its own, while the processor overlaps the sets' divisions.
    const std::size_t n = live.size();
    const double h = 1 / g.stepsPerHour;
    std::vector<double> c(n, in.baseline.value_or(0));
    std::size_t next = 0;
    const auto record = [&](std::size_t slot) {
        for (std::size_t k = 0; k < n; ++k) out[live[k]][slot] = Finite(c[k]);
    };
    for (int i = 1; i <= g.steps && next < order.size(); ++i) {
        const double point = i / g.stepsPerHour;
        for (; next < order.size() && !(point < times[order[next]]); ++next) record(order[next]);
        if (next < order.size())
            for (std::size_t k = 0; k < n; ++k) c[k] = models[k].Step(c[k], rates[rateOf[k]][i - 1], h);
    }
    for (; next < order.size(); ++next) record(order[next]);
}

void PredictPhenytoin(const PredictionInput& in, const ParameterSet& p, const std::vector<double>& times,
                      std::vector<std::optional<double>>& out) {
    std::vector<std::vector<std::optional<double>>> rows;
    PredictPhenytoinSets(in, {p}, times, rows);
    out = std::move(rows.front());
}
