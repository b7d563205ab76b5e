#include "app/page_set.h"

#include "app/kit/result_codes.h"
#include "pages/analysis_pictures.h"
#include "records/case_record.h"

PageSet::PageSet() {
    // A fitted report prints the analysis page's table and graph of its set.
    report.SetPictureRecorder([](int fitMethod) { return RecordReportPictures(TheCase(), fitMethod); });
}

KinevoPage* PageSet::ForCode(int c) {
    switch (c) {
        case code::kSearch: return &search;
        case code::kList: return &list;
        case code::kNewPatientEntry: return &newPatient;
        case code::kNewCaseEntry: return &newCase;
        case code::kExistingCaseEntry: return &existingCase;
        case code::kUserChoice: return &userChoice;
        case code::kFactors: return &factors;
        case code::kIvRegimen: return &ivRegimen;
        case code::kOralRegimen: return &oralRegimen;
        case code::kPhenytoinRegimen: return &phenytoinRegimen;
        case code::kIvForecast: return &ivForecast;
        case code::kOralForecast: return &oralForecast;
        case code::kPhenytoinForecast: return &phenytoinForecast;
        case code::kReport: return &report;
        case code::kEnd: return &end;
        case code::kHistory: return &history;
        case code::kFittingSetUp: return &fittingSetUp;
        case code::kAnalysisGraph: return &analysisGraph;
        case code::kAnalysisResults: return &analysisResults;
        default: return nullptr;
    }
}
