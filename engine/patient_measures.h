#pragma once
// Body-size measures, the creatinine clearance estimate and the phenytoin
// unbound fraction. Weights in kg, heights in cm, ages in years.
#include <string>

struct CaseRecord;

struct PatientBody {
    double age = 0;
    std::string sex;  // "M", "F" or anything else
    double wt = 0;
    double ht = 0;
};

double IdealBodyWeight(const PatientBody& p);
double LeanBodyWeight(const PatientBody& p);
double BodySurfaceArea(const PatientBody& p);
double DosingWeight(const PatientBody& p);
double AdjustedBodyWeight(const PatientBody& p);
// Estimate from SCr (entered 0) or the entered value, capped as for the age.
double EstimateCrCl(const PatientBody& p, double scr, double entered, bool augmentedCap);
double FreeFraction(const PatientBody& p, double albumin, double crcl, bool valproate, bool bilirubin);

// The same measures read from the case record.
PatientBody BodyOf(const CaseRecord& r);
double IdealBodyWeight(const CaseRecord& r);
double LeanBodyWeight(const CaseRecord& r);
double BodySurfaceArea(const CaseRecord& r);
double DosingWeight(const CaseRecord& r);
double AdjustedBodyWeight(const CaseRecord& r);
// Stores the result in CrCl.
double EstimateCrCl(CaseRecord& r, double entered);
// Estimates CrCl from SCr when SCr is given; otherwise the entered CrCl stands.
void RefreshCrCl(CaseRecord& r);
// Phenytoin's unbound fraction worked out afresh from the record's albumin,
// clearance, age and size and its valproate and bilirubin answers.
double CurrentFreeFraction(const CaseRecord& r);
