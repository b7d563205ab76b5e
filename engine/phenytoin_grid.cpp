// Model kind 3: Michaelis-Menten elimination integrated with classical
// Runge-Kutta steps over the input grid. All times of one call share one
// integration pass: each takes the concentration at the last grid point
// strictly before it, exactly as a pass of its own would.
#include "engine/phenytoin_grid.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
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

// Two sets stepped as one: each lane's arithmetic is that of a set alone,
// while the processor works on both at once.
using Pair = double __attribute__((vector_size(16)));

// One classical Runge-Kutta step of dC/dt = (rate - Vm C / (Km + C)) / Vd.
// The slope is taken as one fraction, (rate Km + (rate - Vm) C) / (Vd Km +
// Vd C), already times half a step: one division per stage, and the stages
// wait for each other as little as they can.
struct EliminationPair {
    Pair halfVm;  // Vm (mg/h) x h / 2
    Pair halfKm;  // Km x h / 2
    Pair vdKm;
    Pair vd;
    // Elimination stops at an empty body: with a tiny Km the step would
    // otherwise overshoot below 0, where the model means nothing. The x86
    // maximum makes exactly this choice, NaN and -0 alike, in one
    // instruction where a compare and a mask would hold up every stage.
    static Pair Empty(Pair c) {
#ifdef __SSE2__
        return __builtin_ia32_maxpd(Pair{}, c);
#else
        return 0.0 > c ? Pair{} : c;
#endif
    }
    // A level below the smallest normal number is none: a dose long gone
    // would otherwise decay through subnormal numbers, which the processor
    // handles a hundred times more slowly. Such lanes are rare, so a branch
    // decides and the next step need not wait for the comparison. What a
    // step leaves (0, a normal number or NaN) is its own Empty: only the
    // `first` step, from a start that may lie below 0, empties its start.
    Pair Step(Pair c, Pair rate, double halfStep, bool first) const {
        const Pair top = rate * halfKm, slope = rate * halfStep - halfVm;
        const auto slopeAt = [&](Pair x) { return (top + slope * x) / (vdKm + vd * x); };
        const auto half = [&](Pair x) { return slopeAt(Empty(x)); };
        const Pair d1 = first ? half(c) : slopeAt(c);
        const Pair d2 = half(c + d1);
        const Pair d3 = half(c + d2);
        const Pair d4 = half(c + 2 * d3);
        const Pair next = c + (d1 + 2 * d2 + 2 * d3 + d4) * (1.0 / 3);
        const auto tiny = next < std::numeric_limits<double>::min();
        if (__builtin_expect((tiny[0] | tiny[1]) != 0, 0)) return tiny ? Pair{} : next;
        return next;
    }
};

// The input of every event in four parts, by what scales it: oral input is
// taken times F, the doses of an outpatient before the first inpatient dose
// times CF. A set's rate is F (CF oralScaled + oral) + CF otherScaled + other;
// a part no event adds to stays empty.
struct InputParts {
    std::vector<double> oralScaled, oral, otherScaled, other;
};

void BuildParts(const PredictionInput& in, const PhenytoinGrid& g, InputParts& parts) {
    for (std::vector<double>* part : {&parts.oralScaled, &parts.oral, &parts.otherScaled, &parts.other}) part->clear();
    const auto into = [&](std::vector<double>& part) -> std::vector<double>& {
        if (part.empty()) part.assign(static_cast<std::size_t>(g.steps), 0.0);
        return part;
    };
    // A compliance of 0 only marks the doses CF scales.
    const std::vector<double> m = ComplianceOf(in.events, 0);
    const double a = g.stepsPerHour;
    for (std::size_t i = 0; i < in.events.size(); ++i) {
        const DoseEvent& e = in.events[i];
        const bool scaled = m[i] == 0;
        const double first = std::ceil(a * e.time);
        if (e.route == kEventOral) {
            if (in.phenytoinAbsRate > 0)
                AddToCells(into(scaled ? parts.oralScaled : parts.oral), first,
                           CellsOf(a * e.amount / in.phenytoinAbsRate), e.amount * e.salt, a);
        } else if (e.infusionTime > 0) {
            AddToCells(into(scaled ? parts.otherScaled : parts.other), first, CellsOf(a * e.infusionTime),
                       e.amount * e.salt, a);
        } else if (e.route == kEventIM) {
            AddFirstOrder(into(scaled ? parts.otherScaled : parts.other), first, e.amount * e.salt, e.ka, a);
        }
    }
}

// What one thread keeps between predictions: a fit asks for the same doses
// on the same grid again and again, and every set needs a rate buffer.
struct Scratch {
    std::vector<DoseEvent> events;
    double absRate = 0;
    PhenytoinGrid grid{0, -1};
    InputParts parts;
};

Scratch& ThreadScratch() {
    thread_local Scratch scratch;
    return scratch;
}

bool SameInput(const DoseEvent& a, const DoseEvent& b) {
    return a.time == b.time && a.amount == b.amount && a.route == b.route && a.outpatient == b.outpatient &&
           a.infusionTime == b.infusionTime && a.salt == b.salt && a.ka == b.ka;
}

