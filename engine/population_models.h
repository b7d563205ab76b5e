#pragma once
struct CaseRecord;

// Fills the drug model part of the record for its Drug_ID from the patient,
// the ticked factors and the drug's population model. The user's choice drug
// is defined by its own page and is left alone here.
void SelectDrugModel(CaseRecord& r);
