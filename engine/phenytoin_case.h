#pragma once
// What the phenytoin pages and kinevo-calc take from the case record for the
// phenytoin forecasts: the current set, whether the product is taken whole,
// the bioavailability used, and the second regimen's product.
#include <string>

#include "engine/phenytoin_forecast.h"

struct CaseRecord;

PhenytoinParameters PhenytoinParametersOf(const CaseRecord& r);
// A parenteral product (route I or D) is taken whole.
bool TakenWhole(const CaseRecord& r);
// 1 for a product taken whole, else the F that PhenytoinBioavailability
// chooses against the fit's first product.
double ProductBioavailability(const CaseRecord& r);
// Sets the second regimen's product, route code, form and salt factor.
void ChooseSecondProduct(CaseRecord& r, const std::string& routeProduct);
