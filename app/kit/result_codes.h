#pragma once
// The codes a page closes with; each names what the dispatcher runs next.
namespace code {
inline constexpr int kEndProgram = 0;
inline constexpr int kBackToWelcome = 1;
inline constexpr int kExitConfirmed = 2;
inline constexpr int kSearch = 222;            // page 132
inline constexpr int kList = 32;               // page 135
inline constexpr int kNewPatientEntry = 41;    // page 137
inline constexpr int kNewCaseEntry = 42;       // page 136
inline constexpr int kExistingCaseEntry = 43;  // page 138
inline constexpr int kUserChoice = 5;          // page 139
inline constexpr int kFactors = 6;             // page 140
inline constexpr int kIvRegimen = 71;          // page 141
inline constexpr int kOralRegimen = 72;        // page 142
inline constexpr int kPhenytoinRegimen = 73;   // page 143
inline constexpr int kIvForecast = 81;         // page 145
inline constexpr int kOralForecast = 82;       // page 150
inline constexpr int kPhenytoinForecast = 83;  // page 149
inline constexpr int kReport = 9;              // page 151
inline constexpr int kEnd = 10;                // page 144
inline constexpr int kHistory = 12;            // page 153
inline constexpr int kFittingSetUp = 13;       // page 154
inline constexpr int kAnalysisGraph = 14;      // page 157
inline constexpr int kAnalysisResults = 15;    // page 156
}  // namespace code
