#pragma once
// Page 140: the patient factors; its forward buttons fill the drug model.
#include <string>

#include "app/kit/page_base.h"

class QLabel;
class QListWidget;

class FactorPage : public KinevoPage {
    Q_OBJECT
public:
    explicit FactorPage(QWidget* parent = nullptr);
    // Forgets the drug whose ticks were last shown: the next opening shows
    // the record's flags again.
    void Reset() override;

protected:
    void OnOpen() override;
    void OnEnter() override { FocusNextField(); }

private:
    void Previous();
    // Fills the drug model and leaves with the code for the drug;
    // `population` makes the population set the one in use.
    void Forward(int renalCode, int phenytoinCode, int otherCode, bool population = false);
    int TickCount() const;
    // The ticks into the record's flags, marking the case changed when they differ.
    void StoreTicks();

    QLabel* heading_;
    QListWidget* list_;
    std::string factorDrugName_;  // the drug whose ticks were last shown
};
