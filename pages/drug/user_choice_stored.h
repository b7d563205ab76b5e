#pragma once
// A stored user's choice definition as the page shows it again.
#include <optional>

#include "records/db/record_sets.h"
#include "records/user_drug.h"

// The definition row and the case's parameter row; without a parameter row
// the compliance reads "100" in L/h and L. The compliance shows one decimal.
UserDrugDefinition StoredDefinition(const UserChoiceRow& row, const std::optional<ParameterRow>& parameters);
