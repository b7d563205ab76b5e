#pragma once
// The "Steady-State Level Predictions" of the detailed results page: the
// regimen fields of the case's route, the product's salt factor and F, and
// one row per level with the population, least-squares and Bayesian values
// and the spread of the fitted ones.
#include <QGroupBox>
#include <array>
#include <map>
#include <string>

#include "engine/results_predictions.h"
#include "pages/widgets/page_widgets.h"

class FieldWatch;
class QLabel;
class QLineEdit;
struct CaseRecord;

class ResultsRegimenForm : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int kRegimenGroup = 0;
    explicit ResultsRegimenForm(QWidget* parent);
    void Watch(FieldWatch& watch);
    // The fields and levels of the case's route, its units, salt and F; the
    // least-squares columns only when that fit stands on its own.
    void ShowCase(const CaseRecord& r);
    ResultsRegimen Regimen() const;
    void ShowPredictions(const ResultsPredictions& predictions);
    // How likely the regimen is to reach the case's goals; empty hides.
    void ShowChance(const std::string& text);
    // The regimen fields that are typed in.
    std::vector<QLineEdit*> RegimenFields() const;
    void ClearPredictions();
    void Clear();
    // Every field's text by name, and back.
    FieldTexts Texts() const { return TextsOf(this); }
    void Show(const FieldTexts& texts) { ShowTexts(this, texts); }
    // The texts of one set's levels, by level name ("peak", ...): set 0
    // population, 1 least squares, 2 Bayes.
    std::map<std::string, std::string> LevelTexts(int set) const;

private:
    struct LevelRow {
        QLabel* label;
        std::array<QLineEdit*, 5> fields;  // population, LS, LS range, Bayes, Bayes range
        QLabel* unit;
    };
    void AddLevelRow(class QGridLayout* grid, const char* name, const QString& label);

    QLineEdit *dose_, *interval_, *infusionTime_, *postTime_, *rate_, *dose2_, *interval2_;
    QLineEdit *salt_, *f_, *freeFraction_;
    QLabel *doseUnit_, *dose2Unit_, *rateUnit_, *message_, *chance_;
    QLabel *boundLabel_, *freeFractionLabel_, *freeFractionUnit_, *rangeLabel_;  // phenytoin only
    std::array<QLabel*, 5> headers_{};
    std::map<std::string, LevelRow> levels_;
    std::map<QLineEdit*, std::vector<QWidget*>> inputRows_;  // each input with its label and unit
};
