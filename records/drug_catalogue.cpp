#include "records/drug_catalogue.h"

#include <algorithm>
#include <cctype>

const std::vector<DrugInfo>& DrugCatalogue() {
    static const std::vector<DrugInfo> drugs = {
        {"GM", "Gentamicin", "mg", "mg/L", 1},
        {"AK", "Amikacin", "mg", "mg/L", 1},
        {"TM", "Tobramycin", "mg", "mg/L", 1},
        {"NM", "Netilmicin", "mg", "mg/L", 1},
        {"VM", "Vancomycin", "mg", "mg/L", 2},
        {"DG", "Digoxin", "mcg", "mcg/L", 1},
        {"PB", "Phenobarbital", "mg", "mg/L", 1},
        {"QD", "Quinidine", "mg", "mg/L", 1},
        {"TH", "Theophylline", "mg", "mg/L", 1},
        {"LI", "Lithium", "mg", "mEq/L", 1},
        {"FC", "Flucytosine", "mg", "mg/L", 1},
        {"CX", "Ciprofloxacin", "mg", "mg/L", 1},
        {"OX", "Levofloxacin/Ofloxacin", "mg", "mg/L", 1},
        {"PC", "Procainamide", "mg", "mg/L", 1},
        {"PH", "Phenytoin", "mg", "mg/L", 3},
        {"ZZ", "User's Choice One-Comp Drug", "mg", "mg/L", 1},
    };
    return drugs;
}

std::string ToUpper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string ToLower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::optional<DrugInfo> FindDrug(const std::string& code) {
    const std::string upper = ToUpper(code);
    for (const DrugInfo& d : DrugCatalogue())
        if (upper == d.code) return d;
    return std::nullopt;
}

std::string DrugNameOf(const std::string& text) {
    if (text.size() == 2) {
        const auto drug = FindDrug(text);
        return drug ? drug->name : "None";
    }
    if (text.compare(0, 13, "User's Choice") == 0) return "ZZ";
    for (const DrugInfo& d : DrugCatalogue())
        if (text == d.name) return d.code;
    return "No";
}

std::vector<std::string> RouteProductsOf(const std::string& code) {
    const std::string c = ToUpper(code);
    if (c == "GM" || c == "AK" || c == "TM" || c == "NM") return {"Intermittent IV - Injection", "IM - Injection"};
    if (c == "VM") return {"Intermittent IV - Injection"};
    if (c == "DG") return {"Intermittent IV - Injection", "Oral - Tablets", "Oral - Elixir", "Oral - Capsules"};
    if (c == "PB") return {"Oral - Tablets", "Oral - Elixir", "Intermittent IV - Injection", "IM - Injection"};
    if (c == "QD")
        return {"Oral - Immediate - Release Tablets (Sulfate)", "Oral - Sustained - Release (Gluconate)",
                "Oral - Dura - Tabs Tablets (Quinaglute)",      "Oral - Tablets (Cardioquin)",
                "Intermittent IV - Injection(Gluconate)",       "IM - Injection(Gluconate)"};
    if (c == "TH")
        return {"Oral - Tablets (Theo - dur 200,300 mg)",
                "Oral - Tablets (Theo - dur 100 mg)",
                "Oral - Tablets (Quibron - T/SR)",
                "Oral - Tablets (Aminophylline Phyllocontin)",
                "Oral - Tablets (Aminophylline)",
                "Oral - Tablets",
                "Oral - Liquids(Aminophylline)",
                "Oral - Liquids",
                "Oral - Capsules(Slo - Phylline Gyrocaps)",
                "Oral - Capsules(Slo - bid Gyrocaps)",
                "Oral - Capsules",
                "Intermittent IV - Injection(Aminophylline)",
                "Intermittent IV - Injection",
                "Continuous IV - Injection(Aminophylline)",
                "Continuous IV - Injection"};
    if (c == "LI") return {"Oral - Capsules", "Oral - Syrup", "Oral - Tablets", "Oral - Tablets (Eskalith CR)"};
    if (c == "FC") return {"Intermittent IV - Injection", "Oral - Capsules"};
    if (c == "CX" || c == "OX") return {"Intermittent IV - Injection", "Oral - Tablets"};
    if (c == "PC")
        return {"Oral - Fast - Release Capsules", "Oral - Slow - Release Capsules", "Intermittent IV - Injection",
                "Continuous IV - Injection", "IM - Injection"};
    if (c == "PH")
        return {"Oral - Capsules",
                "Oral - Suspension",
                "Oral - Tablets",
                "Intermittent IV - Injection",
                "Intermittent IV - Injection (Fosphenytoin)",
                "IM - Injection (Fosphenytoin)"};
    return {};
}

std::string DefaultRouteProduct(const std::string& code) {
    const std::string c = ToUpper(code);
    if (c == "DG" || c == "PB") return "Oral - Tablets";
    if (c == "FC" || c == "LI" || c == "PH") return "Oral - Capsules";
    if (c == "QD" || c == "TH" || c == "PC") return RouteProductsOf(c).front();
    if (c == "ZZ") return {};
    const auto list = RouteProductsOf(c);
    return list.empty() ? std::string{} : list.front();
}

std::vector<std::string> RouteProductsOfUserDrug(bool ivGroup, bool imGroup, bool oralGroup,
                                                 const std::string& oralForm) {
    std::vector<std::string> list;
    if (ivGroup) {
        list.push_back("Intermittent IV - ");
        list.push_back("Continuous IV - ");
    }
    if (imGroup) list.push_back("IM - ");
    if (oralGroup) list.push_back("Oral - " + oralForm);
    return list;
}

char RouteCodeOf(const std::string& routeProduct) {
    if (routeProduct.compare(0, 15, "Intermittent IV") == 0) return 'D';
    if (routeProduct.compare(0, 4, "Oral") == 0) return 'O';
    if (routeProduct.compare(0, 2, "IM") == 0) return 'I';
    if (routeProduct.compare(0, 6, "Contin") == 0) return 'C';
    return 'X';
}

std::string FormNameOf(const std::string& routeProduct) {
    const auto dash = routeProduct.find('-');
    if (dash == std::string::npos) return {};
    std::size_t start = dash + 1;
    if (start < routeProduct.size() && routeProduct[start] == ' ') ++start;
    return routeProduct.substr(start);
}
