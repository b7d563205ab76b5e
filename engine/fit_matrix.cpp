#include "engine/fit_matrix.h"

#include <cmath>
#include <utility>

namespace {
constexpr double kSingularPivot = 1e-8;
}

bool InvertMatrix(const FitMatrix& a, int n, FitMatrix& inverse) {
    FitMatrix lu = a;
    int row[kMaxFitParameters];
    for (int i = 0; i < n; ++i) row[i] = i;
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int i = col + 1; i < n; ++i)
            if (std::fabs(lu[row[i]][col]) > std::fabs(lu[row[pivot]][col])) pivot = i;
        std::swap(row[col], row[pivot]);
        const double p = lu[row[col]][col];
        if (!(std::fabs(p) >= kSingularPivot)) return false;
        for (int i = col + 1; i < n; ++i) {
            double& factor = lu[row[i]][col];
            factor /= p;
            for (int k = col + 1; k < n; ++k) lu[row[i]][k] -= factor * lu[row[col]][k];
        }
    }
    FitMatrix result{};
    for (int unit = 0; unit < n; ++unit) {
        double x[kMaxFitParameters];
        for (int i = 0; i < n; ++i) {
            double sum = row[i] == unit ? 1.0 : 0.0;
            for (int k = 0; k < i; ++k) sum -= lu[row[i]][k] * x[k];
            x[i] = sum;
        }
        for (int i = n - 1; i >= 0; --i) {
            double sum = x[i];
            for (int k = i + 1; k < n; ++k) sum -= lu[row[i]][k] * x[k];
            x[i] = sum / lu[row[i]][i];
        }
        for (int i = 0; i < n; ++i) result[i][unit] = x[i];
    }
    inverse = result;
    return true;
}
