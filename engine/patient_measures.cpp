#include "engine/patient_measures.h"

#include <algorithm>
#include <cmath>

#include "records/case_record.h"
#include "records/units.h"

namespace {
// The answers "Is valproic acid concentration > 70 mg/L ?" and "Is the
// patient's bilirubin > 6 mg/dL ?" of the phenytoin factor list.
constexpr int kValproate = 2, kBilirubin = 3;

double InchesOverFiveFeet(double ht) { return ht * kExactInchPerCm - 60.0; }

double AdultIbw(const PatientBody& p) {
    const double x = InchesOverFiveFeet(p.ht);
    return p.sex == "M" ? 50.0 + 2.3 * x : 45.5 + 2.27 * x;
}

double ChildIbw(const PatientBody& p) {
    if (p.age < 1) return p.wt;
    const double x = InchesOverFiveFeet(p.ht);
    if (p.ht >= 154) return p.sex == "M" ? 2.27 * x + 39.0 : 2.27 * x + 42.2;
    return 2.396 * std::exp(0.01863 * p.ht);
}
}  // namespace

double IdealBodyWeight(const PatientBody& p) {
    if (p.age >= 18) {
        if (p.ht >= 122) return AdultIbw(p);
        if (p.sex == "M") return ChildIbw(p);
        if (p.sex == "F") return 0.9 * ChildIbw(p);
        return 0.0;
    }
    if (p.age < 16) return ChildIbw(p);
    return p.ht >= 154 ? (ChildIbw(p) + AdultIbw(p)) / 2.0 : ChildIbw(p);
}

double LeanBodyWeight(const PatientBody& p) {
    const double bmi = p.wt / std::pow(p.ht / 100.0, 2);
    return p.sex == "M" ? 9270.0 * p.wt / (6680.0 + 216.0 * bmi) : 9270.0 * p.wt / (8780.0 + 244.0 * bmi);
}

double BodySurfaceArea(const PatientBody& p) { return 0.024265 * std::pow(p.wt, 0.5378) * std::pow(p.ht, 0.3964); }

double DosingWeight(const PatientBody& p) {
    const double ibw = IdealBodyWeight(p);
    if (ibw >= p.wt) return p.wt;
    return std::max(ibw, LeanBodyWeight(p));
}

double AdjustedBodyWeight(const PatientBody& p) {
    const double ibw = IdealBodyWeight(p);
    if (ibw >= p.wt) return p.wt;
    return ibw + 0.4 * (p.wt - ibw);
}

double EstimateCrCl(const PatientBody& p, double scr, double entered, bool augmentedCap) {
    double crcl = entered;
    if (entered == 0) {
        if (scr <= 0) {
            crcl = 0;  // nothing to estimate from
        } else if (p.age > 18) {
            crcl = DosingWeight(p) * (140.0 - p.age) / (72.0 * scr);
            if (p.sex == "F" && IdealBodyWeight(p) >= LeanBodyWeight(p)) crcl *= 0.85;
        } else if (p.age >= 0.5) {
            crcl = BodySurfaceArea(p) * (0.48 * p.ht / scr) * 0.5780346820809249;
        } else {
            crcl = 0;
        }
        const double bsa = BodySurfaceArea(p);
        if (augmentedCap) {
            crcl = std::min(crcl, 265.0);
        } else {
            crcl = std::min(crcl, 90.0 * bsa);
            if (p.age < 5) crcl = std::min(crcl, 58.0 * bsa);
        }
    }
    return std::isfinite(crcl) ? std::max(crcl, 0.0) : 0.0;
}

double FreeFraction(const PatientBody& p, double albumin, double crcl, bool valproate, bool bilirubin) {
    double fu;
    if (p.age <= 0.083) {
        fu = 0.2;
    } else if (p.age < 18) {
        const double bsa = BodySurfaceArea(p);
        if (crcl < 5.780346820809249 * bsa) fu = 1.0 / (albumin + 1.0);
        else if (crcl <= 14.450867052023122 * bsa) fu = 1.0 / (1.5 * albumin + 1.0);
        else fu = 1.0 / (2.0455 * albumin + 1.0);
    } else if (crcl < 10) {
        fu = 1.0 / (albumin + 1.0);
    } else if (crcl <= 25) {
        fu = 1.0 / (albumin * (1.0 + 0.07 * (crcl - 10.0)) + 1.0);
    } else {
        fu = 1.0 / (2.0455 * albumin + 1.0);
    }
    if (bilirubin) fu *= 1.5;
    if (valproate) fu *= 1.5;
    return fu;
}

PatientBody BodyOf(const CaseRecord& r) { return {r.Age, r.SEX, r.Wt, r.Ht}; }
double IdealBodyWeight(const CaseRecord& r) { return IdealBodyWeight(BodyOf(r)); }
double LeanBodyWeight(const CaseRecord& r) { return LeanBodyWeight(BodyOf(r)); }
double BodySurfaceArea(const CaseRecord& r) { return BodySurfaceArea(BodyOf(r)); }
double DosingWeight(const CaseRecord& r) { return DosingWeight(BodyOf(r)); }
double AdjustedBodyWeight(const CaseRecord& r) { return AdjustedBodyWeight(BodyOf(r)); }

double EstimateCrCl(CaseRecord& r, double entered) {
    r.CrCl = EstimateCrCl(BodyOf(r), r.SCr, entered, r.AugmentedCrClCap);
    return r.CrCl;
}

void RefreshCrCl(CaseRecord& r) {
    if (r.SCr != 0) EstimateCrCl(r, 0.0);
}

double CurrentFreeFraction(const CaseRecord& r) {
    return FreeFraction(BodyOf(r), r.Albumin, r.CrCl, r.Factor(kValproate), r.Factor(kBilirubin));
}
