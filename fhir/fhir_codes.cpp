#include "fhir/fhir_codes.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "records/units.h"

namespace {
// Ingredient codes of RxNorm, serum or plasma level codes of LOINC (random,
// peak, trough). A code not known to be right is worse than none: a drug
// without an ingredient code is read by the name its doses are written with,
// and its levels only by the codes listed. Molar masses (g/mol) of the drugs
// that are one molecule, for levels in molar units; 0 refuses them.
const FhirDrug kDrugs[] = {
    // Gentamicin is a mixture of the C1, C1a and C2 components: no one molar mass.
    {"GM", "Gentamicin", "1596450", {"35668-3", "3665-7"}, "mg/L", 0, {"IV", "IM"}, {"gentamicin"}},
    {"AK", "Amikacin", "", {"35669-1", "3319-1", "3321-7"}, "mg/L", 585.6, {"IV", "IM"}, {"amikacin"}},
    {"TM", "Tobramycin", "", {"35670-9", "4057-6", "4059-2"}, "mg/L", 467.51, {"IV", "IM"}, {"tobramycin"}},
    {"NM", "Netilmicin", "", {}, "mg/L", 0, {"IV", "IM"}, {"netilmicin"}},
    {"VM", "Vancomycin", "11124", {"20578-1", "4092-3", "4090-7"}, "mg/L", 1449.3, {"IV"}, {"vancomycin"}},
    {"TH", "Theophylline", "10438", {"4049-3"}, "mg/L", 180.16, {"IV", "O"}, {"theophylline"}},
    {"DG", "Digoxin", "3407", {"10535-3"}, "mcg/L", 780.95, {"IV", "O"}, {"digoxin"}},
    {"PB", "Phenobarbital", "8134", {"3948-7"}, "mg/L", 232.24, {"IV", "IM", "O"}, {"phenobarbital"}},
    // Doses in mg of the salt; the fit set-up page's product gives its factor.
    {"QD", "Quinidine", "9068", {}, "mg/L", 0, {"IV", "IM", "O"}, {"quinidine"}},
    {"FC", "Flucytosine", "", {"3639-2"}, "mg/L", 129.09, {"IV", "O"}, {"flucytosine"}},
    {"CX", "Ciprofloxacin", "2551", {}, "mg/L", 0, {"IV", "O"}, {"ciprofloxacin"}},
    {"OX", "Levofloxacin/Ofloxacin", "82122", {}, "mg/L", 0, {"IV", "O"}, {"levofloxacin", "ofloxacin"}},
    // The level of procainamide alone, not with its metabolite NAPA.
    {"PC", "Procainamide", "8700", {"3982-6"}, "mg/L", 235.33, {"IV", "IM", "O"}, {"procainamide"}},
    // An oral dose becomes a capsule, tablet or suspension row by its dose form.
    {"PH", "Phenytoin", "8183", {"3968-5"}, "mg/L", 252.27, {"IV", "IM", "O"}, {"phenytoin"}},
    // Doses in mg of lithium carbonate; the level is of the lithium ion.
    {"LI", "Lithium", "42351", {"14334-7"}, "mEq/L", 0, {"O"}, {"lithium carbonate"}},
};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// value * times / per: a tenth is a division, so that 38 g/L is 3.8 g/dL
// exactly as the page would hold it.
struct Unit {
    const char* ucum;
    double times;
    double per = 1;
};

std::optional<double> Scaled(double value, const std::string& ucum, std::initializer_list<Unit> units,
                             double also = 1) {
    for (const Unit& u : units)
        if (ucum == u.ucum) return value * (u.times * also) / u.per;
    return std::nullopt;
}
}  // namespace

const FhirDrug* DrugOfRxNorm(const std::string& rxnorm) {
    for (const FhirDrug& d : kDrugs)
        if (!rxnorm.empty() && rxnorm == d.rxnorm) return &d;
    return nullptr;
}

