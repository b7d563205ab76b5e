#include "records/case_record.h"

CaseRecord& TheCase() {
    static CaseRecord record;
    return record;
}

ParameterSet& CaseRecord::SetFor(int fitMethod) {
    return const_cast<ParameterSet&>(static_cast<const CaseRecord&>(*this).SetFor(fitMethod));
}

const ParameterSet& CaseRecord::SetFor(int fitMethod) const {
    switch (fitMethod) {
        case kLeastSquares: return leastSquares;
        case kBayesian: return bayes;
        default: return population;
    }
}

void ResetCase(CaseRecord& r, bool newPatient) {
    r.Case_number = 0;
    // The saved-parameters date belongs to the case; a new case must not show it.
    r.Date_created = 0;
    r.DateText.clear();
    r.Case_Note.clear();
    r.RouteProduct.clear();
    r.FormName.clear();
    r.RouteCode = 'X';
    r.FactorFlags.fill(0);
    r.Ht = r.Wt = r.SCr = r.Albumin = r.CrCl = 0;
    r.WtEntered = r.HtEntered = 0;
    r.history = History{};
    r.StoredHistoryRead = false;
    r.regimen = SavedRegimen{};
    r.pages = KeptPages{};
    r.reportRegimen = ReportRegimen{};
    r.population = r.leastSquares = r.bayes = ParameterSet{};
    r.leastSquaresRange = r.bayesRange = FitRange{};
    r.userDrug.held = false;
    r.FormName2.clear();
    r.RouteProduct2.clear();
    r.FitRouteProduct1.clear();
    r.FitRouteProduct2.clear();
    r.ModelType = 1;
    r.Cur_fit_method = kPopulation;
    if (newPatient) {
        r.PATIENT_REC_Num = 0;
        r.Patient_ID.clear();
        r.Patient_ID2.clear();
        r.PATIENT_LAST_NAME.clear();
        r.PATIENT_FIRST_NAME.clear();
        r.DisplayName.clear();
        r.Patient_Note.clear();
        r.Age = 0;
        r.DATE_STORED = 0;
        r.storedIdentity = PatientIdentity{};
    }
}

PatientIdentity IdentityOf(const CaseRecord& r) {
    return {r.PATIENT_LAST_NAME, r.PATIENT_FIRST_NAME, r.Patient_ID, r.BIRTHDAY};
}

void SetBirthday(CaseRecord& r, const CivilDate& birthday, double now) {
    r.BIRTHDAY = birthday;
    r.Age = AgeInYears(birthday, now);
}
