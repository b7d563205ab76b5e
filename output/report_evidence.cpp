#include "output/report_evidence.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/patient_measures.h"
#include "engine/target_attainment.h"
#include "records/case_record.h"
#include "records/db/stored_text.h"
#include "records/text_format.h"

namespace {
// The history page shows amounts "%.2f" and an infusion time, interval or
// count of 0 as an empty cell.
std::string Hundredths(double value) { return FormatNumber("%.2f", value); }
std::string ShownIfSet(double value) { return value != 0 ? Hundredths(value) : std::string(); }
std::string Clock(int hour, int minute) { return FormatNumbers("%02.0f:%02.0f", hour, minute); }

EvidenceTable DoseTable(const CaseRecord& r) {
    EvidenceTable t{
        {"Date", "Time", "Dose (" + r.DoseUnit + ")", "Route", "Infusion (hr)", "Interval (hr)", "Doses", "Status"},
        {}};
    for (const DoseRow& row : r.history.doseRows)
        t.rows.push_back({IsoDate(row.date), row.timeEntered ? Clock(row.hour, row.minute) : std::string(),
                          Hundredths(row.dose), row.route, ShownIfSet(row.infusionTime), ShownIfSet(row.interval),
                          row.doses != 0 ? std::to_string(row.doses) : std::string(), row.status});
    return t;
}

const char* SetName(ReportKind kind) { return kind == ReportKind::Bayesian ? "Bayesian" : "Least Sq."; }

const ParameterSet& SetOf(const CaseRecord& r, ReportKind kind) {
    return kind == ReportKind::Bayesian ? r.bayes : r.leastSquares;
}

// Each level at its moment, to the minute it was entered with.
EvidenceTable LevelTable(const CaseRecord& r, ReportKind kind) {
    const History& h = r.history;
    EvidenceTable t{{"Date", "Time", "Measured (" + r.ConcUnit + ")", std::string("Predicted, ") + SetName(kind)}, {}};
    std::vector<double> times;
    for (const LevelPoint& level : h.levels) times.push_back(level.time);
    PredictionInput in = PredictionInputOf(r);
    const auto predicted = PredictConcentrations(in, SetOf(r, kind), times);
    for (std::size_t i = 0; i < h.levels.size(); ++i) {
        const LevelPoint& level = h.levels[i];
        const std::string moment = IsoDateTime(std::round((h.timeZero + level.time) * 60) / (24 * 60));
        // A prediction below 0 is no level.
        const bool shown = predicted[i] && *predicted[i] >= 0;
        t.rows.push_back({moment.substr(0, 10), moment.substr(11, 5),
                          level.observed < 0 ? "pred." : FormatNumber("%.1f", level.observed),
                          shown ? FormatNumber("%.1f", *predicted[i]) : std::string()});
    }
    return t;
}

// A fitted parameter as the page shows it: its place in the fit's vector
// and the factor and format of its unit.
struct ParameterRow {
    const char* label;
    int index;
    double scale;
    const char* format;
};

std::vector<ParameterRow> ParameterRows(bool phenytoin) {
    if (phenytoin)
        return {{"F (%)", 0, 100, "%.1f"},
                {"Vd (L)", 1, 1, "%.2f"},
                {"Km (mg/L)", 2, 1, "%.2f"},
                {"CF (%)", 3, 100, "%.1f"},
                {"Vmax (mg/day)", 4, 1, "%.1f"}};
    return {
        {"F (%)", 0, 100, "%.1f"}, {"Vd (L)", 1, 1, "%.2f"}, {"Cl (L/hr)", 2, 1, "%.2f"}, {"CF (%)", 3, 100, "%.1f"}};
}

std::string Shown(const ParameterRow& row, const std::optional<double>& value) {
    return value ? FiniteNumber(row.format, *value * row.scale) : std::string();
}

// The posterior's quantiles belong to the Bayesian set only; a
// least-squares report shows its own fit's ranges. A parameter no level
// depends on is held at its prior value and has no range.
void AddParameters(ReportEvidence& e, const CaseRecord& r, ReportKind kind, const Posterior* posterior) {
    const bool phenytoin = r.ModelType == 3;
    const bool credible = posterior && kind == ReportKind::Bayesian;
    const FitVector values = FitVectorOf(SetOf(r, kind), phenytoin);
    const FitRange& range = kind == ReportKind::Bayesian ? r.bayesRange : r.leastSquaresRange;
    const auto held = HeldParameters(PredictionInputOf(r), r.history);
    e.parameters.headings = {"Parameter", SetName(kind), credible ? "2.5 %" : "- 1 SD", credible ? "97.5 %" : "+ 1 SD"};
    for (const ParameterRow& row : ParameterRows(phenytoin)) {
        std::vector<std::string> cells = {row.label, Shown(row, values[row.index])};
        if (held[row.index]) {
            cells.insert(cells.end(), {"held", "held"});
        } else if (credible) {
            const std::vector<double> draws = ParameterDraws(*posterior, row.index);
            cells.push_back(Shown(row, Quantile(draws, 0.025)));
            cells.push_back(Shown(row, Quantile(draws, 0.975)));
        } else {
            cells.push_back(Shown(row, range.lower[row.index]));
            cells.push_back(Shown(row, range.upper[row.index]));
        }
        e.parameters.rows.push_back(cells);
    }
    if (credible) {
        e.rangeSource = "95 % credible range: 2.5 and 97.5 % of " + std::to_string(posterior->draws.size()) +
                        " posterior draws (effective sample size " +
                        FormatNumber("%.0f", posterior->effectiveSampleSize) + ")" +
                        (posterior->poor ? ", few distinct sets: read the range with care." : ".");
    } else {
        e.rangeSource =
            std::string("Range: the fit's value one standard deviation either side (linear approximation, ") +
            (kind == ReportKind::Bayesian ? "no posterior draws" : "the posterior belongs to the Bayesian fit") +
            "), not a 95 % range.";
    }
    if (std::count(held.begin(), held.end(), true) > 0)
        e.rangeSource += " A held parameter acts on no level and keeps its prior value.";
}

std::string ModelLine(const CaseRecord& r) {
    if (r.ModelType == 3) return "Model: one compartment, saturable (Michaelis-Menten) elimination.";
    if (r.ModelType == 2)
        return "Model: two compartments, linear elimination (Vc " + FiniteNumber("%.2f", r.Vc) + " L, k21 " +
               FiniteNumber("%.3f", r.K21) + " /hr).";
    return "Model: one compartment, linear elimination.";
}

void AddModel(ReportEvidence& e, const CaseRecord& r) {
    const AnalysisSetup s = AnalysisSetupOf(r);
    e.model = {ModelLine(r),
               "Assay error of the Bayesian fit: SD = " + FiniteNumber("%.3f", s.fixedError) + " " + r.ConcUnit +
                   " + " + FiniteNumber("%.1f", 100 * s.proportionalError) + " % of the level.",
               "Time weighting: the error grows by a factor " + FiniteNumber("%.3f", s.timeWeight) +
                   " per hour before the last level."};
    e.priors.headings = {"Parameter", "Prior mean", "Prior SD"};
    const FitVector means = FitVectorOf(s.initial, s.phenytoin);
    for (const ParameterRow& row : ParameterRows(s.phenytoin)) {
        const double relative = s.relativeSd[row.index];
        // Phenytoin's parameters after F are judged on a log scale.
        const std::string spread = s.phenytoin && row.index > 0
                                       ? "SD of log " + FiniteNumber("%.2f", relative)
                                       : FiniteNumber(row.format, relative * means[row.index] * row.scale) + " (" +
                                             FiniteNumber("%.0f", 100 * relative) + " %)";
        e.priors.rows.push_back({row.label, Shown(row, means[row.index]), spread});
    }
}

std::optional<double> Number(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return TextNumber(text);
}

std::string Chance(const std::optional<double>& share, const std::string& what) {
    return share ? FormatNumber("%.0f", 100 * *share) + " % chance " + what : std::string();
}

std::string RangeText(double low, double high, const std::string& unit) {
    return FormatNumbers("%.1f-%.1f ", low, high) + unit;
}

// The chances, over the Bayesian posterior, that the recommended regimen's
// steady state reaches its targets; or why there are none.
std::vector<std::string> AttainmentLines(const CaseRecord& r, const ReportRegimen& g, const Posterior* posterior) {
    if (!posterior) return {"Not computed: no posterior draws (no usable Bayesian fit)."};
    std::vector<std::string> lines;
    if (r.ModelType == 3) {
        if (Number(g.dose2).value_or(0) > 0) return {"Not computed for a regimen of two products."};
        const auto range = AdjustedRange(CurrentFreeFraction(r));
        if (!range) return {"Not computed: no therapeutic range for the patient's binding."};
        const Attainment a = PhenytoinAttainment(*posterior, {Number(g.dose), Number(g.interval), ProductSalt(r)},
                                                 {range->low, range->high});
        lines.push_back(Chance(a.average, "average level in " + RangeText(range->low, range->high, r.ConcUnit) +
                                              " (the range for the patient's binding)"));
    } else {
        if (g.routeCode != 'D') return {"Computed for intermittent infusions only."};
        // Vancomycin is dosed for its exposure with the trough kept in range,
        // the other drugs for both peak and trough in range.
        const bool vancomycin = r.Drug_ID == "vm";
        IntermittentTargets targets;
        if (r.TherapeuticRangeSet && r.TherapeuticMax > 0) targets.trough = {r.TherapeuticMin, r.TherapeuticMax};
        if (vancomycin) targets.auc24 = {400, 600};
        else targets.peak = targets.trough;
        if (!targets.trough.Asked() && !targets.auc24.Asked()) return {"Not computed: the drug has no target range."};
        const Attainment a =
            IntermittentAttainment(RegimenModelOf(r, r.CurrentSet().F), *posterior,
                                   {Number(g.dose), Number(g.interval), Number(g.infusionTime), 0, {}}, targets);
        const std::string range = RangeText(r.TherapeuticMin, r.TherapeuticMax, r.ConcUnit);
        for (const std::string& line : {Chance(a.trough, "trough in " + range), Chance(a.peak, "peak in " + range),
                                        Chance(a.auc24, "AUC24 in 400-600 " + AreaUnit(r.ConcUnit))})
            if (!line.empty()) lines.push_back(line);
        if (lines.size() > 1) lines.push_back(Chance(a.all, "all of these at once"));
    }
    lines.push_back("At steady state, over " + std::to_string(posterior->draws.size()) +
                    " draws of the Bayesian posterior" +
                    (posterior->poor ? " (few distinct sets: read with care)." : "."));
    return lines;
}
}  // namespace

ReportEvidence ReportEvidenceOf(const CaseRecord& r, ReportKind kind, const ReportRegimen& regimen,
                                const Posterior* posterior) {
    ReportEvidence e;
    e.doses = DoseTable(r);
    e.levels = LevelTable(r, kind);
    AddParameters(e, r, kind, posterior);
    AddModel(e, r);
    e.attainment = AttainmentLines(r, regimen, posterior);
    return e;
}
