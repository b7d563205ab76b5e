#include <gtest/gtest.h>

#include "records/case_record.h"
#include "records/dosage_form.h"

namespace {
CaseRecord Case(const char* drug, double age = 40) {
    CaseRecord r;
    r.Drug_ID = drug;
    r.Age = age;
    return r;
}

struct Expected {
    const char* drug;
    const char* product;
    double salt, f, fSd, ka;
};
}  // namespace

TEST(DosageForm, RowsOfTheTable) {
    // Salt of the route (oral or parenteral), F, F uncertainty and the route's ka.
    const Expected rows[] = {
        {"gm", "IM - Injection", 1.0, 1.0, -1, -1},
        {"dg", "Oral - Tablets", 1.0, 0.7, 0.14285714285714285, 1.5},
        {"dg", "Oral - Capsules", 1.0, 0.95, 0.05263157894736842, 1.5},
        {"pb", "Oral - Elixir", 1.0, 1.0, -1, 7.2},
        {"pb", "IM - Injection", 0.91, 1.0, -1, 1.1},
        {"qd", "Oral - Dura - Tabs Tablets (Quinaglute)", 0.625, 0.8, 0.15, 0.7},
        {"qd", "Oral - Tablets (Cardioquin)", 0.6, 0.8, 0.15, 1.15},
        {"qd", "IM - Injection(Gluconate)", 0.625, 0.875, 0.25, 0.77},
        {"th", "Continuous IV - Injection(Aminophylline)", 0.79, 1.0, 0.05, -1},
        {"th", "Oral - Capsules(Slo - Phylline Gyrocaps)", 1.0, 0.985, 0.14, 0.41},
        {"th", "Oral - Tablets (Theo - dur 200,300 mg)", 1.0, 0.97, 0.15, 0.125},
        {"li", "Oral - Tablets (Eskalith CR)", 1.0, 0.97, 0.1, 0.5},
        {"li", "Oral - Syrup", 1.0, 1.0, 0.1, 3.6},
        {"fc", "Oral - Capsules", 1.0, 0.84, 0.15, 1.1},
        {"ox", "Oral - Tablets", 1.0, 1.0, 0.1, 3.0},
        {"pc", "Oral - Slow - Release Capsules", 0.87, 0.83, 0.166, 0.4},
        {"pc", "Continuous IV - Injection", 0.87, 1.0, 0.05, -1},
        {"ph", "Oral - Capsules", 0.92, 1.0, -1, 0.15},
        {"ph", "Oral - Suspension", 1.0, 1.0, -1, 0.15},
        {"ph", "Intermittent IV - Injection (Fosphenytoin)", 0.92, 1.0, -1, 3.6},
        {"ph", "IM - Injection (Fosphenytoin)", 0.92, 1.0, -1, 2.5},
    };
    for (const Expected& e : rows) {
        SCOPED_TRACE(std::string(e.drug) + " " + e.product);
        CaseRecord r = Case(e.drug);
        r.Init_f_sd = -1;
        r.PO_Ka = r.IM_ka = -1;
        ChooseRouteProduct(r, e.product);
        const bool oral = r.RouteCode == 'O';
        EXPECT_DOUBLE_EQ(oral ? r.PO_Salt : r.ParenteralSalt, e.salt);
        EXPECT_DOUBLE_EQ(r.population.F, e.f);
        EXPECT_DOUBLE_EQ(r.Init_f_sd, e.fSd);
        EXPECT_DOUBLE_EQ(oral ? r.PO_Ka : r.IM_ka, e.ka);
    }
}

TEST(DosageForm, RowsThatLeaveValuesAlone) {
    // Digoxin elixir keeps the salt set before; Phyllocontin keeps ka and F SD.
    CaseRecord dg = Case("dg");
    dg.PO_Salt = 1.0;
    ChooseRouteProduct(dg, "Oral - Elixir");
    EXPECT_DOUBLE_EQ(dg.PO_Salt, 1.0);
    EXPECT_DOUBLE_EQ(dg.population.F, 0.775);
    CaseRecord th = Case("th");
    th.PO_Ka = 0.3;
    th.Init_f_sd = 0.2;
    ChooseRouteProduct(th, "Oral - Tablets (Aminophylline Phyllocontin)");
    EXPECT_DOUBLE_EQ(th.PO_Ka, 0.3);
    EXPECT_DOUBLE_EQ(th.Init_f_sd, 0.2);
    EXPECT_DOUBLE_EQ(th.PO_Salt, 0.79);
    // Digoxin's oral ka is 1.5 whatever the route.
    CaseRecord iv = Case("dg");
    ChooseRouteProduct(iv, "Intermittent IV - Injection");
    EXPECT_DOUBLE_EQ(iv.PO_Ka, 1.5);
}

TEST(DosageForm, FirstProductWithoutKaTakesTheDefaultProductsKa) {
    // A new theophylline case has no oral ka yet; Phyllocontin sets none, so
    // the default product's (Theo - dur 200,300 mg) 0.125 per hour stands in.
    CaseRecord th = Case("th");
    ChooseRouteProduct(th, "Oral - Tablets (Aminophylline Phyllocontin)");
    EXPECT_DOUBLE_EQ(th.PO_Ka, 0.125);
    EXPECT_DOUBLE_EQ(th.PO_Salt, 0.79);
    // An IV product leaves the oral ka alone.
    CaseRecord iv = Case("th");
    ChooseRouteProduct(iv, "Intermittent IV - Injection");
    EXPECT_DOUBLE_EQ(iv.PO_Ka, 0);
}

