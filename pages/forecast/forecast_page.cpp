#include "pages/forecast/forecast_page.h"

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "pages/drug/parameter_panel.h"
#include "pages/forecast/forecast_form.h"
#include "pages/forecast/forecast_hand_over.h"
#include "pages/widgets/field_watch.h"
#include "records/case_record.h"
#include "records/text_format.h"

ForecastPage::ForecastPage(PageId id, const QString& heading, bool intravenous, ReportSource reportSource,
                           EndSource endSource, bool& revisit, QWidget* parent)
    : RouteGroupPage(id, heading, intravenous, intravenous ? code::kOralForecast : code::kIvForecast,
                     intravenous ? code::kIvForecast : code::kOralForecast, parent),
      revisit_(revisit) {
    AddButton("Previous", "previous", [this] {
        if (KeepState()) Leave(DrugPageCode());
    });
    AddButton("Report", "report", [this, reportSource] {
        if (!KeepState()) return;
        const KeptForecast& kept = TheCase().pages.forecast;
        TheCase().reportRegimen = ForecastHandOver(TheCase(), kept.shown, kept.unevenCount);
        LeaveToReport(reportSource);
    });
    AddButton("Done", "done", [this, endSource] {
        if (KeepState()) LeaveToEnd(endSource);
    });
}

void ForecastPage::UseForm(ForecastForm* form) {
    form_ = form;
    SetForm(form_);
    form_->Watch(Watch());
}

void ForecastPage::Reset() { form_->Clear(); }

void ForecastPage::OnOpen() {
    RouteGroupPage::OnOpen();
    if (revisit_) {
        const KeptForecast& kept = TheCase().pages.forecast;
        form_->Show(kept.shown, kept.unevenCount);
    } else {
        ComputeAll();
    }
    revisit_ = false;
}

void ForecastPage::ShowCase(const CaseRecord& r) { form_->ShowCase(r); }

void ForecastPage::ClearResults() { form_->ClearResults(); }

void ForecastPage::Compute(const QSet<int>& groups) { form_->Compute(PageModel(TheCase()), TheCase(), groups); }

// What the end page's save and the report take from the page.
void ForecastPage::Keep() {
    CaseRecord& r = TheCase();
    KeptForecast& page = r.pages.forecast;
    page.shown = form_->Texts();
    page.F_percent = FormatNumber("%.3f", PageModel(r).F * 100);
    page.unevenCount = form_->UnevenCount();
    r.regimen = RegimenShown(r, page.shown);
}
