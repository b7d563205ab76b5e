#pragma once
// The fields of the user's choice drug: labels, unit choices and range
// hints, the checks on leaving a field, the padding of salts and ka, the
// oral dosage-form list and the Up and Down keys. The page around it decides
// what is shown and where the definition goes.
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "engine/user_drug.h"
#include "pages/widgets/field_problem.h"
#include "records/user_drug.h"

class QComboBox;
class QLabel;
class QLineEdit;

class UserChoiceForm : public QWidget {
    Q_OBJECT
public:
    explicit UserChoiceForm(QWidget* parent);

    // The texts as typed.
    UserDrugDefinition Values() const;
    // A definition with a drug name keeps that name.
    void Show(const UserDrugDefinition& d);
    // The drug name, or the clearance once the name is fixed.
    void FocusFirstField();

    // The first field whose text its check refuses.
    std::optional<FieldProblem> FirstProblem() const;
    // Shows a field's message (one at a time) and puts the focus back on it.
    void Refuse(const FieldProblem& problem);

    // The order Enter moves along.
    std::vector<QWidget*> EnterOrder() const;

signals:
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each line edit with the definition's text it holds.
    using TextField = std::pair<QLineEdit*, std::string UserDrugDefinition::*>;
    std::vector<TextField> TextFields() const;
    QWidget* BuildDrugPart();
    QWidget* BuildGroups();
    QLineEdit* Checked(const char* name, UserDrugField field, int maxLength = 32767);
    std::optional<QString> ProblemOf(QWidget* field) const;
    void CheckOnLeaving(QWidget* field);
    void MoveVertically(QWidget* from, bool down);
    void ShowConcentrationUnit();

    QLineEdit *name_, *clearance_, *volume_, *compliance_, *min_, *max_, *lag_;
    QLineEdit *ivSalt_, *imKa_, *imSalt_, *imF_, *oralKa_, *oralSalt_, *oralF_;
    QComboBox *units_, *clearanceUnit_, *volumeUnit_, *oralForm_;
    std::vector<QLabel*> concentrationUnits_;
    std::vector<std::pair<QLineEdit*, UserDrugField>> checked_;
    FieldWarnings warnings_;
};
