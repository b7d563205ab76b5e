#pragma once
// Page 139: the user's own one-compartment drug.
#include "app/kit/page_base.h"

class QPushButton;
class UserChoiceForm;
struct UserDrugDefinition;

class UserChoicePage : public KinevoPage {
    Q_OBJECT
public:
    explicit UserChoicePage(QWidget* parent = nullptr);
    void Reset() override;

protected:
    void OnOpen() override;
    void OnEnter() override;

private:
    // The definition the page opens with: the one held in the record from an
    // earlier visit, else the stored one of an existing case, else a blank one.
    UserDrugDefinition OpeningDefinition();
    // A field check or `incomplete` refuses the typed definition: false.
    bool Accepted(const QString& incomplete, bool titled);
    // Applies the typed definition to the record and marks it held.
    void Apply();
    void Save();
    void Previous();
    void RegimenForecast();
    void LevelForecast();
    void LevelAnalysis();

    UserChoiceForm* form_;
    QPushButton* save_;
};
