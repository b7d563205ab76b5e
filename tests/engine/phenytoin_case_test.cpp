#include <gtest/gtest.h>

#include "engine/forecast_model.h"
#include "engine/patient_measures.h"
#include "engine/phenytoin_case.h"
#include "records/case_record.h"

TEST(PhenytoinCase, SaltBioavailabilityAndFreeFractionFromTheRecord) {
    CaseRecord r;
    r.Drug_ID = "ph";
    r.RouteProduct = "Oral - Suspension";
    r.RouteCode = 'O';
    r.PO_Salt = 0.92, r.ParenteralSalt = 1;
    r.population.F = 0.9;
    r.bayes.F = 0.7;
    r.Cur_fit_method = kBayesian;
    EXPECT_EQ(ProductSalt(r), 0.92);
    EXPECT_EQ(ProductBioavailability(r), 0.9);  // no fit product: the population F
    r.FitRouteProduct1 = "Oral - Capsules";
    EXPECT_EQ(ProductBioavailability(r), 0.7);  // fitted by mouth: the current set's F
    r.RouteCode = 'D';
    EXPECT_TRUE(TakenWhole(r));
    EXPECT_EQ(ProductSalt(r), 1);
    EXPECT_EQ(ProductBioavailability(r), 1);

    // Adult, CrCl above 25 mL/min: fu = 1 / (1 + 2.0455 albumin), x 1.5 with valproate.
    r.Age = 40, r.SEX = "M", r.Wt = 70, r.Ht = 170, r.CrCl = 100, r.Albumin = 4.4;
    EXPECT_NEAR(CurrentFreeFraction(r), 1 / (1 + 2.0455 * 4.4), 1e-12);
    r.FactorFlags[2] = 1;
    EXPECT_NEAR(CurrentFreeFraction(r), 1.5 / (1 + 2.0455 * 4.4), 1e-12);

    ChooseSecondProduct(r, "Oral - Capsules");
    EXPECT_EQ(r.RouteCode2, 'O');
    EXPECT_EQ(r.FormName2, "Capsules");
    EXPECT_EQ(r.Salt2, 0.92);
}
