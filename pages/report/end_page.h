#pragma once
// Page 144: save the case, then go on with the same patient and drug, the
// same patient, a new patient, or exit.
#include <string>

#include "app/kit/page_base.h"

class QLabel;
class QPushButton;

class EndPage : public KinevoPage {
    Q_OBJECT
public:
    explicit EndPage(QWidget* parent = nullptr);
    const std::string& PatientKey() const { return patientKey_; }
    const std::string& CaseKey() const { return caseKey_; }

protected:
    void OnOpen() override;
    void reject() override;

private:
    void SameDrug();
    void SamePatient();
    void NewPatient();
    void Save();
    void Previous();
    QLabel* drug_;
    QLabel* saved_;  // what the last save stored, until the page opens again
    QPushButton* previous_;
    // The current numbers as decimal text; a save that makes new ones rewrites them.
    std::string patientKey_, caseKey_;
};
