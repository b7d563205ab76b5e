#include "app/first_paint.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

FirstPaint::FirstPaint(std::function<bool(QObject*)> matches, std::function<void(QWidget*)> then)
    : matches_(std::move(matches)), then_(std::move(then)) {}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (armed_ && event->type() == QEvent::Paint && matches_(watched)) {
        armed_ = false;
        // The top-level widget is painted first, its children after it and
        // the backing store flushed last; a zero timer runs after all that.
        QPointer<QWidget> widget = static_cast<QWidget*>(watched);
        QTimer::singleShot(0, this, [this, widget] {
            if (widget) then_(widget);
        });
    }
    return false;
}
