#pragma once
// The analysis page's graph: one or two panels side by side, each half the
// widget wide, and the history's time zero below them.
#include <QWidget>
#include <vector>

#include "output/graph_panel.h"

class GraphView : public QWidget {
    Q_OBJECT
public:
    explicit GraphView(QWidget* parent = nullptr);
    void Show(std::vector<GraphPanel> panels, const QString& timeZero);
    void Clear() { Show({}, {}); }
    const std::vector<GraphPanel>& Panels() const { return panels_; }
    // The panel rectangle `index` is drawn in.
    QRectF PanelRect(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<GraphPanel> panels_;
    QString timeZero_;
};
