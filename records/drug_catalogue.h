#pragma once
// The sixteen drug codes with their names, units, model kinds and the
// route-products each drug offers.
#include <optional>
#include <string>
#include <vector>

struct UserDrugDefinition;

struct DrugInfo {
    const char* code;  // upper case
    const char* name;
    const char* doseUnit;
    const char* concUnit;
    int modelType;
};

const std::vector<DrugInfo>& DrugCatalogue();
// Upper or lower case code; nullopt for an unknown code.
std::optional<DrugInfo> FindDrug(const std::string& code);

// Two characters: taken as a code, gives the name or "None". Otherwise taken
// as a name, gives the upper-case code, "ZZ" for "User's Choice..." or "No".
std::string DrugNameOf(const std::string& text);

std::string ToUpper(std::string s);
std::string ToLower(std::string s);

// The route-products of a built-in drug in list order, and its default. For
// ZZ the list comes from the user's definition (RouteProductsOfUserDrug).
std::vector<std::string> RouteProductsOf(const std::string& code);
std::string DefaultRouteProduct(const std::string& code);
std::vector<std::string> RouteProductsOfUserDrug(bool ivGroup, bool imGroup, bool oralGroup,
                                                 const std::string& oralForm);

// 'D' intermittent IV, 'O' oral, 'I' IM, 'C' continuous IV, 'X' other.
char RouteCodeOf(const std::string& routeProduct);
// The text after the first "-" and the blank after it.
std::string FormNameOf(const std::string& routeProduct);
