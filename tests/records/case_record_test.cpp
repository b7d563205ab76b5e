#include <gtest/gtest.h>

#include "records/case_record.h"

namespace {
CaseRecord FilledCase() {
    CaseRecord r;
    r.PATIENT_REC_Num = 7;
    r.Patient_ID = "H123";
    r.PATIENT_LAST_NAME = "Smith";
    r.Patient_Note = "note";
    r.Age = 40;
    r.Case_number = 3;
    r.DateText = "03/05/2012";
    r.Wt = 70;
    r.Ht = 170;
    r.SCr = 1;
    r.CrCl = 90;
    r.Albumin = 4;
    r.RouteProduct = "Oral - Tablets";
    r.FormName = "Tablets";
    r.FactorFlags[2] = 1;
    r.ModelType = 3;
    r.Cur_fit_method = kBayesian;
    r.bayes.Vd = 30;
    r.history.doseRows.resize(2);
    r.StoredHistoryRead = true;
    r.FitRouteProduct2 = "IM - Injection";
    r.userDrug.held = true;
    return r;
}
}  // namespace

TEST(ResetCase, SamePatientKeepsIdentityAndClearsTheCase) {
    CaseRecord r = FilledCase();
    ResetCase(r, false);
    EXPECT_EQ(r.PATIENT_REC_Num, 7);
    EXPECT_EQ(r.Patient_ID, "H123");
    EXPECT_DOUBLE_EQ(r.Age, 40);
    EXPECT_EQ(r.Case_number, 0);
    EXPECT_TRUE(r.DateText.empty());
    EXPECT_EQ(r.Wt, 0);
    EXPECT_EQ(r.CrCl, 0);
    EXPECT_TRUE(r.RouteProduct.empty());
    EXPECT_FALSE(r.Factor(2));
    EXPECT_EQ(r.ModelType, 1);
    EXPECT_EQ(r.Cur_fit_method, kPopulation);
    EXPECT_EQ(r.bayes, ParameterSet{});
    EXPECT_TRUE(r.history.doseRows.empty());
    EXPECT_FALSE(r.StoredHistoryRead);
    EXPECT_TRUE(r.FitRouteProduct2.empty());
    EXPECT_FALSE(r.userDrug.held);
}

TEST(ResetCase, NewPatientAlsoClearsIdentity) {
    CaseRecord r = FilledCase();
    ResetCase(r, true);
    EXPECT_EQ(r.PATIENT_REC_Num, 0);
    EXPECT_TRUE(r.Patient_ID.empty());
    EXPECT_TRUE(r.PATIENT_LAST_NAME.empty());
    EXPECT_TRUE(r.Patient_Note.empty());
    EXPECT_EQ(r.Age, 0);
}

TEST(CaseRecord, CurrentSetFollowsTheFitMethod) {
    CaseRecord r;
    r.leastSquares.Cl = 2;
    r.Cur_fit_method = kLeastSquares;
    EXPECT_EQ(r.CurrentSet().Cl, 2);
    r.Cur_fit_method = kDetailed;
    EXPECT_EQ(&r.CurrentSet(), &r.population);
    EXPECT_FALSE(r.Factor(0));
    EXPECT_FALSE(r.Factor(50));
}
