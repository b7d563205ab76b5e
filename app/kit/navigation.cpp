#include "app/kit/navigation.h"

#include <string>

#include "app/kit/result_codes.h"
#include "records/case_record.h"

Navigation& Nav() {
    static Navigation values;
    return values;
}

void ResetCaseAndFlags(bool newPatient) {
    ResetCase(TheCase(), newPatient);
    Nav().caseExists = false;
    Nav().caseImported = false;
    // Parameters shown for the case just closed must not be saved with the next one.
    Nav().shownParameters = PageParameterTexts{};
    Nav().printedSet = ParameterSet{};
}

void HandKeysToNewCaseEntry() { Nav().newCasePatientKey = std::to_string(TheCase().PATIENT_REC_Num); }

void HandKeysToExistingCaseEntry() {
    Nav().existingCasePatientKey = std::to_string(TheCase().PATIENT_REC_Num);
    Nav().existingCaseCaseKey = std::to_string(TheCase().Case_number);
}

int DrugPageCode() { return TheCase().Drug_ID == "zz" ? code::kUserChoice : code::kFactors; }
