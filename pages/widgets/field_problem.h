#pragma once
// The checks made when the focus leaves a form's field: a refused text is
// told in a box titled "Warning", one box at a time, and the focus goes back
// to the field with its text kept.
#include <QString>

class QEvent;
class QWidget;

struct FieldProblem {
    QWidget* field;
    QString message;
};

class FieldWarnings {
public:
    // A box is up: checks wait, or a second box would open over it.
    bool Showing() const { return showing_; }
    void Refuse(const FieldProblem& problem);

private:
    bool showing_ = false;
};

// The focus left a field by the user's own move, not to a message box or to
// a list's popup.
bool LeftByUser(const QEvent* event);