const InputParts& PartsOf(const PredictionInput& in, const PhenytoinGrid& g, Scratch& s) {
    if (s.grid.steps != g.steps || s.grid.stepsPerHour != g.stepsPerHour || s.absRate != in.phenytoinAbsRate ||
        !std::equal(s.events.begin(), s.events.end(), in.events.begin(), in.events.end(), SameInput)) {
        BuildParts(in, g, s.parts);
        s.events = in.events;
        s.absRate = in.phenytoinAbsRate;
        s.grid = g;
    }
    return s.parts;
}

// A grid stretched far beyond a history is asked for once, by a curve: its
// memory is not kept.
void ReleaseIfStretched(Scratch& s) {
    if (s.grid.steps <= kMaxSteps) return;
    s = Scratch{};
}

void CombineParts(const InputParts& parts, double F, double CF, int steps, std::vector<double>& rates) {
    rates.assign(static_cast<std::size_t>(steps), 0.0);
    const auto add = [&](const std::vector<double>& part, double factor) {
        if (part.empty()) return;
        for (std::size_t i = 0; i < rates.size(); ++i) rates[i] += factor * part[i];
    };
    add(parts.oralScaled, F * CF);
    add(parts.oral, F);
    add(parts.otherScaled, CF);
    add(parts.other, 1);
}

// Two sets' factors of the input parts, combined per cell exactly as
// CombineParts combines them: the same products added in the same order.
struct PartFactors {
    Pair oralScaled, oral, otherScaled;
    Pair RateAt(const InputParts& parts, std::size_t i) const {
        Pair rate{};
        if (!parts.oralScaled.empty()) rate += oralScaled * parts.oralScaled[i];
        if (!parts.oral.empty()) rate += oral * parts.oral[i];
        if (!parts.otherScaled.empty()) rate += otherScaled * parts.otherScaled[i];
        if (!parts.other.empty()) rate += parts.other[i];
        return rate;
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
    Scratch& scratch = ThreadScratch();
    std::vector<double> rates;
    CombineParts(PartsOf(in, g, scratch), p.F, p.CF, g.steps, rates);
    ReleaseIfStretched(scratch);
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

    // A set that would step exactly as one before it (a derivative step in
    // a factor that acts on nothing here) takes that one's levels.
    Scratch& scratch = ThreadScratch();
    const InputParts& parts = PartsOf(in, g, scratch);
    const bool fActs = !parts.oralScaled.empty() || !parts.oral.empty();
    const bool cfActs = !parts.oralScaled.empty() || !parts.otherScaled.empty();
    const auto same = [](double a, double b) {
        return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
    };
    const auto sameSteps = [&](const ParameterSet& a, const ParameterSet& b) {
        return (!fActs || a.F == b.F) && (!cfActs || a.CF == b.CF) && same(a.Vd, b.Vd) && same(a.Km, b.Km) &&
               same(a.Vm, b.Vm);
    };
    std::vector<std::size_t> stepped, source;  // source: which stepped set each live one reads
    for (std::size_t k : live) {
        std::size_t s = 0;
        while (s < stepped.size() && !sameSteps(sets[stepped[s]], sets[k])) ++s;
        if (s == stepped.size()) stepped.push_back(k);
        source.push_back(s);
    }

    // The sets in pairs, an odd one out paired with itself. Each step combines
    // the parts of the input for each pair as CombineParts does, in the same
    // order: the parts are read once per step for every set, where a rate
    // buffer per set would stream far more memory than the steps need.
    const std::size_t n = stepped.size(), pairs = (n + 1) / 2;
    const auto laneOf = [&](std::size_t pair, int lane) { return std::min(2 * pair + lane, n - 1); };
    const double halfStep = 0.5 / g.stepsPerHour;
    std::vector<EliminationPair> models(pairs);
    std::vector<PartFactors> factors(pairs);
    for (std::size_t j = 0; j < pairs; ++j) {
        const ParameterSet& a = sets[stepped[laneOf(j, 0)]];
        const ParameterSet& b = sets[stepped[laneOf(j, 1)]];
        const Pair vd{a.Vd, b.Vd}, km{a.Km, b.Km};
        models[j] = {Pair{a.Vm / 24, b.Vm / 24} * halfStep, km * halfStep, vd * km, vd};
        factors[j] = {Pair{a.F * a.CF, b.F * b.CF}, Pair{a.F, b.F}, Pair{a.CF, b.CF}};
    }
    const double start = in.baseline.value_or(0);
    std::vector<Pair> c(pairs, Pair{start, start});
    std::size_t next = 0;
    const auto record = [&](std::size_t slot) {
        for (std::size_t k = 0; k < live.size(); ++k) out[live[k]][slot] = Finite(c[source[k] / 2][source[k] % 2]);
    };
    for (int i = 1; i <= g.steps && next < order.size(); ++i) {
        const double point = i / g.stepsPerHour;
        for (; next < order.size() && !(point < times[order[next]]); ++next) record(order[next]);
        if (next < order.size())
            for (std::size_t j = 0; j < pairs; ++j)
                c[j] = models[j].Step(c[j], factors[j].RateAt(parts, i - 1), halfStep, i == 1);
    }
    for (; next < order.size(); ++next) record(order[next]);
    ReleaseIfStretched(scratch);
}

void PredictPhenytoin(const PredictionInput& in, const ParameterSet& p, const std::vector<double>& times,
                      std::vector<std::optional<double>>& out) {
    std::vector<std::vector<std::optional<double>>> rows;
    PredictPhenytoinSets(in, {p}, times, rows);
    out = std::move(rows.front());
}
