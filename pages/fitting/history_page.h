#pragma once
// Page 153: the dosing and serum level histories the fits run on.
#include "app/kit/page_base.h"

class HistoryGrid;
class QLabel;
class QPushButton;

class HistoryPage : public KinevoPage {
    Q_OBJECT
public:
    explicit HistoryPage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void OnOpen() override;
    void OnEnter() override;
    void mousePressEvent(class QMouseEvent* event) override;

private:
    void Next();
    void StoreTexts();
    void ShowTimeZero();
    HistoryGrid* grid_;
    QLabel* timeZero_;
    QPushButton* next_;
};
