#pragma once
// The dosage regimen design, with the IV or the oral/IM targets.
#include "pages/drug/route_group_page.h"
#include "records/page_texts.h"

class Auc24Group;
struct RegimenDesign;
struct RegimenModel;
class DesignForm;

class RegimenPage : public RouteGroupPage {
    Q_OBJECT
public:
    RegimenPage(PageId id, const QString& heading, bool intravenous, QWidget* parent);
    void Reset() override;

protected:
    void OnOpen() override;
    void ShowCase(const CaseRecord& r) override;
    void Compute(const QSet<int>& groups) override;
    void ClearResults() override;
    void Keep() override;

private:
    // This page's texts in the case record.
    PageTexts& Kept() const;
    // The chance lines of the designed regimen, with a usable Bayesian fit.
    void ShowChance(const RegimenModel& m, const RegimenDesign& d);
    bool intravenous_;
    DesignForm* form_;
    Auc24Group* auc24_ = nullptr;  // the IV page's
};
