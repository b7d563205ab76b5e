#pragma once
// Pages 145 and 150: the steady-state level forecasts of a regimen.
#include "pages/page_widgets.h"
#include "pages/route_group_page.h"

class IvForecastForm;
struct KeptForecast;
class OralForecastForm;

// What both forecast pages share: Previous, Report and Done keep the page's
// texts in the case record, and a revisit shows them again.
class ForecastPage : public RouteGroupPage {
    Q_OBJECT
public:
    // `source`: the page's report source; its end-page source is 3 more.
    ForecastPage(int dialogId, const QString& heading, bool intravenous, int source, bool& revisit,
                 QWidget* parent);

protected:
    void OnOpen() override;
    void Keep() override;
    virtual FieldTexts Texts() const = 0;
    virtual void ShowKept(const KeptForecast& kept) = 0;
    virtual int UnevenCount() const { return 0; }

private:
    bool& revisit_;
};

class IvForecastPage : public ForecastPage {  // page 145
    Q_OBJECT
public:
    explicit IvForecastPage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void ShowCase(const CaseRecord& r) override;
    void Compute(const QSet<int>& groups) override;
    FieldTexts Texts() const override;
    void ShowKept(const KeptForecast& kept) override;

private:
    IvForecastForm* form_;
};

class OralForecastPage : public ForecastPage {  // page 150
    Q_OBJECT
public:
    explicit OralForecastPage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void ShowCase(const CaseRecord& r) override;
    void Compute(const QSet<int>& groups) override;
    FieldTexts Texts() const override;
    void ShowKept(const KeptForecast& kept) override;
    int UnevenCount() const override;

private:
    OralForecastForm* form_;
};
