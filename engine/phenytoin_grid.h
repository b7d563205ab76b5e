#pragma once
// The time grid of the phenytoin model: the history span cut into at most
// 48000 steps of at most one minute, with an input rate held over each cell.
#include <vector>

struct PredictionInput;
struct ParameterSet;

struct PhenytoinGrid {
    double stepsPerHour = 60;
    int steps = 0;  // grid points 0..steps at i / stepsPerHour hours
};
PhenytoinGrid PhenytoinGridOf(double spanHours);

// Input rate (mg/h) of cells 0..steps-1; cell i holds from point i to i + 1.
std::vector<double> PhenytoinInputRates(const PredictionInput& in, const ParameterSet& p, const PhenytoinGrid& g);
