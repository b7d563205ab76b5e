#include "pages/phenytoin/leave_checks.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <algorithm>

#include "pages/widgets/field_number.h"

LeaveChecks::LeaveChecks(QWidget* page, std::function<void(QLineEdit*)> accepted, std::function<void()> clearResults)
    : QObject(page), page_(page), accepted_(std::move(accepted)), clearResults_(std::move(clearResults)) {}

void LeaveChecks::Watch(QLineEdit* field, NumberCheck check) {
    checks_.emplace_back(field, std::move(check));
    field->installEventFilter(this);
}

void LeaveChecks::Refuse(QWidget* field, const QString& message) {
    if (warnings_.Showing()) return;
    clearResults_();
    warnings_.Refuse({field, message});
}

void LeaveChecks::Left(QLineEdit* field) {
    // A page that has closed meanwhile checks nothing.
    if (warnings_.Showing() || !page_->isVisible()) return;
    Apply(field);
}

bool LeaveChecks::Apply(QLineEdit* field) {
    const auto it = std::find_if(checks_.begin(), checks_.end(), [&](const auto& c) { return c.first == field; });
    if (it == checks_.end()) return true;
    if (const auto message = NotANumberProblem(field->text())) {
        Refuse(field, *message);
        return false;
    }
    if (const auto value = FieldNumber(field->text()); value && it->second)
        if (const auto message = it->second(*value)) {
            Refuse(field, QString::fromStdString(*message));
            return false;
        }
    accepted_(field);
    return true;
}

bool LeaveChecks::ApplyPending() {
    for (const auto& [field, check] : checks_)
        if (field->isModified() && !Apply(field)) return false;
    return true;
}

bool LeaveChecks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // A message box or a list's popup taking the focus is no leaving.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            auto* field = static_cast<QLineEdit*>(watched);
            QMetaObject::invokeMethod(
                this, [this, field] { Left(field); }, Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}
