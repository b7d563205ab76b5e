#pragma once
// The yes/no patient-factor questions of each drug, numbered from 1 in list
// order; some appear only for young patients or for women.
#include <string>
#include <vector>

std::vector<std::string> FactorQuestions(const std::string& drugCode, double age, const std::string& sex);

// The heading shown instead of questions for a drug without any.
inline constexpr const char* kFlucytosineFactorHeading = "No Additional Factors Known to Affect Flucytosine.";
