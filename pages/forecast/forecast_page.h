#pragma once
// The steady-state level forecast of a regimen, with the IV or the oral/IM
// route's form.
#include "pages/drug/route_group_page.h"

class ForecastForm;

// Both forecast pages: the route's form beside the parameters. Previous,
// Report and Done keep the page's texts in the case record, and a revisit
// shows them again.
class ForecastPage : public RouteGroupPage {
    Q_OBJECT
public:
    void Reset() override;

protected:
    // `reportSource` and `endSource`: where the report and the end page
    // were reached from.
    ForecastPage(PageId id, const QString& heading, bool intravenous, ReportSource reportSource, EndSource endSource,
                 bool& revisit, QWidget* parent);
    // The route's fields; called once by the route's page.
    void UseForm(ForecastForm* form);
    void OnOpen() override;
    void ShowCase(const CaseRecord& r) override;
    void Compute(const QSet<int>& groups) override;
    void ClearResults() override;
    void Keep() override;

private:
    bool& revisit_;
    ForecastForm* form_ = nullptr;
};
