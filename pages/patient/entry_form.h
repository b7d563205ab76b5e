#pragma once
// The fields of the patient and case entry pages with their checks on
// leaving a field, the SCr / CLcr choice, the drug list and the Up and Down
// keys. The pages around it decide what is shown and what is stored.
#include <QWidget>
#include <optional>
#include <vector>

#include "pages/patient/entry_values.h"
#include "pages/widgets/field_problem.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

class EntryForm : public QWidget {
    Q_OBJECT
public:
    // `newPatient`: the labels of page 137 and its wider date format message.
    EntryForm(bool newPatient, QWidget* parent);

    EntryValues Values() const;
    void Show(const EntryValues& v);
    // The two stored dates, as the record now holds them.
    void ShowUpdated(const EntryValues& v);
    void SetToday(const QString& text);
    // Page 138 works on the drug of the stored case.
    void FixDrug(bool fixed);

    // Every field that Next and Save need is filled and a sex is chosen.
    bool Complete() const;
    bool PhenytoinWithoutAlbumin() const;
    // The first field whose text its check refuses.
    std::optional<FieldProblem> FirstProblem() const;
    // Shows a field's message (one at a time) and puts the focus back on it.
    void Refuse(const FieldProblem& problem);

    // The order Enter moves along.
    std::vector<QWidget*> EnterOrder() const;

signals:
    // The user picked a drug from the list.
    void drugChosen(const QString& name);
    // The focus left the drug list holding a valid entry.
    void drugLeft(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPatientPart(class QGridLayout* grid, bool newPatient);
    void BuildCasePart(class QGridLayout* grid, bool newPatient);
    // "Crs:" (true) or "CLcr:": which of the two fields may be typed in.
    // The user's choice waits while the field given up holds a bad value.
    void ChooseRenal(bool crs, bool focus);
    void SetRenalChoice(bool crs);
    void UpdateAlbumin();
    std::optional<QString> ProblemOf(QWidget* field) const;
    void CheckOnLeaving(QWidget* field);
    void LeaveDrugList();
    void MoveVertically(QWidget* from, bool down);

    QString formatMessage_;
    QLabel* today_;
    QLineEdit *lastName_, *firstName_, *hospitalId_, *birthday_, *patientUpdated_;
    QRadioButton *male_, *female_;
    QPlainTextEdit* patientNote_;
    QComboBox* drug_;
    QLineEdit *weight_, *height_, *scr_, *clcr_, *albumin_, *caseUpdated_;
    QRadioButton *pounds_, *kilograms_, *inches_, *centimetres_, *crs_, *clcrChoice_;
    QPlainTextEdit* caseNote_;
    FieldWarnings warnings_;
    QWidget* pressedWithFocus_ = nullptr;
};
