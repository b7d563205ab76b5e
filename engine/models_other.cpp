// Population models of digoxin, phenobarbital, quinidine, theophylline,
// procainamide and phenytoin.
#include <algorithm>
#include <cmath>

#include "engine/drug_models.h"
#include "engine/patient_measures.h"
#include "records/case_record.h"

void DigoxinModel(CaseRecord& r) {
    const double A = r.Age, W = r.Wt;
    SetDrugDefaults(r, 0.1, 0.0625, 1.005, 3, 0.5, 2);
    r.PO_Salt = 1.0;
    r.ParenteralSalt = 1.0;

    r.init_vd_sd = 0.3;
    double vd;
    if (A <= 0.083) vd = r.Factor(10) ? 7.5 * W : 8.75 * W;
    else if (A <= 2) vd = (3.78 * A + 8.44) * W;
    else if (A <= 10) vd = 16 * DosingWeight(r);
    else vd = 3.84 * DosingWeight(r) + 3.12 * r.CrCl;
    if (r.Factor(2)) vd *= 1.3;
    if (r.Factor(3)) vd *= 0.7;
    if (r.Factor(4)) vd *= 0.88;
    if (r.Factor(6)) vd *= 0.7;
    r.population.Vd = vd;

    r.init_cl_sd = 0.52;
    double nonRenal = 0, renal = 0;
    if (A > 10) {
        nonRenal = r.Factor(1) ? 0.33 : 0.8;
        renal = r.Factor(1) ? 0.88 : 1.02;
    } else if (A > 0.5) {
        nonRenal = 0.7;
        renal = 1.4;
    }
    if (r.Factor(7)) nonRenal *= 0.57;
    if (r.Factor(8)) {
        renal *= 1.2;
        nonRenal *= 0.15;
    }
    double cl = 0.06 * (nonRenal * IdealBodyWeight(r) + renal * r.CrCl);
    if (A > 0.083 && A <= 0.5 && r.SCr <= 1.2) cl = 0.06 * (3.2388 - 2.8777 * A) * W;
    if (A <= 0.083 && r.SCr < 4.8 * A + 0.8) cl = r.Factor(10) ? 0.12 * W : 0.18 * W;
    if (r.Factor(2)) cl *= 1.3;
    if (r.Factor(3)) cl *= 0.7;
    if (r.Factor(4)) cl *= 0.72;
    if (r.Factor(5)) cl *= 0.85;
    if (r.Factor(6)) cl *= 0.5;
    if (r.Factor(9)) cl *= 0.7;
    r.population.Cl = cl;
}

void PhenobarbitalModel(CaseRecord& r) {
    const double A = r.Age, W = r.Wt;
    SetDrugDefaults(r, 0.05, 1.5, 1.005, 60, 15, 45);
    r.population.F = 1.0;
    r.Init_f_sd = 0.1;
    r.PO_Salt = 1.0;
    r.ParenteralSalt = 0.91;
    r.PO_Ka = 3.15;
    r.IM_ka = 1.1;

    r.init_vd_sd = A > 13 ? 0.1 : 0.2;
    r.population.Vd = A <= 0.083 ? (0.91 - 3.7 * A) * W : 0.6 * W;

    r.init_cl_sd = A > 13 ? 0.2 : 0.4;
    double cl;
    if (A > 13) cl = 0.004 * W;
    else if (A > 10) cl = (0.0077 - 0.0012333 * (A - 10)) * W;
    else if (A > 0.083) cl = 0.0077 * W;
    else cl = (0.0325 * A + 0.005) * W;
    if (r.Factor(1)) cl *= 0.66;
    if (r.Factor(2)) cl *= 0.83;
    if (r.Factor(3)) cl *= 1.35;
    if (r.Factor(4)) {
        cl *= 0.65;
        r.init_cl_sd = 0.4;
    }
    r.population.Cl = cl;
}

void QuinidineModel(CaseRecord& r) {
    const double A = r.Age, W = r.Wt, dw = DosingWeight(r);
    SetDrugDefaults(r, 0.1, 0.125, 1.005, 9, 1, 4);

    r.init_vd_sd = 0.4;
    double vd = A > 0.5 ? 2.7 * dw : 0;
    if (r.Factor(1)) vd *= 0.681;
    if (r.Factor(2)) vd *= 1.5;
    r.population.Vd = vd;

    r.init_cl_sd = 0.5;
    double cl = 0;
    if (A > 12) {
        double nonRenal = A > 60 && W > 50 ? 10.0 : 0.2 * dw;
        if (r.Factor(1)) nonRenal *= 0.54;
        cl = nonRenal + 0.0566 * r.CrCl;
    } else if (A > 0.5) {
        // The taper from 9 to 12 years reaches 0 near 9.8 years; below that
        // point no population clearance can be given (0 = missing).
        cl = A <= 9 ? 0.46 * dw : std::max(0.0, dw * (0.46 - 0.57 * (A - 9)));
        if (r.Factor(1)) cl *= 0.66;
    }
    if (r.Factor(3)) cl *= 0.5;
    if (r.Factor(4)) cl *= 2.5;
    if (r.Factor(5)) cl *= 0.6;
    if (r.Factor(6)) cl *= 2.5;
    if (r.Factor(7)) cl *= 3.7;
    if (r.Factor(8)) cl *= 0.65;
    r.population.Cl = cl;
}

