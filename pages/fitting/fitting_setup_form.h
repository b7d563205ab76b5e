#pragma once
// The fields of the curve-fitting set-up page: the initial parameters with
// their "+/-" spreads, the one or two route-products the history's doses
// take, and the curve-fitting factors of the user's choice drug and
// phenytoin. The record keeps each spread relative to its parameter; the
// field shows it absolute, so a changed parameter rescales its spread.
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "records/db/record_sets.h"

class QComboBox;
class QLabel;
class QLineEdit;
struct CaseRecord;

class FittingSetUpForm : public QWidget {
    Q_OBJECT
public:
    explicit FittingSetUpForm(QWidget* parent);

    void Show(const CaseRecord& r);
    // The case's saved row beside the initial values; nullopt hides it.
    void ShowSaved(const std::optional<ParameterRow>& row, const std::string& dateText);
    // Copies the saved values into the initial fields.
    void ImportSaved();
    // Checks every field (one message, focus on the field) and writes the
    // inputs of the fits into the record; false when a field is refused.
    bool Store(CaseRecord& r);
    QLineEdit* FirstField() const;
    std::vector<QWidget*> EnterOrder() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Parameter { kF, kVd, kCl, kCF, kVm, kParameters };
    void ParameterLeft(int p);
    void SpreadLeft(int p);
    void ProductChosen(bool takeF);
    void UpdateDerived();
    bool CheckFactor(QLineEdit* field);
    // A parameter's or spread's message: not a number, not above 0, or a
    // spread wider than its parameter.
    std::optional<QString> ParameterProblem(const QLineEdit* field) const;
    // Tells a refused parameter or spread (the focus back on it); false then.
    bool CheckParameterField(QLineEdit* field);
    bool CheckField(QLineEdit* field);
    std::vector<std::string> Products() const;
    double Scale(int p) const;  // field value per record value (100 for percentages)

    std::array<QLineEdit*, kParameters> values_{}, spreads_{};
    std::array<double, kParameters> relative_{};  // spread / parameter
    std::array<QLabel*, kParameters> saved_{};
    std::vector<QWidget*> vmRow_, derivedRows_, fixedErrorRow_;
    std::vector<QLabel*> clUnits_;
    QLabel *perKg_, *kd_, *halfLife_, *savedTitle_, *clLabel_;
    QComboBox *product1_, *product2_;
    QLabel *salt1_, *f1_, *salt2_, *f2_;
    QWidget *secondProduct_, *factors_;
    QLineEdit *timeWeight_, *fixedError_;
    std::optional<ParameterRow> savedRow_;
    std::string drug_;
    double weight_ = 0;
    std::pair<double, double> therapeuticRange_;  // min and max when shown
    double lastTimeWeight_ = 1, lastFixedError_ = 0;
    bool messageOpen_ = false;
};
