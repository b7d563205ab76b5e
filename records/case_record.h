#pragma once
// Everything known about the current patient, case and drug. One instance
// lives for the whole run (TheCase()); every page reads and writes it.
#include <array>
#include <cstdint>
#include <string>

#include "records/calendar.h"
#include "records/history.h"
#include "records/page_texts.h"
#include "records/parameter_set.h"
#include "records/regimen.h"
#include "records/report_regimen.h"
#include "records/user_drug.h"

inline constexpr int kFactorFlagCount = 50;

// What tells one stored patient from another.
struct PatientIdentity {
    std::string lastName, firstName, id;
    CivilDate birthday;
    bool operator==(const PatientIdentity&) const = default;
};

struct CaseRecord {
    // Patient part.
    std::int32_t PATIENT_REC_Num = 0;
    std::string Patient_ID;
    std::string Patient_ID2;  // second copy kept by the reload for the entry pages
    std::string PATIENT_LAST_NAME;
    std::string PATIENT_FIRST_NAME;
    std::string DisplayName;
    CivilDate BIRTHDAY;
    double DATE_STORED = 0;  // moment
    std::string SEX = "M";
    double Age = 0;  // years
    std::string Patient_Note;
    // The patient row as this program last read or wrote it. A store first
    // checks that the row still carries it: another workstation may have
    // deleted the patient, and the number may since name someone else.
    PatientIdentity storedIdentity;

    // Case part.
    std::int32_t Case_number = 0;
    double Date_created = 0;  // moment
    std::string DateText;     // shown beside "Parameters Saved On "
    double Wt = 0;            // kg
    std::string WtUnit = "kg";
    double Ht = 0;  // cm
    std::string HtUnit = "cm";
    double WtEntered = 0;  // as typed, in WtUnit
    double HtEntered = 0;  // as typed, in HtUnit
    double SCr = 0;        // mg/dL
    double CrCl = 0;       // mL/min
    double Albumin = 0;    // g/dL
    std::string Drug_ID;   // lower case
    std::array<std::uint8_t, kFactorFlagCount> FactorFlags{};
    std::string Case_Note;
    std::string RouteProduct;
    char RouteCode = 'X';
    std::string FormName;
    // The second regimen of the phenytoin pages.
    std::string RouteProduct2;
    char RouteCode2 = 'X';
    std::string FormName2;
    double Salt2 = 1.0;
    double Ka2 = 0;
    // The route-products the fit's doses take, as chosen on the
    // curve-fitting set-up page (the second for theophylline, quinidine and
    // phenytoin). A forecast uses a fitted F only for these products.
    std::string FitRouteProduct1, FitRouteProduct2;

    // Drug model part.
    std::string DoseUnit = "mg";
    std::string ConcUnit = "mg/L";
    std::int32_t ModelType = 1;
    ParameterSet population;
    ParameterSet leastSquares;
    ParameterSet bayes;
    FitRange leastSquaresRange, bayesRange;
    int Cur_fit_method = kPopulation;
    double Init_f_sd = 0, init_vd_sd = 0, init_cl_sd = 0, init_cf_sd = 0, init_vm_sd = 0;
    double PO_Ka = 0;
    double PO_Salt = 0;  // 0: not set for this drug
    double IM_ka = 0;
    double ParenteralSalt = 0;
    double TherapeuticMin = 0, TherapeuticMax = 0;
    bool TherapeuticRangeSet = false;  // false: no range to show (ciprofloxacin, levofloxacin)
    double GraphMax = 0;
    double Var_err = 0, Fixed_err = 0;
    double Time_wt = 1.0;
    double Vc = 0, K21 = 0;
    double FreeFraction = 0;
    double PhenytoinAbsRate = 0;
    bool AugmentedCrClCap = false;
    double TimeLag = 0;  // h, user's choice drug oral doses

    // Later pages.
    History history;
    // The case's stored history was read into `history` once: rows the user
    // deleted since must not come back from the database.
    bool StoredHistoryRead = false;
    SavedRegimen regimen;
    KeptPages pages;
    ReportRegimen reportRegimen;  // handed to the report page
    UserDrugDefinition userDrug;

    ParameterSet& SetFor(int fitMethod);
    const ParameterSet& SetFor(int fitMethod) const;
    ParameterSet& CurrentSet() { return SetFor(Cur_fit_method); }
    const ParameterSet& CurrentSet() const { return SetFor(Cur_fit_method); }
    bool Factor(int i) const { return i > 0 && i < kFactorFlagCount && FactorFlags[i] != 0; }
};

CaseRecord& TheCase();

// The record's patient as it would be stored now.
PatientIdentity IdentityOf(const CaseRecord& r);

// Clears the case part; a new patient also clears the patient's identity.
void ResetCase(CaseRecord& r, bool newPatient);

// Sets BIRTHDAY and derives Age for the moment `now`.
void SetBirthday(CaseRecord& r, const CivilDate& birthday, double now);