const FhirDrug* DrugOfText(const std::string& text) {
    const std::string lower = Lower(text);
    // "theophylline 125 MG / guaifenesin 100 MG": a combination is not one drug.
    if (lower.find(" / ") != std::string::npos || lower.find('+') != std::string::npos) return nullptr;
    for (const FhirDrug& d : kDrugs)
        for (const char* name : d.texts) {
            const std::size_t n = name ? std::strlen(name) : 0;
            if (n > 0 && lower.compare(0, n, name) == 0 && (lower.size() == n || lower[n] == ' ')) return &d;
        }
    return nullptr;
}

const FhirDrug* DrugOfLoinc(const std::string& loinc) {
    for (const FhirDrug& d : kDrugs)
        for (const char* code : d.loinc)
            if (code && loinc == code) return &d;
    return nullptr;
}

const FhirDrug* DrugOfCode(const std::string& code) {
    for (const FhirDrug& d : kDrugs)
        if (Lower(code) == Lower(d.code)) return &d;
    return nullptr;
}

bool TakesRoute(const FhirDrug& drug, const std::string& route) {
    return std::any_of(std::begin(drug.routes), std::end(drug.routes), [&](const char* r) { return r && route == r; });
}

std::optional<Measure> MeasureOfLoinc(const std::string& loinc) {
    if (loinc == "29463-7" || loinc == "3141-9") return Measure::Weight;
    if (loinc == "8302-2") return Measure::Height;
    if (loinc == "2160-0" || loinc == "14682-9") return Measure::Creatinine;
    if (loinc == "1751-7") return Measure::Albumin;
    return std::nullopt;
}

const char* MeasureName(Measure m) {
    switch (m) {
        case Measure::Weight: return "body weight";
        case Measure::Height: return "body height";
        case Measure::Creatinine: return "serum creatinine";
        case Measure::Albumin: return "serum albumin";
    }
    return "";
}

std::optional<double> MeasureInCaseUnit(Measure m, double value, const std::string& ucum) {
    switch (m) {
        case Measure::Weight: return Scaled(value, ucum, {{"kg", 1}, {"g", 1, 1000}, {"[lb_av]", kExactKgPerLb}});
        case Measure::Height:
            return Scaled(value, ucum, {{"cm", 1}, {"m", 100}, {"mm", 1, 10}, {"[in_i]", kExactCmPerInch}});
        case Measure::Creatinine: return Scaled(value, ucum, {{"mg/dL", 1}, {"umol/L", kCreatinineMolarMass, 10000}});
        case Measure::Albumin: return Scaled(value, ucum, {{"g/dL", 1}, {"g/L", 1, 10}});
    }
    return std::nullopt;
}

std::optional<double> LevelInDrugUnit(const FhirDrug& drug, double value, const std::string& ucum) {
    // The lithium ion is monovalent: one mmol is one mEq.
    if (std::strcmp(drug.levelUnit, "mEq/L") == 0) return Scaled(value, ucum, {{"meq/L", 1}, {"mmol/L", 1}});
    const double also = std::strcmp(drug.levelUnit, "mcg/L") == 0 ? 1000 : 1;
    // A drug without one molar mass takes no molar level: not a level of 0.
    const double m = drug.molarMass;
    if (m > 0)
        if (const auto molar = Scaled(value, ucum, {{"umol/L", m, 1000}, {"nmol/L", m, 1e6}}, also)) return molar;
    return Scaled(value, ucum,
                  {{"mg/L", 1}, {"ug/mL", 1}, {"mg/dL", 10}, {"ug/dL", 1, 100}, {"ug/L", 1, 1000}, {"ng/mL", 1, 1000}},
                  also);
}

std::optional<double> DoseInDrugUnit(const FhirDrug& drug, double value, const std::string& ucum) {
    const bool mcg = std::strcmp(drug.code, "DG") == 0;
    return Scaled(value, ucum, {{"mg", 1}, {"g", 1000}, {"ug", 1, 1000}}, mcg ? 1000 : 1);
}

std::optional<std::string> RouteOfSnomed(const std::string& snomed) {
    if (snomed == "47625008") return "IV";
    if (snomed == "78421000") return "IM";
    if (snomed == "26643006") return "O";
    return std::nullopt;
}

std::optional<std::string> PhenytoinRouteOfForm(const std::string& snomed) {
    if (snomed == "385049006") return "C";
    if (snomed == "66076007") return "T";
    if (snomed == "385024007") return "S";
    return std::nullopt;
}
