#pragma once
// A forecast or regimen page of one route group, intravenous or oral/IM.
// Choosing a product of the other group leads to the twin page of that group.
#include "app/kit/page_base.h"

class RouteProductList;

class RouteGroupPage : public KinevoPage {
    Q_OBJECT
public:
    RouteGroupPage(int dialogId, const QString& heading, bool intravenous, int twinCode, QWidget* parent);
    RouteProductList* Products() const { return products_; }

protected:
    void OnOpen() override;
    void OnEnter() override { FocusNextField(); }

private:
    void ProductChosen(const QString& product);
    bool intravenous_;
    int twinCode_;
    RouteProductList* products_;
};

class IvRegimenPage : public RouteGroupPage {  // page 141
    Q_OBJECT
public:
    explicit IvRegimenPage(QWidget* parent = nullptr);
};

class OralRegimenPage : public RouteGroupPage {  // page 142
    Q_OBJECT
public:
    explicit OralRegimenPage(QWidget* parent = nullptr);
};

class IvForecastPage : public RouteGroupPage {  // page 145
    Q_OBJECT
public:
    explicit IvForecastPage(QWidget* parent = nullptr);

protected:
    void OnOpen() override;
};

class OralForecastPage : public RouteGroupPage {  // page 150
    Q_OBJECT
public:
    explicit OralForecastPage(QWidget* parent = nullptr);

protected:
    void OnOpen() override;
};
