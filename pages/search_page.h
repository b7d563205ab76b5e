#pragma once
// Page 132: every pass starts here with a blank patient; blank fields go on
// to a new patient, a last name, ID or date range to the patient list.
#include "app/kit/page_base.h"

class QLabel;
class QLineEdit;

class SearchPage : public KinevoPage {
    Q_OBJECT
public:
    explicit SearchPage(QWidget* parent = nullptr);

protected:
    void OnOpen() override;
    void OnEnter() override { Next(); }

private:
    void Next();
    QLineEdit *lastName_, *patientId_, *startDate_, *endDate_;
    QLabel* today_;
};
