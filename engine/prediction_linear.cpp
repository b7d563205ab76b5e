// Model kinds 1 and 2: closed-form sums over the dose events up to t. Every
// event adds exponential decays; the decays of one rate constant are carried
// from one start to the next by a single factor, so a call costs a few
// operations per event instead of an exponential per event and time, and a
// regular schedule repeats the same factor. An infusion still running at t
// is worked out directly.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <numeric>

#include "engine/prediction.h"
#include "engine/prediction_models.h"

namespace {
// e^(-rate x), worked out again only when x changes.
class RepeatedExp {
public:
    explicit RepeatedExp(double rate) : rate_(rate) {}
    double operator()(double x) {
        if (x != x_) {
            x_ = x;
            value_ = std::exp(-rate_ * x);
        }
        return value_;
    }

private:
    double rate_, x_ = NAN, value_ = 0;
};

// amount x e^(-rate (t - start)) from `start` on.
struct Decay {
    double start, amount;
};

// The decays of one rate constant, room made for one per event up front.
struct Channel {
    double rate;
    std::vector<Decay> decays;
    std::size_t count = 0;
    void Add(double start, double amount) { decays[count++] = {start, amount}; }
};

// An infusion at t with time <= t < end adds c1 (1 - e^(-r1 tau)) +
// c2 (1 - e^(-r2 tau)), tau = t - time; r2 only enters the two-compartment model.
struct Running {
    double time, end, c1, c2;
};

struct LinearSums {
    std::deque<Channel> channels;  // a channel's place stays put as others are added
    std::vector<Running> running;  // in time order
    double longestInfusion = 0;
    double earliest;  // no time asked for lies before it
    std::size_t events;

