#pragma once
// The user's own one-compartment drug, kept as the texts typed so the page can
// be shown again exactly as left.
#include <string>

struct UserDrugDefinition {
    std::string drugName;
    std::string units = "mg-mg/L";  // or "mcg-mcg/L"
    std::string clearance;
    std::string clearanceUnit = "L/h";  // or "mL/min"
    std::string volume;
    std::string volumeUnit = "L";  // or "L/kg"
    std::string compliance;        // percent
    std::string therapeuticMin, therapeuticMax;
    std::string timeLag = "0.00";
    std::string ivSalt;
    std::string imKa, imSalt, imF;
    std::string oralForm, oralKa, oralSalt, oralF;
    bool held = false;  // set by the page's forward buttons
};
