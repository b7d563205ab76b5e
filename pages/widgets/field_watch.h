#pragma once
// The edit fields of a forecast or regimen page: the check each field makes
// when it loses the focus (one message at a time, the focus back on the
// field, the text kept, the results of other inputs emptied), the groups
// typed in since the last computation, and the Up and Down keys along the
// page's field order.
#include <QObject>
#include <QSet>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "engine/design_checks.h"
#include "engine/forecast_checks.h"
#include "pages/widgets/field_problem.h"

class QLineEdit;
class QWidget;

// A field's message for a value, or nothing when it is accepted.
using FieldRule = std::function<std::optional<std::string>(double)>;

// The engine's checks of the forecast and regimen fields as field rules.
FieldRule ForecastRule(ForecastField field);
FieldRule DesignRule(DesignField field);

class FieldWatch : public QObject {
    Q_OBJECT
public:
    // `compute` runs with the groups modified since the last run;
    // `clearResults` empties what the page shows, when a refused value
    // leaves it belonging to other inputs.
    FieldWatch(QWidget* page, std::function<void(const QSet<int>&)> compute, std::function<void()> clearResults);

    // Watches `field` in `group`; Up and Down follow the page's Tab order.
    void Watch(QLineEdit* field, int group, FieldRule rule = {});
    // Runs the computation for the modified groups, if any, and clears them.
    void RunPending();
    // Marks a group as modified (a value changed other than by typing).
    void Touch(int group) { pending_.insert(group); }
    // The first watched field whose text its rule refuses, with the message.
    std::optional<std::pair<QLineEdit*, QString>> FirstProblem() const;
    // Before the page computes or closes: a refused field is told (the focus
    // goes back to it) and false returned; otherwise the pending groups run.
    bool Settle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<QString> ProblemOf(const QLineEdit* field) const;
    void Leaving(QLineEdit* field);
    void Refuse(QLineEdit* field, const QString& message);
    void Move(QLineEdit* from, bool down);

    struct Watched {
        QLineEdit* field;
        int group;
        FieldRule rule;
    };
    QWidget* page_;
    std::function<void(const QSet<int>&)> compute_;
    std::function<void()> clearResults_;
    std::vector<Watched> fields_;
    QSet<int> pending_;
    FieldWarnings warnings_;
};

// A field's number; nullopt while it is empty or not wholly a number (its
// leaving check refuses such a text).
std::optional<double> FieldValue(const QLineEdit* field);
// Shows `value` with `format`, or empties the field when it is missing.
void ShowValue(QLineEdit* field, const std::optional<double>& value, const char* format);
// Shows each field's number again with `format` (a page shown again as it was left).
void Reformat(std::initializer_list<QLineEdit*> fields, const char* format);
