#pragma once
// Pages 145 and 150: the steady-state level forecasts of a regimen.
#include "pages/route_group_page.h"

class ForecastForm;

// Both forecast pages: the route's form beside the parameters. Previous,
// Report and Done keep the page's texts in the case record, and a revisit
// shows them again.
class ForecastPage : public RouteGroupPage {
    Q_OBJECT
public:
    void Reset() override;

protected:
    // `source`: the page's report source; its end-page source is 3 more.
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

struct IvForecastPage : ForecastPage {  // page 145
    explicit IvForecastPage(QWidget* parent = nullptr);
};

struct OralForecastPage : ForecastPage {  // page 150
    explicit OralForecastPage(QWidget* parent = nullptr);
};
