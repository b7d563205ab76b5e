#pragma once
// The user's own one-compartment drug (code ZZ): the checks of its fields,
// when its groups are complete, and turning the definition into the drug
// model of the case.
#include <optional>
#include <string>
#include <vector>

struct CaseRecord;
struct UserDrugDefinition;

inline constexpr std::size_t kUserDrugNameLimit = 20;

enum class UserDrugField {
    Clearance,
    Volume,
    Compliance,
    IvSalt,
    ImKa,
    ImSalt,
    ImF,
    OralForm,
    OralKa,
    OralSalt,
    OralF
};

// The message for a typed text the page refuses; an empty text is never
// checked. Text that is not a number counts as 0.
std::optional<std::string> UserDrugFieldProblem(UserDrugField field, const std::string& text);

// The oral dosage forms offered, in list order.
const std::vector<std::string>& UserDrugOralForms();

// An accepted salt or ka shown with three decimals below 1, else two.
std::string PaddedRateText(const std::string& text);

bool IvGroupComplete(const UserDrugDefinition& u);
bool ImGroupComplete(const UserDrugDefinition& u);
bool OralGroupComplete(const UserDrugDefinition& u);
// Name, clearance, volume and compliance typed, and at least one group complete.
bool DefinitionComplete(const UserDrugDefinition& u);

// The route-products the forecast pages offer for the definition.
std::vector<std::string> UserDrugRouteProducts(const UserDrugDefinition& u);

// Holds clearance in L/h and volume in L (converting mL/min and L/kg with the
// record's weight), then sets the drug model part of the record: model type
// 1, units, the population Vd, Cl and CF (percent / 100 to two decimals), the
// range, the error model, the SDs, the graph top and the time lag.
void ApplyUserDrug(CaseRecord& r);

// The Bayes fixed error is typed as a percent of the middle of the therapeutic
// range: the percent of a fixed error (0 without a range), and back.
double FixedErrorPercent(double fixedError, double therapeuticMin, double therapeuticMax);
double FixedErrorOfPercent(double percent, double therapeuticMin, double therapeuticMax);
