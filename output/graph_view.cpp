#include "output/graph_view.h"

#include <QPainter>

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
    setObjectName("graph");
    setMinimumSize(700, 260);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void GraphView::Show(std::vector<GraphPanel> panels, const QString& timeZero) {
    panels_ = std::move(panels);
    timeZero_ = timeZero;
    update();
}

QRectF GraphView::PanelRect(int index) const {
    const double width = (this->width() - 1) / 2.0;
    const double height = this->height() - 1 - fontMetrics().height() * 1.5;
    return QRectF(index * width, 0, width, height);
}

void GraphView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (std::size_t i = 0; i < panels_.size(); ++i)
        DrawGraphPanel(painter, PanelRect(static_cast<int>(i)), panels_[i]);
    painter.drawText(QRectF(0, PanelRect(0).bottom(), width(), height() - PanelRect(0).bottom()), Qt::AlignCenter,
                     timeZero_);
}
