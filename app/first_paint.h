#pragma once
// Notices when a window has been painted for a person to see: installed on
// the application, it waits for the first paint of a widget that `matches`
// and, once that paint and the flush after it are done, calls `then` from the
// event loop. Disarmed after one call; Arm() waits for the next paint.
#include <QObject>
#include <functional>

class QWidget;

class FirstPaint : public QObject {
public:
    FirstPaint(std::function<bool(QObject*)> matches, std::function<void(QWidget*)> then);
    void Arm() { armed_ = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(QObject*)> matches_;
    std::function<void(QWidget*)> then_;
    bool armed_ = true;
};
