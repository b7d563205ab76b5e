#pragma once
// The middle of a page, between its heading and its buttons: shown whole
// where the screen has room, and scrolled where it has not, so the buttons
// stay on a small screen.
#include <QScrollArea>

class QVBoxLayout;

class BodyArea : public QScrollArea {
    Q_OBJECT
public:
    explicit BodyArea(QWidget* parent);
    QVBoxLayout* Contents() const { return contents_; }
    // The whole contents; the area scrolls only below this.
    QSize sizeHint() const override;
    // As low as a scrolled area can sensibly be, as wide as the contents.
    QSize minimumSizeHint() const override;
    // How much higher the contents' least height is than the area's.
    int ScrolledHeight() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QVBoxLayout* contents_;
};
