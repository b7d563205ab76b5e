#pragma once
// The codes a hospital record names Kinevo's drugs and measurements by, and
// the unit conversions into the units the case holds.
#include <optional>
#include <string>

// A drug Kinevo models, as the record names it.
struct FhirDrug {
    const char* code;  // Kinevo's two-letter code
    const char* name;
    const char* rxnorm;     // ingredient code of the doses; empty: doses are not read
    const char* loinc[3];   // serum or plasma levels; empty entries unused
    const char* levelUnit;  // "mg/L", "mcg/L" or "mEq/L"
    double molarMass;       // g/mol, for levels reported in molar units; 0: refused
    const char* routes[3];  // history routes the drug takes; empty entries unused
    const char* texts[2];   // names a dose's text may begin with, lower case
};

// The drug whose ingredient code is `rxnorm`, or whose level code is `loinc`.
const FhirDrug* DrugOfRxNorm(const std::string& rxnorm);
// The drug a medication's text names by its first words ("Amikacin 500 mg in
// 100 mL"), any letter case; a name inside a longer word, or a combination
// ("A 125 MG / B 100 MG", "A + B"), does not count.
const FhirDrug* DrugOfText(const std::string& text);
const FhirDrug* DrugOfLoinc(const std::string& loinc);
const FhirDrug* DrugOfCode(const std::string& code);  // any letter case
bool TakesRoute(const FhirDrug& drug, const std::string& route);

// The patient measurements read from observations.
enum class Measure { Weight, Height, Creatinine, Albumin };
std::optional<Measure> MeasureOfLoinc(const std::string& loinc);
const char* MeasureName(Measure m);

// The value in the case's unit (kg, cm, mg/dL, g/dL), or none when `ucum` is
// not a unit of that measurement.
std::optional<double> MeasureInCaseUnit(Measure m, double value, const std::string& ucum);
// A level in the drug's level unit, or none.
std::optional<double> LevelInDrugUnit(const FhirDrug& drug, double value, const std::string& ucum);
// A dose in the drug's dose unit (mcg for digoxin, mg otherwise), or none.
std::optional<double> DoseInDrugUnit(const FhirDrug& drug, double value, const std::string& ucum);
// "IV", "IM" or "O" for a SNOMED CT route code, or none.
std::optional<std::string> RouteOfSnomed(const std::string& snomed);
// The phenytoin history route of an oral dose form by its SNOMED CT code:
// "C" capsule (phenytoin sodium), "T" chewable tablet, "S" oral suspension.
std::optional<std::string> PhenytoinRouteOfForm(const std::string& snomed);

inline constexpr const char* kLoincSystem = "http://loinc.org";
inline constexpr const char* kRxNormSystem = "http://www.nlm.nih.gov/research/umls/rxnorm";
inline constexpr const char* kSnomedSystem = "http://snomed.info/sct";
inline constexpr const char* kUcumSystem = "http://unitsofmeasure.org";
