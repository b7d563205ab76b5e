#include "pages/regimen_pages.h"

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "pages/design_form.h"
#include "pages/field_watch.h"
#include "pages/page_widgets.h"
#include "pages/parameter_panel.h"
#include "records/case_record.h"

namespace {
constexpr int kTargetGroup = 1;
}  // namespace

RegimenPage::RegimenPage(int dialogId, const QString& heading, bool intravenous, QWidget* parent)
    : RouteGroupPage(dialogId, heading, intravenous, intravenous ? code::kOralRegimen : code::kIvRegimen,
                     intravenous ? code::kIvRegimen : code::kOralRegimen, parent),
      intravenous_(intravenous) {
    form_ = new DesignForm(intravenous, this);
    SetForm(form_);
    form_->Watch(Watch(), kTargetGroup);
    AddButton("Serum Level Forecast", "levelForecast", [this, intravenous] {
        KeepState();
        Leave(intravenous ? code::kIvForecast : code::kOralForecast);
    });
    AddButton("Done", "done", [this, intravenous] {
        KeepState();
        LeaveToEnd(intravenous ? 1 : 2);
    });
    AddButton("Back", "back", [this] {
        Keep();
        Leave(DrugPageCode());
    });
}

// The texts come from the case record: a new case starts empty, a revisit
// shows the targets as left and their results again.
void RegimenPage::OnOpen() {
    RouteGroupPage::OnOpen();
    ShowTexts(form_, Kept());
    ComputeAll();
}

void RegimenPage::Keep() { Kept() = TextsOf(form_); }

PageTexts& RegimenPage::Kept() const {
    KeptPages& pages = TheCase().pages;
    return intravenous_ ? pages.ivRegimen : pages.oralRegimen;
}

void RegimenPage::Reset() { form_->Clear(); }

void RegimenPage::ShowCase(const CaseRecord& r) { form_->ShowCase(r); }

void RegimenPage::Compute(const QSet<int>&) { form_->Compute(PageModel(TheCase()), TheCase().RouteCode); }

IvRegimenPage::IvRegimenPage(QWidget* parent)
    : RegimenPage(141, "Dosage Regimen Forecast - Intravenous", true, parent) {}

OralRegimenPage::OralRegimenPage(QWidget* parent)
    : RegimenPage(142, "Dosage Regimen Forecast - Oral and Intramuscular", false, parent) {}
