#include "pages/widgets/field_problem.h"

#include <QFocusEvent>
#include <QWidget>

#include "app/kit/prompts.h"

void FieldWarnings::Refuse(const FieldProblem& problem) {
    if (showing_) return;
    showing_ = true;
    Warn(problem.field->window(), problem.message);
    showing_ = false;
    problem.field->setFocus(Qt::OtherFocusReason);
}

bool LeftByUser(const QEvent* event) {
    if (event->type() != QEvent::FocusOut) return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
