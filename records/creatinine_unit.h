#pragma once
// Serum creatinine is typed and shown in mg/dL, or in umol/L where the
// laboratory reports it so. The record and the database hold mg/dL always,
// so stored cases read the same on every workstation.
#include <optional>
#include <string>

enum class CreatinineUnit { MgPerDl, UmolPerL };

// This workstation's unit (Options.dat); mg/dL unless set.
CreatinineUnit& ShownCreatinineUnit();
// A setting line of Options.dat: "Creatinine: umol/L" or "Creatinine:
// mg/dL" (blanks and letter case aside); nullopt for any other line.
std::optional<CreatinineUnit> CreatinineUnitOfLine(const std::string& line);
// Whether `line` is a creatinine setting at all, valid or not.
bool IsCreatinineLine(const std::string& line);

// "mg/dL" or "umol/L".
const char* CreatinineUnitText();
// A creatinine held in mg/dL in the shown unit, and a typed one in mg/dL
// (from umol/L to three decimals, so the typed value reads back as typed).
double ShownScr(double mgPerDl);
double StoredScr(double shown);
// The value in the shown unit without the unit: `mgFormat` for mg/dL, one
// decimal for umol/L (a whole unit is too coarse to read a change by).
std::string ScrText(double mgPerDl, const char* mgFormat);
// A typed value in the shown unit against the entry page's range: 0.09 to
// 15 mg/dL, or 8 to 1326 umol/L (the same range, kept whole and inside it).
std::optional<std::string> ShownScrProblem(double shown);
