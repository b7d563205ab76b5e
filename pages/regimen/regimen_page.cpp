#include "pages/regimen/regimen_page.h"

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "engine/regimen_chance.h"
#include "pages/drug/parameter_panel.h"
#include "pages/regimen/auc24_group.h"
#include "pages/regimen/design_form.h"
#include "pages/widgets/case_posterior.h"
#include "pages/widgets/field_watch.h"
#include "pages/widgets/page_widgets.h"
#include "records/case_record.h"

namespace {
constexpr int kTargetGroup = 1;
}  // namespace

RegimenPage::RegimenPage(PageId id, const QString& heading, bool intravenous, QWidget* parent)
    : RouteGroupPage(id, heading, intravenous, intravenous ? code::kOralRegimen : code::kIvRegimen,
                     intravenous ? code::kIvRegimen : code::kOralRegimen, parent),
      intravenous_(intravenous) {
    form_ = new DesignForm(intravenous, this);
    SetForm(form_);
    form_->Watch(Watch(), kTargetGroup);
    if (intravenous) {
        auc24_ = new Auc24Group(this);
        AddUnderParameters(auc24_);
        auc24_->Watch(Watch(), kTargetGroup);
    }
    AddButton("Serum Level Forecast", "levelForecast", [this, intravenous] {
        if (KeepState()) Leave(intravenous ? code::kIvForecast : code::kOralForecast);
    });
    AddButton("Done", "done", [this, intravenous] {
        if (KeepState()) LeaveToEnd(intravenous ? EndSource::IvRegimen : EndSource::OralRegimen);
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
    if (auc24_) ShowTexts(auc24_, Kept());
    ComputeAll();
}

void RegimenPage::Keep() {
    Kept() = TextsOf(form_);
    if (auc24_) Kept().merge(TextsOf(auc24_));
}

PageTexts& RegimenPage::Kept() const {
    KeptPages& pages = TheCase().pages;
    return intravenous_ ? pages.ivRegimen : pages.oralRegimen;
}

void RegimenPage::Reset() {
    form_->Clear();
    if (auc24_) ClearFields(auc24_);
}

void RegimenPage::ShowCase(const CaseRecord& r) {
    form_->ShowCase(r);
    if (auc24_) auc24_->ShowCase(r);
}

void RegimenPage::ClearResults() {
    form_->ClearResults();
    if (auc24_) auc24_->ClearResults();
}

void RegimenPage::Compute(const QSet<int>&) {
    const RegimenModel m = PageModel(TheCase());
    ShowChance(m, form_->Compute(m, TheCase().RouteCode));
    if (auc24_) auc24_->Compute(m, form_->InfusionTime());
}

void RegimenPage::ShowChance(const RegimenModel& m, const RegimenDesign& d) {
    const CaseRecord& r = TheCase();
    const bool judged = d.dose && d.interval && (intravenous_ ? r.RouteCode == 'D' : true);
    const Posterior* posterior = judged ? CasePosterior(r) : nullptr;
    if (!posterior) return form_->ShowChance({});
    form_->ShowChance(intravenous_
                          ? IntermittentChance(r, m, *posterior,
                                               {d.dose, d.interval, form_->InfusionTime(), form_->PostTime(), {}},
                                               form_->DesiredPeak(), true)
                          : OralChance(r, m, *posterior, d.dose, d.interval, form_->DesiredPeak()));
}
