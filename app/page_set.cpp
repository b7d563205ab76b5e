#include "app/page_set.h"

#include <map>
#include <vector>

#include "app/kit/page_maker.h"
#include "app/kit/result_codes.h"
#include "output/analysis_pictures.h"
#include "pages/widgets/case_posterior.h"
#include "records/case_record.h"

namespace {
// "Reset all pages": every working page that keeps values, in this order.
const std::vector<PageId> kResetOrder = {
    PageId::UserChoice,       PageId::Factors,    PageId::IvRegimen,     PageId::OralRegimen,
    PageId::PhenytoinRegimen, PageId::IvForecast, PageId::OralForecast,  PageId::PhenytoinForecast,
    PageId::FittingSetUp,     PageId::History,    PageId::AnalysisGraph, PageId::AnalysisResults,
    PageId::Report,
};
}  // namespace

PageSet::PageSet()
    // A fitted report prints the analysis page's table and graph of its set.
    : report([](ReportPage& page) {
          page.SetPictureRecorder(
              [](int fitMethod) { return RecordReportPictures(TheCase(), fitMethod, CasePosterior(TheCase())); });
      }) {
    // A page that hands values to another makes it when it is not made yet.
    SetPageMaker([this](PageId id) { return ForDialog(id); });
    SetPagesToReset(kResetOrder);
}

PageSet::~PageSet() {
    SetPageMaker({});
    SetPagesToReset({});
}

KinevoPage* PageSet::ForCode(int c) {
    static const std::map<int, PageId> kPageOfCode = {
        {code::kSearch, PageId::Search},
        {code::kList, PageId::List},
        {code::kNewPatientEntry, PageId::NewPatientEntry},
        {code::kNewCaseEntry, PageId::NewCaseEntry},
        {code::kExistingCaseEntry, PageId::ExistingCaseEntry},
        {code::kUserChoice, PageId::UserChoice},
        {code::kFactors, PageId::Factors},
        {code::kIvRegimen, PageId::IvRegimen},
        {code::kOralRegimen, PageId::OralRegimen},
        {code::kPhenytoinRegimen, PageId::PhenytoinRegimen},
        {code::kIvForecast, PageId::IvForecast},
        {code::kOralForecast, PageId::OralForecast},
        {code::kPhenytoinForecast, PageId::PhenytoinForecast},
        {code::kReport, PageId::Report},
        {code::kEnd, PageId::End},
        {code::kHistory, PageId::History},
        {code::kFittingSetUp, PageId::FittingSetUp},
        {code::kAnalysisGraph, PageId::AnalysisGraph},
        {code::kAnalysisResults, PageId::AnalysisResults},
    };
    const auto it = kPageOfCode.find(c);
    return it == kPageOfCode.end() ? nullptr : ForDialog(it->second);
}

KinevoPage* PageSet::ForDialog(PageId id) {
    switch (id) {
        case PageId::Search: return &search();
        case PageId::List: return &list();
        case PageId::NewPatientEntry: return &newPatient();
        case PageId::NewCaseEntry: return &newCase();
        case PageId::ExistingCaseEntry: return &existingCase();
        case PageId::UserChoice: return &userChoice();
        case PageId::Factors: return &factors();
        case PageId::IvRegimen: return &ivRegimen();
        case PageId::OralRegimen: return &oralRegimen();
        case PageId::PhenytoinRegimen: return &phenytoinRegimen();
        case PageId::IvForecast: return &ivForecast();
        case PageId::OralForecast: return &oralForecast();
        case PageId::PhenytoinForecast: return &phenytoinForecast();
        case PageId::Report: return &report();
        case PageId::End: return &end();
        case PageId::History: return &history();
        case PageId::FittingSetUp: return &fittingSetUp();
        case PageId::AnalysisGraph: return &analysisGraph();
        case PageId::AnalysisResults: return &analysisResults();
        default: return nullptr;
    }
}
