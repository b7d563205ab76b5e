#include "engine/prediction.h"

#include <algorithm>

#include "engine/forecast_inputs.h"
#include "engine/prediction_models.h"
#include "records/case_record.h"

std::vector<double> ComplianceOf(const std::vector<DoseEvent>& events, double cf) {
    std::vector<double> m(events.size());
    double current = cf;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].outpatient == 0) current = 1;
        m[i] = current;
    }
    return m;
}

PredictionInput PredictionInputOf(const CaseRecord& r) {
    const History& h = r.history;
    PredictionInput in;
    in.modelType = r.ModelType;
    in.events = h.events;
    if (h.measuredCount > 0 && !h.levels.empty() && h.levels.front().time == 0) in.baseline = h.levels.front().observed;
    in.vc = r.Vc;
    in.k21 = r.K21;
    in.phenytoinAbsRate = r.PhenytoinAbsRate;
    double measured = h.events.empty() ? 0 : h.events.back().time;
    for (int i = 0; i < h.measuredCount; ++i) measured = std::max(measured, h.levels[i].time);
    double predicted = 0;
    for (std::size_t i = h.measuredCount; i < h.levels.size(); ++i) predicted = std::max(predicted, h.levels[i].time);
    in.gridSpan = measured + h.lastDoseInterval;
    in.predictionReach = predicted + h.lastDoseInterval;
    return in;
}

std::vector<std::optional<double>> PredictConcentrations(PredictionInput& in, const ParameterSet& p,
                                                         const std::vector<double>& times) {
    const auto predict = [&](const std::vector<double>& t, std::vector<std::optional<double>>& out) {
        if (in.modelType == 3) PredictPhenytoin(in, p, t, out);
        else PredictLinear(in, p, t, out);
    };
    std::vector<std::optional<double>> out(times.size());
    // Constants that describe no two-compartment model predict nothing.
    if (in.modelType == 2 && TwoCompartmentProblem(p.Vd, p.Cl, in.vc, in.k21)) return out;
    if (!in.passPerTime) {
        predict(times, out);
        return out;
    }
    for (std::size_t i = 0; i < times.size(); ++i) {
        std::vector<std::optional<double>> one(1);
        predict({times[i]}, one);
        out[i] = one[0];
    }
    return out;
}

std::vector<std::vector<std::optional<double>>> PredictConcentrationSets(PredictionInput& in,
                                                                         const std::vector<ParameterSet>& sets,
                                                                         const std::vector<double>& times) {
    std::vector<std::vector<std::optional<double>>> out;
    if (in.modelType == 3 && !in.passPerTime) {
        PredictPhenytoinSets(in, sets, times, out);
        return out;
    }
    for (const ParameterSet& p : sets) out.push_back(PredictConcentrations(in, p, times));
    return out;
}

std::optional<double> PredictConcentration(PredictionInput& in, const ParameterSet& p, double t) {
    return PredictConcentrations(in, p, {t}).front();
}

std::optional<double> PredictConcentration(CaseRecord& r, const ParameterSet& p, double t) {
    PredictionInput in = PredictionInputOf(r);
    const auto c = PredictConcentration(in, p, t);
    r.history.events = std::move(in.events);
    return c;
}