    LinearSums(std::size_t eventCount, double earliestTime) : earliest(earliestTime), events(eventCount) {}
    // Rates compared bit for bit: a NaN rate (no usable ka) finds its channel too.
    Channel& ChannelOf(double rate) {
        const auto it = std::find_if(channels.begin(), channels.end(), [&](const Channel& c) {
            return std::bit_cast<std::uint64_t>(c.rate) == std::bit_cast<std::uint64_t>(rate);
        });
        if (it != channels.end()) return *it;
        return channels.emplace_back(Channel{rate, std::vector<Decay>(events)});
    }
    void AddRunning(const DoseEvent& e, double end, double c1, double c2) {
        if (!(earliest < end)) return;  // over before any time asked for
        running.push_back({e.time, end, c1, c2});
        longestInfusion = std::max(longestInfusion, e.infusionTime);
    }
};

LinearSums OneCompartmentSums(PredictionInput& in, const ParameterSet& p, double k, double tMin, double tMax) {
    const std::vector<double> m = ComplianceOf(in.events, p.CF);
    LinearSums sums(in.events.size(), tMin);
    Channel& decays = sums.ChannelOf(k);
    RepeatedExp decay(k);
    for (std::size_t i = 0; i < in.events.size() && in.events[i].time <= tMax; ++i) {
        DoseEvent& e = in.events[i];
        if (e.route == kEventIV && e.infusionTime <= 0) {
            decays.Add(e.time, m[i] * e.amount * e.salt / p.Vd);
        } else if (e.route == kEventIV) {
            const double c1 = m[i] * e.salt * e.rate / p.Cl;
            const double end = e.time + e.infusionTime;
            sums.AddRunning(e, end, c1, 0);
            decays.Add(end, c1 * (1 - decay(e.infusionTime)));
        } else {
            if (e.ka == k) e.ka += 0.0001;
            const double g = e.route == kEventOral ? p.F : 1.0;
            const double c1 = g * e.amount * e.salt * e.ka * m[i] / (p.Vd * (e.ka - k));
            decays.Add(e.time, c1);
            sums.ChannelOf(e.ka).Add(e.time, -c1);
        }
    }
    return sums;
}

struct TwoCompartmentRates {
    double alpha, beta;
};

LinearSums TwoCompartmentSums(const PredictionInput& in, const ParameterSet& p, TwoCompartmentRates r, double tMin,
                              double tMax) {
    const std::vector<double> m = ComplianceOf(in.events, p.CF);
    const double a = (in.k21 - r.beta) / r.beta;
    const double b = (r.alpha - in.k21) / r.alpha;
    LinearSums sums(in.events.size(), tMin);
    Channel &betaDecays = sums.ChannelOf(r.beta), &alphaDecays = sums.ChannelOf(r.alpha);
    RepeatedExp alpha(r.alpha), beta(r.beta);
    for (std::size_t i = 0; i < in.events.size() && in.events[i].time <= tMax; ++i) {
        const DoseEvent& e = in.events[i];
        if (e.infusionTime <= 0) continue;  // only infusions enter this model
        const double scale = m[i] * e.salt * e.rate / (in.vc * (r.alpha - r.beta));
        const double end = e.time + e.infusionTime;
        sums.AddRunning(e, end, scale * a, scale * b);
        betaDecays.Add(end, scale * a * (1 - beta(e.infusionTime)));
        alphaDecays.Add(end, scale * b * (1 - alpha(e.infusionTime)));
    }
    return sums;
}

// Adds each channel's decays started at or before each time to `c`, the
// times visited in ascending `order`.
void AddDecays(Channel& channel, const std::vector<double>& times, const std::vector<std::size_t>& order,
               std::vector<double>& c) {
    std::vector<Decay>& decays = channel.decays;
    decays.resize(channel.count);
    if (decays.empty()) return;
    const auto byStart = [](const Decay& x, const Decay& y) { return x.start < y.start; };
    if (!std::is_sorted(decays.begin(), decays.end(), byStart)) std::stable_sort(decays.begin(), decays.end(), byStart);
    RepeatedExp step(channel.rate), between(channel.rate);
    double sum = 0, at = decays.front().start;
    std::size_t next = 0;
    for (std::size_t i : order) {
        // Two decays at a time: the sum then waits on one product and one
        // addition per pair instead of per decay. The pairs are fixed from
        // the first decay on and a lone last one is added to a copy, so the
        // other times asked for never change a level's rounding.
        for (; next + 1 < decays.size() && decays[next + 1].start <= times[i]; next += 2) {
            const Decay &x = decays[next], &y = decays[next + 1];
            const double xToY = between(y.start - x.start);
            sum = sum * (step(x.start - at) * xToY) + (x.amount * xToY + y.amount);
            at = y.start;
        }
        double level = sum, from = at;
        const bool lone = next < decays.size() && decays[next].start <= times[i];
        if (lone) {
            level = sum * step(decays[next].start - at) + decays[next].amount;
            from = decays[next].start;
        }
        if (next > 0 || lone) c[i] += level * std::exp(-channel.rate * (times[i] - from));
    }
}

// The infusions running at t lie among those that started within the
// longest infusion time before it (rounding kept in step with `end`).
double RunningAt(const LinearSums& sums, double r1, double r2, double t) {
    const auto after = std::upper_bound(sums.running.begin(), sums.running.end(), t,
                                        [](double x, const Running& r) { return x < r.time; });
    double c = 0;
    for (auto it = after; it != sums.running.begin();) {
        --it;
        if (!(t < it->time + sums.longestInfusion)) break;
        if (!(t < it->end)) continue;
        const double tau = t - it->time;
        c += it->c1 * (1 - std::exp(-r1 * tau));
        if (it->c2 != 0) c += it->c2 * (1 - std::exp(-r2 * tau));
    }
    return c;
}

std::vector<double> SumsAt(LinearSums& sums, double r1, double r2, const std::vector<double>& times) {
    std::vector<std::size_t> order(times.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return times[a] < times[b]; });
    std::vector<double> c(times.size());
    for (std::size_t i = 0; i < times.size(); ++i) c[i] = RunningAt(sums, r1, r2, times[i]);
    for (Channel& channel : sums.channels) AddDecays(channel, times, order, c);
    return c;
}

// The level at time 0 decays with the slowest rate constant.
std::optional<double> WithBaseline(double c, const PredictionInput& in, double rate, double t) {
    if (in.baseline) c += *in.baseline * std::exp(-rate * t);
    return std::isfinite(c) ? std::optional<double>(c) : std::nullopt;
}
}  // namespace

void PredictLinear(PredictionInput& in, const ParameterSet& p, const std::vector<double>& times,
                   std::vector<std::optional<double>>& out) {
    if (times.empty() || p.Vd == 0 || p.Cl == 0) return;
    const auto [tMin, tMax] = std::minmax_element(times.begin(), times.end());
    if (in.modelType == 2) {
        if (in.vc == 0 || in.k21 == 0) return;
        TwoCompartmentRates r;
        r.beta = p.Cl / p.Vd;
        r.alpha = p.Cl / in.vc * in.k21 / r.beta;
        if (r.alpha == r.beta) return;
        LinearSums sums = TwoCompartmentSums(in, p, r, *tMin, *tMax);
        const std::vector<double> c = SumsAt(sums, r.beta, r.alpha, times);
        for (std::size_t i = 0; i < times.size(); ++i) out[i] = WithBaseline(c[i], in, r.beta, times[i]);
        return;
    }
    const double k = p.Cl / p.Vd;
    LinearSums sums = OneCompartmentSums(in, p, k, *tMin, *tMax);
    const std::vector<double> c = SumsAt(sums, k, k, times);
    for (std::size_t i = 0; i < times.size(); ++i) out[i] = WithBaseline(c[i], in, k, times[i]);
}
