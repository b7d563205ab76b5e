#pragma once
#include <string>

struct CaseRecord;

// Sets salt factor, bioavailability and absorption rate for the record's drug,
// RouteCode and FormName, then the patient-factor effects that belong to the
// dosage form. A factor multiplier acts only on a value its row has just set,
// so applying the same form again gives the same values.
void ApplyDosageForm(CaseRecord& r);

// Sets RouteProduct, derives RouteCode and FormName, and applies the form.
void ChooseRouteProduct(CaseRecord& r, const std::string& routeProduct);