TEST(DosageForm, CiprofloxacinTabletOverSixty) {
    CaseRecord at60 = Case("cx", 60);
    ChooseRouteProduct(at60, "Oral - Tablets");
    EXPECT_DOUBLE_EQ(at60.population.F, 0.7);
    CaseRecord at61 = Case("cx", 61);
    ChooseRouteProduct(at61, "Oral - Tablets");
    EXPECT_DOUBLE_EQ(at61.population.F, 0.875);
}

TEST(DosageForm, PhenytoinNewbornF) {
    CaseRecord r = Case("ph", 0.05);
    ChooseRouteProduct(r, "Oral - Tablets");
    EXPECT_DOUBLE_EQ(r.population.F, 0.9);
}

TEST(DosageForm, FactorEffectsOnFAndKa) {
    CaseRecord dg = Case("dg");
    dg.FactorFlags[4] = 1;  // amiodarone
    ChooseRouteProduct(dg, "Oral - Elixir");
    EXPECT_DOUBLE_EQ(dg.population.F, 0.96875);
    ChooseRouteProduct(dg, "Oral - Tablets");
    EXPECT_DOUBLE_EQ(dg.population.F, 0.875);

    // Two ticked ciprofloxacin factors multiply: 0.7 x 0.4 x 0.5.
    CaseRecord cx = Case("cx");
    cx.FactorFlags[1] = cx.FactorFlags[5] = 1;
    ChooseRouteProduct(cx, "Oral - Tablets");
    EXPECT_NEAR(cx.population.F, 0.7 * 0.4 * 0.5, 1e-15);
    EXPECT_DOUBLE_EQ(cx.Init_f_sd, 0.2);
    // Not on the IV route.
    ChooseRouteProduct(cx, "Intermittent IV - Injection");
    EXPECT_DOUBLE_EQ(cx.population.F, 1.0);

    CaseRecord ox = Case("ox");
    ox.FactorFlags[1] = ox.FactorFlags[2] = 1;
    ChooseRouteProduct(ox, "Oral - Tablets");
    EXPECT_NEAR(ox.PO_Ka, 3.0 * 0.67, 1e-15);
    EXPECT_NEAR(ox.population.F, 0.55 * 0.825, 1e-15);
    EXPECT_DOUBLE_EQ(ox.Init_f_sd, 0.15);

    CaseRecord qd = Case("qd");
    qd.FactorFlags[1] = qd.FactorFlags[7] = 1;
    ChooseRouteProduct(qd, "Oral - Tablets (Cardioquin)");
    EXPECT_NEAR(qd.PO_Ka, 1.15 * 0.55, 1e-15);
    EXPECT_NEAR(qd.population.F, 0.8 * 0.59, 1e-15);
    ChooseRouteProduct(qd, "IM - Injection(Gluconate)");
    EXPECT_NEAR(qd.IM_ka, 0.77 * 0.44, 1e-15);

    CaseRecord ph = Case("ph");
    ph.FactorFlags[5] = 1;  // tube feeding
    ChooseRouteProduct(ph, "Oral - Suspension");
    EXPECT_NEAR(ph.population.F, 0.6, 1e-15);
    EXPECT_DOUBLE_EQ(ph.Init_f_sd, 0.3);
}

TEST(DosageForm, ApplyingTheSameFormTwiceGivesTheSameValues) {
    CaseRecord qd = Case("qd");
    qd.FactorFlags[1] = 1;
    ChooseRouteProduct(qd, "Oral - Sustained - Release (Gluconate)");
    ChooseRouteProduct(qd, "Intermittent IV - Injection(Gluconate)");
    ChooseRouteProduct(qd, "Intermittent IV - Injection(Gluconate)");
    EXPECT_NEAR(qd.PO_Ka, 1.8 * 0.55, 1e-15);
}

TEST(DosageForm, UserDrugGroups) {
    CaseRecord r = Case("zz");
    r.userDrug.units = "mcg-mcg/L";
    r.userDrug.oralKa = "1.20";
    r.userDrug.oralSalt = "0.500";
    r.userDrug.oralF = "90";
    r.userDrug.imKa = "2.00";
    r.userDrug.imSalt = "1.00";
    r.userDrug.imF = "80";
    r.userDrug.ivSalt = "0.900";
    ChooseRouteProduct(r, "Oral - Tablet");
    EXPECT_DOUBLE_EQ(r.PO_Ka, 1.2);
    EXPECT_DOUBLE_EQ(r.PO_Salt, 0.5);
    EXPECT_DOUBLE_EQ(r.population.F, 0.9);
    EXPECT_EQ(r.DoseUnit, "mcg");
    EXPECT_EQ(r.ConcUnit, "mcg/L");
    ChooseRouteProduct(r, "IM - ");
    EXPECT_DOUBLE_EQ(r.IM_ka, 2.0);
    EXPECT_DOUBLE_EQ(r.population.F, 0.8);
    ChooseRouteProduct(r, "Continuous IV - ");
    EXPECT_DOUBLE_EQ(r.ParenteralSalt, 0.9);
    EXPECT_DOUBLE_EQ(r.population.F, 1.0);
}