void TheophyllineModel(CaseRecord& r) {
    const double A = r.Age, W = r.Wt, dw = DosingWeight(r);
    const bool overweight = IdealBodyWeight(r) < W;
    SetDrugDefaults(r, 0.15, 0, 1.01, 30, 10, 20);

    r.init_vd_sd = 0.25;
    double vd;
    if (A <= 0.083) vd = 0.77 * W;
    else if (A <= 1) vd = (0.8 - 0.31 * A) * W;
    else vd = overweight ? 0.35 * W : 0.48 * W;

    r.init_cl_sd = 0.5;
    double cl;
    if (A <= 1) cl = (0.066 * A + 0.018) * W;
    else if (A <= 10) cl = 0.084 * dw;
    else if (A <= 18) cl = (0.084 - 0.0055 * (A - 10)) * dw;
    else if (A <= 60) cl = overweight ? 0.032 * W : 0.04 * W;
    else cl = 0.035 * W;

    static const double clFactor[] = {1,   0.43, 0.5, 0.8, 1.6,  0.75, 0.75, 0.7,
                                      1.5, 1.45, 0.5, 1.8, 1.33, 0.85, 1.4,  0.8};
    for (int i = 1; i <= 15; ++i)
        if (r.Factor(i)) cl *= clFactor[i];
    if (r.Factor(11)) vd *= 1.3;
    if (r.Factor(15)) vd *= 1.4;
    r.population.Vd = vd;
    r.population.Cl = cl;
}

void ProcainamideModel(CaseRecord& r) {
    const double A = r.Age, W = r.Wt, dw = DosingWeight(r);
    SetDrugDefaults(r, 0.1, 0.35, 1.005, 20, 4, 10);
    r.PO_Salt = 0.87;
    r.ParenteralSalt = 0.87;
    r.IM_ka = 1.0;

    r.init_vd_sd = 0.3;
    if (A <= 12) r.population.Vd = 2.9 * W;
    else if (A < 18) r.population.Vd = (2.9 - 0.166 * (A - 12)) * dw;
    else r.population.Vd = 1.9 * dw;

    r.init_cl_sd = 0.5;
    double cl;
    if (A <= 0.5) {
        cl = 0.4 * W;
    } else if (A <= 12) {
        // The child coefficients are mL/min per kg: converted to L/h like
        // the adult branch, which also joins the infant value at 6 months.
        cl = 0.06 * (A <= 7 ? (7.3 + 1.86 * (A - 0.5)) * W : 19.4 * W);
    } else {
        double nonRenal = 3.9, renal = 2.7;
        if (r.Factor(2)) {
            nonRenal = 3.12;
            renal = 1.62;
        }
        if (r.Factor(3)) renal *= 0.54;
        cl = 0.06 * (nonRenal * dw + renal * r.CrCl);
        if (r.Factor(1)) cl *= 0.77;
        if (r.Factor(4)) cl *= 0.65;
    }
    r.population.Cl = cl;
}

void PhenytoinModel(CaseRecord& r) {
    const double A = r.Age, W = r.Wt;
    SetDrugDefaults(r, 0.1, 0.75, 1.005, 30, 0, 0);
    const double fu = CurrentFreeFraction(r);
    r.FreeFraction = fu;

    if (A < 0.083) {
        r.population.F = 0.9;
        r.Init_f_sd = 0.2;
    } else {
        r.population.F = 1.0;
        r.Init_f_sd = 0.1;
    }
    if (r.Factor(5)) r.Init_f_sd = 0.3;

    const double ibw = IdealBodyWeight(r);
    const double v0 = A >= 1 ? 0.65 * (ibw < W ? ibw + 1.33 * (W - ibw) : W) : W;
    r.population.Vd = 10 * fu * v0;
    r.init_vd_sd = 0.2;

    double k0;
    if (A < 0.083) k0 = 5.0;
    else if (A < 0.5) k0 = 5 + 0.3 * (A - 0.083);
    else if (A < 15) k0 = 6.4;
    else k0 = 5.7;
    if (r.Factor(1)) k0 /= 2;
    double km = k0 / (10 * fu);
    r.init_cl_sd = 0.5;

    double vm;
    if (A < 6) vm = 11.5 * W;
    else if (A < 18) vm = std::pow(W / 70, 0.6) * (805 - 25 * (A - 6));
    else vm = std::pow(W / 70, 0.6) * (500 - 1.5 * (A - 18));
    if (r.Factor(4)) vm *= 1.4;
    r.init_vm_sd = 0.3;

    if (r.Factor(6)) km *= 1.75;
    r.population.Cl = r.population.Km = km;
    r.population.Vm = vm;

    r.TherapeuticMax = 20 / (10 * fu);
    r.TherapeuticMin = 10 / (10 * fu);
    r.PhenytoinAbsRate = A >= 18 ? 60 : W;
}
