#pragma once
// One object per working page, made when the page is first wanted (so the
// welcome page comes up without waiting for all of them) and kept until the
// program ends, so every page keeps its values between showings.
#include <functional>
#include <memory>

#include "pages/analysis/analysis_graph_page.h"
#include "pages/analysis/analysis_results_page.h"
#include "pages/drug/factor_page.h"
#include "pages/drug/user_choice_page.h"
#include "pages/fitting/fitting_setup_page.h"
#include "pages/fitting/history_page.h"
#include "pages/forecast/iv_forecast_page.h"
#include "pages/forecast/oral_forecast_page.h"
#include "pages/patient/existing_case_entry_page.h"
#include "pages/patient/list_page.h"
#include "pages/patient/new_case_entry_page.h"
#include "pages/patient/new_patient_entry_page.h"
#include "pages/patient/search_page.h"
#include "pages/phenytoin/phenytoin_forecast_page.h"
#include "pages/phenytoin/phenytoin_regimen_page.h"
#include "pages/regimen/iv_regimen_page.h"
#include "pages/regimen/oral_regimen_page.h"
#include "pages/report/end_page.h"
#include "pages/report/report_page.h"

// A page made on its first use: pages.list() is the list page.
template <class Page>
class PageSlot {
public:
    explicit PageSlot(std::function<void(Page&)> setUp = {}) : setUp_(std::move(setUp)) {}
    Page& operator()() {
        if (!page_) {
            page_ = std::make_unique<Page>();
            if (setUp_) setUp_(*page_);
        }
        return *page_;
    }

private:
    std::function<void(Page&)> setUp_;
    std::unique_ptr<Page> page_;
};

struct PageSet {
    PageSet();
    ~PageSet();
    PageSet(const PageSet&) = delete;
    PageSet& operator=(const PageSet&) = delete;
    PageSlot<SearchPage> search;
    PageSlot<ListPage> list;
    PageSlot<NewPatientEntryPage> newPatient;
    PageSlot<NewCaseEntryPage> newCase;
    PageSlot<ExistingCaseEntryPage> existingCase;
    PageSlot<UserChoicePage> userChoice;
    PageSlot<FactorPage> factors;
    PageSlot<IvRegimenPage> ivRegimen;
    PageSlot<OralRegimenPage> oralRegimen;
    PageSlot<PhenytoinRegimenPage> phenytoinRegimen;
    PageSlot<IvForecastPage> ivForecast;
    PageSlot<OralForecastPage> oralForecast;
    PageSlot<PhenytoinForecastPage> phenytoinForecast;
    PageSlot<ReportPage> report;
    PageSlot<EndPage> end;
    PageSlot<HistoryPage> history;
    PageSlot<FittingSetUpPage> fittingSetUp;
    PageSlot<AnalysisGraphPage> analysisGraph;
    PageSlot<AnalysisResultsPage> analysisResults;

    // The page a result code runs; nullptr for the codes that stop the walk
    // and for a code no page closes with.
    KinevoPage* ForCode(int code);
    // The page of a dialog number; nullptr for a number with no working page.
    KinevoPage* ForDialog(PageId id);
};
