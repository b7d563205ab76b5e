#include "pages/forecast_pages.h"

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "pages/field_watch.h"
#include "pages/iv_forecast_form.h"
#include "pages/kept_forecast.h"
#include "pages/oral_forecast_form.h"
#include "pages/parameter_panel.h"
#include "records/case_record.h"
#include "records/text_format.h"

namespace {
constexpr int kRegimenGroup = 1;

std::string TextOf(const FieldTexts& texts, const char* name) {
    const auto it = texts.find(name);
    return it == texts.end() ? std::string() : it->second;
}
}  // namespace

ForecastPage::ForecastPage(int dialogId, const QString& heading, bool intravenous, int source, bool& revisit,
                           QWidget* parent)
    : RouteGroupPage(dialogId, heading, intravenous, intravenous ? code::kOralForecast : code::kIvForecast,
                     intravenous ? code::kIvForecast : code::kOralForecast, parent),
      revisit_(revisit) {
    AddButton("Previous", "previous", [this] {
        KeepState();
        Leave(DrugPageCode());
    });
    AddButton("Report", "report", [this, source] {
        KeepState();
        LeaveToReport(source);
    });
    AddButton("Done", "done", [this, source] {
        KeepState();
        LeaveToEnd(source + 3);
    });
}

void ForecastPage::OnOpen() {
    RouteGroupPage::OnOpen();
    if (revisit_) ShowKept(TheKeptForecast());
    else ComputeAll();
    revisit_ = false;
}

// What the end page's save and the report take from the page.
void ForecastPage::Keep() {
    CaseRecord& r = TheCase();
    KeptForecast& page = TheKeptForecast();
    page.shown = Texts();
    page.F_percent = FormatNumber("%.3f", PageModel(r).F * 100);
    page.unevenCount = UnevenCount();
    SavedRegimen& kept = r.regimen;
    kept.Dose = TextOf(page.shown, r.RouteCode == 'C' ? "rate" : "dose");
    kept.Interval = TextOf(page.shown, "interval");
    kept.Inf_time = TextOf(page.shown, "infusionTime");
    kept.Post_time = TextOf(page.shown, "postTime");
    kept.Form = r.FormName;
    kept.Route = std::string(1, r.RouteCode);
}

IvForecastPage::IvForecastPage(QWidget* parent)
    : ForecastPage(145, "Steady-State Serum Level Forecast - Intravenous", true, 1, Nav().revisitIvForecast,
                   parent) {
    form_ = new IvForecastForm(this);
    SetForm(form_);
    form_->Watch(Watch(), kRegimenGroup);
}

void IvForecastPage::Reset() {
    form_->Clear();
    TheKeptForecast() = KeptForecast{};
}

void IvForecastPage::ShowCase(const CaseRecord& r) { form_->ShowCase(r); }

void IvForecastPage::Compute(const QSet<int>&) { form_->Compute(PageModel(TheCase()), TheCase().RouteCode); }

FieldTexts IvForecastPage::Texts() const { return form_->Texts(); }

void IvForecastPage::ShowKept(const KeptForecast& kept) { form_->Show(kept.shown); }

OralForecastPage::OralForecastPage(QWidget* parent)
    : ForecastPage(150, "Steady-State Serum Level Forecast - Oral and Intramuscular", false, 2,
                   Nav().revisitOralForecast, parent) {
    form_ = new OralForecastForm(this);
    SetForm(form_);
    form_->Watch(Watch());
}

void OralForecastPage::Reset() {
    form_->Clear();
    TheKeptForecast() = KeptForecast{};
}

void OralForecastPage::ShowCase(const CaseRecord& r) { form_->ShowCase(r); }

void OralForecastPage::Compute(const QSet<int>& groups) {
    const CaseRecord& r = TheCase();
    form_->Compute(PageModel(r), groups, r.Drug_ID == "zz" ? r.TimeLag : 0);
}

FieldTexts OralForecastPage::Texts() const { return form_->Texts(); }

void OralForecastPage::ShowKept(const KeptForecast& kept) { form_->Show(kept.shown, kept.unevenCount > 0); }

int OralForecastPage::UnevenCount() const { return form_->UnevenCount(); }
