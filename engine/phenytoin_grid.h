#pragma once
// The time grid of the phenytoin model: the history span cut into at most
// 48000 steps of at most one minute, with an input rate held over each cell.
#include <optional>
#include <vector>

struct PredictionInput;
struct ParameterSet;

struct PhenytoinGrid {
    double stepsPerHour = 60;
    int steps = 0;  // grid points 0..steps at i / stepsPerHour hours
};
// At most 60 steps per hour and 48000 steps over `spanHours`; a span beyond
// 48000 hours gets steps longer than an hour rather than none. The grid
// reaches on at the same rate to `reachHours` when that is later. Missing
// when a span is not finite or the grid would be too large to hold.
std::optional<PhenytoinGrid> PhenytoinGridOf(double spanHours, double reachHours = 0);

// Input rate (mg/h) of cells 0..steps-1; cell i holds from point i to i + 1.
// Each dose is spread evenly over the cells it covers and delivers exactly
// its amount, however long the cells are.
std::vector<double> PhenytoinInputRates(const PredictionInput& in, const ParameterSet& p, const PhenytoinGrid& g);
