#include "app/kit/body_area.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kScrolledHeight = 120;
}  // namespace

BodyArea::BodyArea(QWidget* parent) : QScrollArea(parent) {
    setObjectName("body");
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The fields take the focus, not the area around them.
    setFocusPolicy(Qt::NoFocus);
    auto* inner = new QWidget(this);
    inner->setObjectName("bodyContents");
    contents_ = new QVBoxLayout(inner);
    contents_->setContentsMargins(0, 0, 0, 0);
    setWidget(inner);
    // The page's own colours show through.
    viewport()->setAutoFillBackground(false);
    inner->setAutoFillBackground(false);
    // A field reached by Enter or the arrows is scrolled into sight.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && widget()->isAncestorOf(now)) ensureWidgetVisible(now);
    });
}

void BodyArea::keyPressEvent(QKeyEvent* event) {
    // The arrows and Page keys move between the page's fields, not the view.
    event->ignore();
}

QSize BodyArea::sizeHint() const { return widget()->sizeHint(); }

QSize BodyArea::minimumSizeHint() const {
    const QSize least = widget()->minimumSizeHint();
    // Room for the scroll bar, so scrolling never hides a column.
    return {least.width() + verticalScrollBar()->sizeHint().width(), std::min(least.height(), kScrolledHeight)};
}

int BodyArea::ScrolledHeight() const { return widget()->minimumSizeHint().height() - minimumSizeHint().height(); }

bool BodyArea::eventFilter(QObject* watched, QEvent* event) {
    const bool handled = QScrollArea::eventFilter(watched, event);
    // Rows shown or hidden change what the page around needs.
    if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
    return handled;
}
