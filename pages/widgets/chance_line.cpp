#include "pages/widgets/chance_line.h"

#include <QLabel>

QLabel* ChanceLabel(QWidget* parent, const char* name) {
    auto* line = new QLabel(parent);
    line->setObjectName(name);
    line->setWordWrap(true);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    line->hide();
    return line;
}

void ShowChanceLine(QLabel* line, const std::string& text) {
    line->setText(QString::fromStdString(text));
    line->setVisible(!text.empty());
}
