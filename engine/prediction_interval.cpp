#include "engine/prediction_interval.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr double kStep = 1.001;
constexpr double kZ95 = 1.959963984540054;  // the 97.5 % point of the normal distribution

double SlotOf(const ParameterSet& s, int slot) {
    switch (slot) {
        case 0: return s.F;
        case 1: return s.Vd;
        case 2: return s.Cl;
        case 3: return s.CF;
        default: return s.Vm;
    }
}

ParameterSet Stepped(ParameterSet s, int slot) {
    switch (slot) {
        case 0: s.F *= kStep; break;
        case 1: s.Vd *= kStep; break;
        case 2: s.Cl *= kStep, s.Km *= kStep; break;
        case 3: s.CF *= kStep; break;
        default: s.Vm *= kStep;
    }
    return s;
}

// The set with each slot moved by `by` (Km with Cl where the set holds one).
ParameterSet Moved(ParameterSet s, const std::array<double, kMaxFitParameters>& by) {
    s.F += by[0];
    s.Vd += by[1];
    if (s.Km != 0) s.Km += by[2];
    s.Cl += by[2];
    s.CF += by[3];
    s.Vm += by[4];
    return s;
}
}  // namespace

std::optional<PredictionRange> PredictionInterval(const SetPrediction& predict, const ParameterSet& set,
                                                  const FitMatrix& covariance, int parameterCount) {
    const std::optional<double> y = predict(set);
    if (!y || !std::isfinite(*y)) return std::nullopt;
    const int n = std::clamp(parameterCount, 0, kMaxFitParameters);
    std::array<double, kMaxFitParameters> slope{};
    for (int j = 0; j < n; ++j) {
        const double p = SlotOf(set, j);
        if (p == 0) continue;
        const std::optional<double> stepped = predict(Stepped(set, j));
        if (!stepped || !std::isfinite(*stepped)) return std::nullopt;
        slope[j] = (*stepped - *y) / (p * (kStep - 1));
    }
    double variance = 0;
    for (int j = 0; j < n; ++j)
        for (int k = 0; k < n; ++k) variance += slope[j] * slope[k] * covariance[j][k];
    if (!(variance >= 0) || !std::isfinite(variance)) return std::nullopt;
    const double sd = std::sqrt(variance);
    double low = *y - kZ95 * sd, high = *y + kZ95 * sd;
    if (sd > 0) {
        // Covariance x slope / sd: the move of 1 sd along the steepest direction.
        std::array<double, kMaxFitParameters> up{}, down{};
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < n; ++k) up[j] += covariance[j][k] * slope[k];
            up[j] *= kZ95 / sd;
            down[j] = -up[j];
        }
        const ParameterSet upper = Moved(set, up), lower = Moved(set, down);
        // A move that takes a parameter to 0 or below leaves the model.
        bool positive = true;
        for (int j = 0; j < n; ++j)
            if (SlotOf(set, j) > 0) positive = positive && SlotOf(upper, j) > 0 && SlotOf(lower, j) > 0;
        const std::optional<double> above = positive ? predict(upper) : std::nullopt;
        const std::optional<double> below = positive ? predict(lower) : std::nullopt;
        if (above && below && std::isfinite(*above) && std::isfinite(*below)) {
            low = std::min({*y, *above, *below});
            high = std::max({*y, *above, *below});
        }
    }
    return PredictionRange{std::max(0.0, low), high};
}
