#pragma once
// The codes a page closes with; each names what the dispatcher runs next
// (the page set maps each to its page).
namespace code {
inline constexpr int kEndProgram = 0;
inline constexpr int kBackToWelcome = 1;
inline constexpr int kExitConfirmed = 2;
inline constexpr int kSearch = 222;
inline constexpr int kList = 32;
inline constexpr int kNewPatientEntry = 41;
inline constexpr int kNewCaseEntry = 42;
inline constexpr int kExistingCaseEntry = 43;
inline constexpr int kUserChoice = 5;
inline constexpr int kFactors = 6;
inline constexpr int kIvRegimen = 71;
inline constexpr int kOralRegimen = 72;
inline constexpr int kPhenytoinRegimen = 73;
inline constexpr int kIvForecast = 81;
inline constexpr int kOralForecast = 82;
inline constexpr int kPhenytoinForecast = 83;
inline constexpr int kReport = 9;
inline constexpr int kEnd = 10;
inline constexpr int kHistory = 12;
inline constexpr int kFittingSetUp = 13;
inline constexpr int kAnalysisGraph = 14;
inline constexpr int kAnalysisResults = 15;
}  // namespace code
