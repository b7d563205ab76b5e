#include "pages/forecast/forecast_hand_over.h"

#include <cstdlib>

#include "records/case_record.h"

namespace {
int ReportFitType(int fitMethod) {
    switch (fitMethod) {
        case kBayesian: return kReportBayesian;
        case kLeastSquares: return kReportLeastSquares;
        default: return kReportPopulation;
    }
}
}  // namespace

ReportRegimen ForecastHandOver(const CaseRecord& r, const PageTexts& shown, int unevenCount) {
    ReportRegimen out;
    out.fitType = ReportFitType(r.Cur_fit_method);
    out.routeCode = r.RouteCode;
    out.product = r.FormName;
    // Lithium doses are typed and printed in mg of the carbonate.
    out.doseUnit = r.Drug_ID == "li" ? std::string("mg") : r.DoseUnit;
    if (r.RouteCode == 'C') {
        out.dose = TextOf(shown, "rate");
        out.doseUnit += "/hr";
        out.average = TextOf(shown, "averageLevel");
        return out;
    }
    out.interval = TextOf(shown, "interval");
    out.infusionTime = TextOf(shown, "infusionTime");
    out.postTime = TextOf(shown, "postTime");
    out.post = TextOf(shown, "post");
    out.auc24 = TextOf(shown, "auc24");
    out.dose = TextOf(shown, "dose");
    for (int i = 1; i <= unevenCount; ++i) {
        const std::string row = std::to_string(i);
        out.unevenDoses.push_back(
            {std::atof(TextOf(shown, "dose" + row).c_str()), std::atoi(TextOf(shown, "hour" + row).c_str())});
    }
    const auto level = [&](const char* regular, const char* uneven) {
        return TextOf(shown, unevenCount > 0 ? uneven : regular);
    };
    out.peak = level("peak", "unevenPeak");
    out.trough = level("trough", "unevenTrough");
    out.average = level("average", "unevenAverage");
    return out;
}

SavedRegimen RegimenShown(const CaseRecord& r, const PageTexts& shown) {
    SavedRegimen kept;
    kept.Dose = TextOf(shown, r.RouteCode == 'C' && r.ModelType != 3 ? "rate" : "dose");
    kept.Interval = TextOf(shown, "interval");
    kept.Inf_time = TextOf(shown, "infusionTime");
    kept.Post_time = TextOf(shown, "postTime");
    kept.Form = r.FormName;
    kept.Route = std::string(1, r.RouteCode);
    return kept;
}
