#include "pages/widgets/form_keys.h"

#include <QKeyEvent>

int VerticalStep(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return 0;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
}
