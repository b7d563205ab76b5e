#pragma once
// An independent fine-step integration for checking the closed forms and the
// phenytoin grid: classical Runge-Kutta over a vector state.
#include <functional>
#include <vector>

using OdeState = std::vector<double>;
using OdeSlope = std::function<OdeState(double t, const OdeState& y)>;

// Integrates from t0 to t1 in `steps` equal steps.
inline OdeState IntegrateOde(const OdeSlope& f, OdeState y, double t0, double t1, int steps) {
    const double h = (t1 - t0) / steps;
    const auto axpy = [](const OdeState& y, double a, const OdeState& k) {
        OdeState out = y;
        for (std::size_t i = 0; i < y.size(); ++i) out[i] += a * k[i];
        return out;
    };
    for (int s = 0; s < steps; ++s) {
        const double t = t0 + s * h;
        const OdeState k1 = f(t, y);
        const OdeState k2 = f(t + h / 2, axpy(y, h / 2, k1));
        const OdeState k3 = f(t + h / 2, axpy(y, h / 2, k2));
        const OdeState k4 = f(t + h, axpy(y, h, k3));
        for (std::size_t i = 0; i < y.size(); ++i) y[i] += h / 6 * (k1[i] + 2 * k2[i] + 2 * k3[i] + k4[i]);
    }
    return y;
}
