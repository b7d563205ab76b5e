#include "engine/prediction_interval.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr double kStep = 1.001;

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
    const double spread = std::sqrt(variance);
    return PredictionRange{std::max(0.0, *y - spread), *y + spread};
}
