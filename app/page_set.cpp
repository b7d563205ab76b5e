#include "app/page_set.h"

#include <map>

#include "app/kit/page_maker.h"
#include "app/kit/result_codes.h"
#include "output/analysis_pictures.h"
#include "records/case_record.h"

PageSet::PageSet()
    // A fitted report prints the analysis page's table and graph of its set.
    : report([](ReportPage& page) {
          page.SetPictureRecorder([](int fitMethod) { return RecordReportPictures(TheCase(), fitMethod); });
      }) {
    // A page that hands values to another makes it when it is not made yet.
    SetPageMaker([this](int dialogId) { return ForDialog(dialogId); });
}

PageSet::~PageSet() { SetPageMaker({}); }

KinevoPage* PageSet::ForCode(int c) {
    static const std::map<int, int> kDialogOfCode = {
        {code::kSearch, 132},
        {code::kList, 135},
        {code::kNewPatientEntry, 137},
        {code::kNewCaseEntry, 136},
        {code::kExistingCaseEntry, 138},
        {code::kUserChoice, 139},
        {code::kFactors, 140},
        {code::kIvRegimen, 141},
        {code::kOralRegimen, 142},
        {code::kPhenytoinRegimen, 143},
        {code::kIvForecast, 145},
        {code::kOralForecast, 150},
        {code::kPhenytoinForecast, 149},
        {code::kReport, 151},
        {code::kEnd, 144},
        {code::kHistory, 153},
        {code::kFittingSetUp, 154},
        {code::kAnalysisGraph, 157},
        {code::kAnalysisResults, 156},
    };
    const auto it = kDialogOfCode.find(c);
    return it == kDialogOfCode.end() ? nullptr : ForDialog(it->second);
}

KinevoPage* PageSet::ForDialog(int dialogId) {
    switch (dialogId) {
        case 132: return &search();
        case 135: return &list();
        case 137: return &newPatient();
        case 136: return &newCase();
        case 138: return &existingCase();
        case 139: return &userChoice();
        case 140: return &factors();
        case 141: return &ivRegimen();
        case 142: return &oralRegimen();
        case 143: return &phenytoinRegimen();
        case 145: return &ivForecast();
        case 150: return &oralForecast();
        case 149: return &phenytoinForecast();
        case 151: return &report();
        case 144: return &end();
        case 153: return &history();
        case 154: return &fittingSetUp();
        case 157: return &analysisGraph();
        case 156: return &analysisResults();
        default: return nullptr;
    }
}
