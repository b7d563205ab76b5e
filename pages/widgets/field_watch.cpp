#include "pages/widgets/field_watch.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

#include "pages/widgets/field_number.h"
#include "records/text_format.h"

std::optional<double> FieldValue(const QLineEdit* field) { return FieldNumber(field->text()); }

void ShowValue(QLineEdit* field, const std::optional<double>& value, const char* format) {
    field->setText(value && std::isfinite(*value) ? QString::fromStdString(FormatNumber(format, *value)) : QString());
}

void Reformat(std::initializer_list<QLineEdit*> fields, const char* format) {
    for (QLineEdit* field : fields) ShowValue(field, FieldValue(field), format);
}

FieldRule ForecastRule(ForecastField field) {
    return [field](double v) { return ForecastFieldProblem(field, v); };
}

FieldRule DesignRule(DesignField field) {
    return [field](double v) { return DesignFieldProblem(field, v); };
}

FieldWatch::FieldWatch(QWidget* page, std::function<void(const QSet<int>&)> compute, std::function<void()> clearResults)
    : QObject(page), page_(page), compute_(std::move(compute)), clearResults_(std::move(clearResults)) {}

void FieldWatch::Watch(QLineEdit* field, int group, FieldRule rule) {
    fields_.push_back({field, group, std::move(rule)});
    field->installEventFilter(this);
    connect(field, &QLineEdit::textEdited, this, [this, group] { pending_.insert(group); });
}

void FieldWatch::RunPending() {
    if (pending_.isEmpty() || FirstProblem()) return;
    const QSet<int> groups = pending_;
    pending_.clear();
    compute_(groups);
}

std::optional<QString> FieldWatch::ProblemOf(const QLineEdit* field) const {
    const auto it = std::find_if(fields_.begin(), fields_.end(), [&](const Watched& w) { return w.field == field; });
    if (it == fields_.end() || field->isReadOnly()) return std::nullopt;
    if (const auto message = NotANumberProblem(field->text())) return message;
    const std::optional<double> value = FieldValue(field);
    if (!value || !it->rule) return std::nullopt;
    if (const auto message = it->rule(*value)) return QString::fromStdString(*message);
    return std::nullopt;
}

std::optional<std::pair<QLineEdit*, QString>> FieldWatch::FirstProblem() const {
    for (const Watched& w : fields_)
        if (const auto message = ProblemOf(w.field)) return std::pair{w.field, *message};
    return std::nullopt;
}

bool FieldWatch::Settle() {
    if (const auto problem = FirstProblem()) {
        Refuse(problem->first, problem->second);
        return false;
    }
    RunPending();
    return true;
}

void FieldWatch::Refuse(QLineEdit* field, const QString& message) {
    if (warnings_.Showing()) return;
    // The results shown were worked from other inputs than the ones on screen.
    clearResults_();
    warnings_.Refuse({field, message});
}

void FieldWatch::Leaving(QLineEdit* field) {
    if (warnings_.Showing()) return;
    if (const auto message = ProblemOf(field)) return Refuse(field, *message);
    RunPending();
}

void FieldWatch::Move(QLineEdit* from, bool down) {
    // Along the page's Tab order, over the fields that can be typed in.
    QWidget* w = from;
    while ((w = down ? w->nextInFocusChain() : w->previousInFocusChain()) != from) {
        auto* field = qobject_cast<QLineEdit*>(w);
        const bool watched =
            field && std::any_of(fields_.begin(), fields_.end(), [&](const Watched& x) { return x.field == field; });
        if (watched && !field->isReadOnly() && field->isVisibleTo(page_)) {
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

bool FieldWatch::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // A message box or a popup taking the focus is no leaving.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            QMetaObject::invokeMethod(
                this, [this, field] { Leaving(field); }, Qt::QueuedConnection);
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Move(field, key == Qt::Key_Down);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
