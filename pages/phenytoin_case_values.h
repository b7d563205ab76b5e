#pragma once
// What both phenytoin pages take from the case record for the engine: the
// current set, the product's salt factor and bioavailability, and the free
// fraction worked out afresh.
#include <optional>
#include <string>

#include "engine/phenytoin_forecast.h"

class QLineEdit;
struct CaseRecord;

PhenytoinParameters PhenytoinParametersOf(const CaseRecord& r);
// The oral salt factor for route O, else the parenteral one.
double ProductSalt(const CaseRecord& r);
// A parenteral product (route I or D) is taken whole.
bool TakenWhole(const CaseRecord& r);
double ProductBioavailability(const CaseRecord& r);
// From the current albumin, clearance, age, size and factor answers.
double CurrentFreeFraction(const CaseRecord& r);
// Sets the second regimen's product, route code, form and salt factor.
void ChooseSecondProduct(CaseRecord& r, const std::string& routeProduct);

// A result field shows `format` of the value, or stays empty without one.
void ShowNumber(QLineEdit* field, const std::optional<double>& value, const char* format);
// The adjusted range into its two fields, "%1.1f" each.
void ShowRange(QLineEdit* low, QLineEdit* high, double freeFraction);
