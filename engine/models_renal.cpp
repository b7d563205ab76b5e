// Population models of the renally cleared drugs: aminoglycosides,
// vancomycin, flucytosine, the quinolones and lithium.
#include "engine/drug_models.h"
#include "engine/patient_measures.h"
#include "records/case_record.h"

namespace {
void ParenteralDefaults(CaseRecord& r, double fSd) {
    r.population.F = 1.0;
    r.Init_f_sd = fSd;
    r.ParenteralSalt = 1.0;
}
}  // namespace

void AminoglycosideModel(CaseRecord& r) {
    const double A = r.Age, W = r.Wt;
    const bool amikacin = r.Drug_ID == "ak", netilmicin = r.Drug_ID == "nm";
    const double timeWt = r.Factor(1) || r.Factor(5) ? 1.01 : 1.005;
    if (amikacin) SetDrugDefaults(r, 0.1, 0.75, timeWt, 45, 6, 30);
    else if (netilmicin) SetDrugDefaults(r, 0.1, 0.3, timeWt, 15, 2.5, 12);
    else SetDrugDefaults(r, 0.1, 0.25, timeWt, 15, 2, 10);
    ParenteralDefaults(r, 0.05);
    r.IM_ka = A > 75 ? 2.7 : 1.9;

    r.init_vd_sd = A > 65 ? 0.5 : 0.3;
    double vd = 0;
    if (A > 0.5) {
        vd = 0.3 * AdjustedBodyWeight(r);
        if (r.Factor(3)) vd *= 1.17;
        if (r.Factor(4)) vd *= 1.1;
    } else if (A > 0.083) {
        vd = (0.52 - 0.44 * A) * W;
    }
    if (A > 0.083) {
        if (r.Factor(1)) vd *= 1.13;
    } else {
        vd = r.Factor(8) ? 0.63 * W : r.Factor(9) ? 0.58 * W : 0.52 * W;
    }
    r.population.Vd = vd;

    r.init_cl_sd = 0.5;
    double cl = 0;
    if (A > 0.083 && A <= 0.5 && r.SCr < 1.2) cl = (0.17 * A + 0.05) * W;
    if (A <= 0.166 && r.SCr < 4.8 * A + 0.8) {
        if (A <= 0.083) {
            cl = r.Factor(9) ? 0.042 * W : (0.17 * A + 0.05) * W;
            if (r.Factor(7)) cl = (0.29 * A + 0.04) * W;
        }
        if (r.Factor(6)) cl = (0.29 * A + 0.03) * W;
    }
    if (A > 0.5) cl = 0.06 * (0.82 * r.CrCl + (r.Factor(5) ? 0.24 : 0.11) * DosingWeight(r));
    r.population.Cl = cl;
}

void VancomycinModel(CaseRecord& r) {
    const double A = r.Age, W = r.Wt, abw = AdjustedBodyWeight(r);
    SetDrugDefaults(r, 0.1, 1.25, r.Factor(1) ? 1.01 : 1.005, 90, 15, 50);
    ParenteralDefaults(r, 0.1);
    const bool anuricAdult = A >= 18 && r.CrCl < 10;

    r.Vc = anuricAdult ? abw * 0.45 : abw * 0.17;
    if (r.Factor(5) && A <= 0.083) r.Vc = 0.28 * W;

    r.init_vd_sd = 0.3;
    double vd = 0.7 * abw;
    if (A <= 0.083 && (W <= 1 || r.Factor(4))) vd = 0.63 * W;
    if (anuricAdult) vd = 1.0 * abw;
    if (A < 0.5) r.init_vd_sd = 0.16;
    if (r.Factor(1) && A > 0.083) vd *= 1.13;
    r.population.Vd = vd;

    r.init_cl_sd = 0.5;
    if (A > 0.5) {
        r.population.Cl = 0.06 * (0.05 * DosingWeight(r) + 0.79 * r.CrCl);
    } else {
        r.init_cl_sd = 0.32;
        // The infant formula needs a serum creatinine; with only an entered
        // CrCl no population clearance is given (0 = missing).
        if (r.SCr > 0) {
            const double q = r.SCr <= 0.7 ? 1 : 0;
            const double p = r.Factor(3) && A < 0.164 ? 0 : 1;
            r.population.Cl = W * (q * A * 0.046355 + p * 0.0123 + 0.028 / r.SCr) + 0.006;
        }
    }
    r.K21 = A > 0.083 ? 0.46 : 0.64;
}

void FlucytosineModel(CaseRecord& r) {
    SetDrugDefaults(r, 0.15, 2.6, 1.005, 150, 35, 70);
    ParenteralDefaults(r, 0.05);
    r.PO_Ka = 1.1;
    r.PO_Salt = 1.0;
    const bool covered = r.Age >= 0.5;
    r.init_vd_sd = 0.3;
    r.population.Vd = covered ? 0.71 * DosingWeight(r) : 0;
    r.init_cl_sd = 0.5;
    r.population.Cl = covered ? 0.06 * (0.01 * DosingWeight(r) + 0.79 * r.CrCl) : 0;
}

namespace {
// The quinolones have no therapeutic range: the range is emptied, never
// left from an earlier drug.
void QuinoloneDefaults(CaseRecord& r, double fixedErr) {
    SetDrugDefaults(r, 0.1, fixedErr, 1.005, 10, 0, 0);
    r.TherapeuticRangeSet = false;
    r.PO_Salt = 1.0;
    r.ParenteralSalt = 1.0;
    r.init_vd_sd = 0.3;
    r.init_cl_sd = 0.5;
}
}  // namespace

void CiprofloxacinModel(CaseRecord& r) {
    QuinoloneDefaults(r, 0.25);
    const bool adult = r.Age >= 18;
    const double bsa = BodySurfaceArea(r);
    r.population.Vd = adult ? 2 * AdjustedBodyWeight(r) : 0;
    r.population.Cl = adult ? DosingWeight(r) * (bsa * 0.5780346820809249) * (0.0025085 * r.CrCl / bsa + 0.167) : 0;
}

void LevofloxacinModel(CaseRecord& r) {
    QuinoloneDefaults(r, 0.15);
    const bool adult = r.Age >= 18;
    r.population.Vd = adult ? 1.36 * DosingWeight(r) : 0;
    r.population.Cl = adult ? 0.06 * (1.21 * r.CrCl + 36) : 0;
}

void LithiumModel(CaseRecord& r) {
    const double A = r.Age;
    SetDrugDefaults(r, 0.1, 0.045, 1.005, 2.5, 0.4, 1.4);
    r.PO_Salt = 1.0;
    r.init_vd_sd = 0.3;
    r.population.Vd = A >= 70 ? 0.59 * IdealBodyWeight(r) : A >= 12 ? 0.73 * IdealBodyWeight(r) : 0;
    r.init_cl_sd = 0.5;
    double cl = A >= 12 ? 0.006 * DosingWeight(r) + 0.0084 * r.CrCl : 0;
    if (r.Factor(1)) cl *= 1.3;
    if (r.Factor(2)) {
        cl *= 0.67;
        r.init_cl_sd = 0.43;
    }
    if (r.Factor(3)) cl *= 0.75;
    if (r.Factor(4)) cl *= 0.5;
    if (r.Factor(5)) cl *= 1.5;
    if (r.Factor(6)) cl *= 0.71;
    r.population.Cl = cl;
}
