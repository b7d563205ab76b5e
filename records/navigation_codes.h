#pragma once
// The numbers that name pages and the ways between them. The values are the
// dialog numbers and source numbers the program has always used, so keep
// them when adding a name.

// The dialog number of each page.
enum class PageId {
    Welcome = 130,
    Search = 132,
    List = 135,
    NewCaseEntry = 136,
    NewPatientEntry = 137,
    ExistingCaseEntry = 138,
    UserChoice = 139,
    Factors = 140,
    IvRegimen = 141,
    OralRegimen = 142,
    PhenytoinRegimen = 143,
    End = 144,
    IvForecast = 145,
    PhenytoinForecast = 149,
    OralForecast = 150,
    Report = 151,
    History = 153,
    FittingSetUp = 154,
    AnalysisResults = 156,
    AnalysisGraph = 157,
};

// Which page led to the end page; the save stores that page's regimen and
// parameters, and the end page's Previous goes back to it.
enum class EndSource {
    None = 0,
    IvRegimen = 1,
    OralRegimen = 2,
    PhenytoinRegimen = 3,
    IvForecast = 4,
    OralForecast = 5,
    PhenytoinForecast = 6,
    AnalysisResults = 8,
    // The report page after printing, with population or fitted parameters.
    PopulationReportPrinted = 91,
    FittedReportPrinted = 92,
};

// Which page opened the report page.
enum class ReportSource {
    None = 0,
    IvForecast = 1,
    OralForecast = 2,
    PhenytoinForecast = 3,
    BayesianResults = 4,
    LeastSquaresResults = 5,
};
