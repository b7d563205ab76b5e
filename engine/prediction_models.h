#pragma once
// The model kinds behind PredictConcentrations; `out` has one slot per time.
#include <optional>
#include <vector>

struct DoseEvent;
struct PredictionInput;
struct ParameterSet;

// The compliance multiplier of each event (in time order): CF for outpatient
// doses until the first inpatient dose, 1 from that dose on.
std::vector<double> ComplianceOf(const std::vector<DoseEvent>& events, double cf);

void PredictLinear(PredictionInput& in, const ParameterSet& p, const std::vector<double>& times,
                   std::vector<std::optional<double>>& out);
void PredictPhenytoin(const PredictionInput& in, const ParameterSet& p, const std::vector<double>& times,
                      std::vector<std::optional<double>>& out);
// One `out` row per set, each as PredictPhenytoin gives it.
void PredictPhenytoinSets(const PredictionInput& in, const std::vector<ParameterSet>& sets,
                          const std::vector<double>& times, std::vector<std::vector<std::optional<double>>>& out);
