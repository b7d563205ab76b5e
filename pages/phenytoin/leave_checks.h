#pragma once
// The check a field gets when the focus leaves it: a text that is not wholly
// a number, or a value its check refuses, shows its message titled "Warning",
// the page's results are emptied and the focus goes back; an accepted one is
// handed on (the page recomputes). Only one message is up at a time.
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pages/widgets/field_problem.h"

class QLineEdit;
class QWidget;

using NumberCheck = std::function<std::optional<std::string>(double)>;

class LeaveChecks : public QObject {
    Q_OBJECT
public:
    // `clearResults` empties what the page shows, when a refused value
    // leaves it belonging to other inputs.
    LeaveChecks(QWidget* page, std::function<void(QLineEdit*)> accepted, std::function<void()> clearResults);
    // An empty field, or one the check has nothing against, is accepted.
    void Watch(QLineEdit* field, NumberCheck check = {});
    // Shows `message` unless one is up already; the focus returns to `field`.
    void Refuse(QWidget* field, const QString& message);
    bool MessageOpen() const { return warnings_.Showing(); }
    // The check made now, as if the focus had left `field`.
    void CheckNow(QLineEdit* field) { Left(field); }
    // Checks the fields typed in but not yet left, as a page does before it
    // closes; false when one refused its value.
    bool ApplyPending();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Left(QLineEdit* field);
    // False when the field's value was refused.
    bool Apply(QLineEdit* field);
    QWidget* page_;
    std::function<void(QLineEdit*)> accepted_;
    std::function<void()> clearResults_;
    std::vector<std::pair<QLineEdit*, NumberCheck>> checks_;
    FieldWarnings warnings_;
};
