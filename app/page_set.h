#pragma once
// One object per working page, made before the welcome page is shown and
// kept until the program ends, so every page keeps its values between showings.
#include "pages/analysis_graph_page.h"
#include "pages/analysis_results_page.h"
#include "pages/end_page.h"
#include "pages/entry_pages.h"
#include "pages/factor_page.h"
#include "pages/fitting_pages.h"
#include "pages/list_page.h"
#include "pages/phenytoin_forecast_page.h"
#include "pages/phenytoin_regimen_page.h"
#include "pages/report_page.h"
#include "pages/forecast_pages.h"
#include "pages/regimen_pages.h"
#include "pages/search_page.h"
#include "pages/user_choice_page.h"

struct PageSet {
    PageSet();
    SearchPage search;
    ListPage list;
    NewPatientEntryPage newPatient;
    NewCaseEntryPage newCase;
    ExistingCaseEntryPage existingCase;
    UserChoicePage userChoice;
    FactorPage factors;
    IvRegimenPage ivRegimen;
    OralRegimenPage oralRegimen;
    PhenytoinRegimenPage phenytoinRegimen;
    IvForecastPage ivForecast;
    OralForecastPage oralForecast;
    PhenytoinForecastPage phenytoinForecast;
    ReportPage report;
    EndPage end;
    HistoryPage history;
    FittingSetUpPage fittingSetUp;
    AnalysisGraphPage analysisGraph;
    AnalysisResultsPage analysisResults;

    // The page a result code runs; nullptr for the codes that stop the walk
    // and for a code no page closes with.
    KinevoPage* ForCode(int code);
};
