// Time of the analysis page's work (both fits, then the three curves) on four
// histories, each with predictions made in one pass per parameter set and, for
// comparison, in one pass per time; and of the whole opening as the page runs
// it on the record (fits, level table, curves), without drawing.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "engine/analysis_fits.h"
#include "engine/curves.h"
#include "engine/dose_expansion.h"
#include "engine/population_models.h"
#include "records/case_record.h"
#include "records/dosage_form.h"
#include "records/drug_catalogue.h"

namespace {
DoseRow Dose(int day, int hour, double dose, const char* route, double infusion, double interval, int doses) {
    DoseRow d;
    d.date = DateOfDayNumber(DayNumber(2026, 1, 1) + day);
    d.hour = hour;
    d.dose = dose;
    d.route = route;
    d.infusionTime = infusion;
    d.interval = interval;
    d.doses = doses;
    d.status = "I";
    return d;
}

LevelRow Level(int day, int hour) {
    LevelRow l;
    l.date = DateOfDayNumber(DayNumber(2026, 1, 1) + day);
    l.hour = hour;
    l.level = 1;  // replaced by a level of the patient's own parameters
    return l;
}

// How the patient behind the levels differs from the population.
struct Patient {
    double vd = 1.2, cl = 0.8, vm = 1.1;
};

// A 40-year-old man of 70 kg with the drug's default product and the levels
// a patient with a different Vd and Cl (Km, Vm) would have had.
CaseRecord Case(const char* drug, std::vector<DoseRow> doses, std::vector<LevelRow> levels, Patient who = {}) {
    CaseRecord r;
    r.Age = 40;
    r.SEX = "M";
    r.Wt = 70;
    r.Ht = 175;
    r.SCr = 1.0;
    r.Albumin = 4.0;
    r.Drug_ID = drug;
    SelectDrugModel(r);
    ChooseRouteProduct(r, DefaultRouteProduct(r.Drug_ID));
    r.history.doseRows = std::move(doses);
    r.history.levelRows = std::move(levels);
    if (const auto problem = AcceptHistory(r)) {
        std::cerr << drug << ": " << *problem << '\n';
        std::exit(1);
    }
    ParameterSet patient = r.population;
    patient.Vd *= who.vd;
    patient.Cl *= who.cl;
    patient.Km = patient.Cl;
    patient.Vm *= who.vm;
    for (LevelPoint& l : r.history.levels) l.observed = PredictConcentration(r, patient, l.time).value_or(1);
    return r;
}

// Phenytoin 300 mg a day by mouth for 33 days (about 800 hours), 10 levels.
CaseRecord PhenytoinCase(Patient who = {}) {
    std::vector<LevelRow> levels;
    for (int i = 0; i < 10; ++i) levels.push_back(Level(4 + 3 * i, 7));
    return Case("ph", {Dose(0, 8, 300, "C", 0, 24, 33)}, levels, who);
}

// The same with levels far above the population's: Km three times, Vmax
// two thirds of it, which takes the fits many iterations.
CaseRecord FarPhenytoinCase() { return PhenytoinCase({1.0, 3.0, 0.67}); }

// Vancomycin 1000 mg over 1 h every 12 h, 1000 doses; 10 levels in the last days.
CaseRecord VancomycinCase() {
    std::vector<LevelRow> levels;
    for (int i = 0; i < 5; ++i) {
        levels.push_back(Level(495 + i, 10));
        levels.push_back(Level(495 + i, 19));
    }
    return Case("vm", {Dose(0, 8, 1000, "IV", 1, 12, 1000)}, levels);
}

// Gentamicin 120 mg over 30 minutes every 8 h, 3 levels.
CaseRecord GentamicinCase() {
    return Case("gm", {Dose(0, 8, 120, "IV", 0.5, 8, 6)}, {Level(0, 9), Level(0, 15), Level(1, 23)});
}

const CaseRecord& CaseNamed(int which) {
    static const CaseRecord cases[] = {PhenytoinCase(), VancomycinCase(), GentamicinCase(), FarPhenytoinCase()};
    return cases[which];
}

void Analysis(benchmark::State& state) {
    const CaseRecord& r = CaseNamed(static_cast<int>(state.range(0)));
    PredictionInput in = PredictionInputOf(r);
    in.passPerTime = state.range(1) != 0;
    const AnalysisSetup setup = AnalysisSetupOf(r);
    for (auto _ : state) {
        const AnalysisFits fits = RunAnalysisFits(in, r.history, setup);
        const AnalysisCurves curves =
            ComputeCurves(in, r.history, {r.population, fits.leastSquares, fits.bayes}, r.GraphMax, false);
        benchmark::DoNotOptimize(curves);
    }
}

void Curves(benchmark::State& state) {
    const CaseRecord& r = CaseNamed(static_cast<int>(state.range(0)));
    PredictionInput in = PredictionInputOf(r);
    const AnalysisFits fits = RunAnalysisFits(in, r.history, AnalysisSetupOf(r));
    in.passPerTime = state.range(1) != 0;
    for (auto _ : state) {
        const AnalysisCurves curves =
            ComputeCurves(in, r.history, {r.population, fits.leastSquares, fits.bayes}, r.GraphMax, false);
        benchmark::DoNotOptimize(curves);
    }
}

// What the analysis page computes when it opens, on a fresh copy of the record.
void Opening(benchmark::State& state) {
    const CaseRecord& original = CaseNamed(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CaseRecord r = original;
        RunAnalysisFits(r);
        FillLevelPredictions(r);
        const AnalysisCurves curves = ComputeCurves(r);
        benchmark::DoNotOptimize(curves);
    }
}

constexpr int kCases = 4;

// Arguments: case (0 phenytoin, 1 vancomycin, 2 gentamicin, 3 phenytoin far
// from the population), pass per time (0 or 1).
void Cases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"case", "pass_per_time"})->Unit(benchmark::kMillisecond);
    for (int c = 0; c < kCases; ++c)
        for (int slow = 0; slow < 2; ++slow) b->Args({c, slow});
}

void OpeningCases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"case"})->Unit(benchmark::kMillisecond);
    for (int c = 0; c < kCases; ++c) b->Args({c});
}
}  // namespace

BENCHMARK(Analysis)->Apply(Cases);
BENCHMARK(Curves)->Apply(Cases);
BENCHMARK(Opening)->Apply(OpeningCases);
BENCHMARK_MAIN();
