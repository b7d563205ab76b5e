#include "output/report_content.h"

#include "engine/forecast_parameters.h"
#include "engine/patient_measures.h"
#include "output/report_texts.h"
#include "records/calendar.h"
#include "records/case_record.h"
#include "records/creatinine_unit.h"
#include "records/db/stored_text.h"
#include "records/text_format.h"
#include "records/units.h"

namespace {
// The value as typed in its own unit, or worked back from the stored one.
double Entered(double entered, double stored, bool otherUnit, double perStoredUnit) {
    if (entered != 0) return entered;
    return otherUnit ? stored * perStoredUnit : stored;
}
}  // namespace

ReportKind ReportKindOf(ReportSource reportSource, int fitType) {
    if (reportSource == ReportSource::BayesianResults) return ReportKind::Bayesian;
    if (reportSource == ReportSource::LeastSquaresResults) return ReportKind::LeastSquares;
    if (fitType == kReportBayesian) return ReportKind::Bayesian;
    if (fitType == kReportLeastSquares) return ReportKind::LeastSquares;
    return ReportKind::Population;
}

std::string RecommendationHeading(ReportKind kind) {
    switch (kind) {
        case ReportKind::Bayesian: return "Dosage Recommendation - Bayes Parameters";
        case ReportKind::LeastSquares: return "Dosage Recommendation - Least Squares Parameters";
        case ReportKind::Population: break;
    }
    return "Dosage Recommendation - Population Parameters";
}

ReportParameterTexts PrintedParameters(const ParameterSet& s) {
    ReportParameterTexts t;
    t.vd = FiniteNumber("%.2f", s.Vd);
    t.cl = FiniteNumber("%.2f", s.Cl);
    t.cf = FiniteNumber("%.1f", s.CF * 100);
    if (const auto kd = Kd(s.Vd, s.Cl)) t.kd = FormatNumber("%.2f", *kd);
    if (const auto halfLife = HalfLife(s.Vd, s.Cl)) t.halfLife = FormatNumber("%.2f", *halfLife);
    t.f = FiniteNumber("%.2f", s.F * 100);
    // From the half-life as it reads on the report.
    if (!t.halfLife.empty()) t.timeToSteadyState = FiniteNumber("%.2f", TimeToSteadyState(TextNumber(t.halfLife)));
    t.km = FiniteNumber("%.2f", s.Km);
    t.vm = FiniteNumber("%.2f", s.Vm);
    return t;
}

std::string PrintedHeight(const CaseRecord& r) {
    const bool inches = r.HtUnit == "in";
    const double entered = Entered(r.HtEntered, r.Ht, inches, kInchPerCm);
    if (inches) return FormatNumbers(" %.1f cm (%.1f in)", entered * kCmPerInch, entered);
    return FormatNumbers(" %.1f cm  (%.1f in)", entered, entered * kInchPerCm);
}

std::string PrintedWeight(const CaseRecord& r) {
    const bool pounds = r.WtUnit == "lb";
    const double entered = Entered(r.WtEntered, r.Wt, pounds, kLbPerKg);
    if (pounds) return FormatNumbers(" %.1f kg (%.1f lb)", entered * kKgPerLb, entered);
    return FormatNumbers(" %.1f kg (%.1f lb)", entered, entered * kLbPerKg);
}

ReportContent ReportContentOf(const CaseRecord& r, const ReportHeading& h, const ReportRegimen& regimen,
                              ReportKind kind, const ReportChoices& choices, const std::string& note, double now) {
    ReportContent c;
    c.kind = kind;
    c.choices = choices;
    c.phenytoin = r.Drug_ID == "ph";
    c.institution = h.institution;
    c.drug = h.drug;
    c.name = h.name;
    c.patientNumber = "Patient #" + h.id;
    c.dateAndTime = "Date: " + h.date + " " + IsoDateTime(now).substr(11, 5);
    c.age = "Age: " + h.ageValue + " " + h.ageUnit;
    c.sex = "Sex: " + h.sex;
    c.height = "Height: " + PrintedHeight(r);
    c.weight = "Weight: " + PrintedWeight(r);
    if (c.phenytoin) c.albumin = "Albumin: " + FormatNumber("%.2lf", r.Albumin) + " g/dL";
    if (r.SCr != 0) {
        c.renal = "Crs = " + ScrText(r.SCr, "%.2f") + " " + CreatinineUnitText();
        const double estimate = EstimateCrCl(BodyOf(r), r.SCr, 0.0, r.AugmentedCrClCap);
        if (estimate != 0) c.estimatedClearance = "Estimated CLcr = " + FormatNumber("%.2f", estimate) + " mL/min";
    } else {
        c.enteredClearance = "Entered CLcr: " + FormatNumber("%.1f", r.CrCl) + " mL/min";
    }
    c.population = PrintedParameters(r.population);
    c.current = PrintedParameters(r.CurrentSet());
    if (c.phenytoin) {
        if (!regimen.adjustedRangeLow.empty())
            c.adjustedRange = regimen.adjustedRangeLow + "-" + regimen.adjustedRangeHigh;
        c.steadyState90Days = regimen.steadyState90Days;
        c.freeFraction = FiniteNumber("%2.2f", 100 * CurrentFreeFraction(r)) + "%";
    }
    c.concentrationUnit = r.ConcUnit;
    c.regimenSentence = RegimenSentence(regimen, c.phenytoin);
    c.predictedLevels = PredictedLevelsLine(regimen, {c.phenytoin, choices.peak, kind == ReportKind::Population});
    if (!regimen.auc24.empty() && !c.phenytoin) c.exposure = "AUC24: " + regimen.auc24 + " " + AreaUnit(r.ConcUnit);
    if (kind != ReportKind::Population)
        c.caution = (kind == ReportKind::Bayesian ? r.bayesRange : r.leastSquaresRange).caution;
    c.note = note;
    return c;
}
