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
    // Typing one kind of search empties the fields of the other kinds.
    void KeepOneKindOfSearch(QLineEdit* changed);
    // Both dates checked, normalised and handed to the list; false (the
    // message shown, the focus on the start date) when one is refused.
    bool HandDatesToList();
    QWidget* MakeWarningNotice();

    QLineEdit *lastName_, *patientId_, *startDate_, *endDate_;
    QLabel* today_;
    // Set while this page empties fields itself, so that the emptying does
    // not count as the user typing.
    bool emptying_ = false;
};
