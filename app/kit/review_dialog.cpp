#include "app/kit/review_dialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QLabel* Heading(const ReviewSection& section, QWidget* parent) {
    auto* label = new QLabel(section.heading, parent);
    label->setTextFormat(Qt::PlainText);
    QFont bold = label->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.1);
    label->setFont(bold);
    if (section.attention) label->setStyleSheet("color: #a00000;");
    return label;
}

// A table as tall as its rows: the window scrolls, not each table.
QTableWidget* Table(const ReviewSection& section, QWidget* parent) {
    auto* table =
        new QTableWidget(static_cast<int>(section.rows.size()), static_cast<int>(section.columns.size()), parent);
    table->setHorizontalHeaderLabels(section.columns);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setWordWrap(true);
    table->setAlternatingRowColors(true);
    table->setStyleSheet("QTableWidget { background: white; alternate-background-color: #f3f0e6; }");
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c) {
            const QStringList& row = section.rows[static_cast<std::size_t>(r)];
            table->setItem(r, c, new QTableWidgetItem(c < row.size() ? row[c] : QString()));
        }
    QHeaderView* header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(table->columnCount() - 1, QHeaderView::Stretch);
    return table;
}

// Rows as tall as their wrapped text at the table's present width, and the
// table as tall as its rows, so that none is hidden.
void FitRows(QTableWidget* table) {
    table->resizeRowsToContents();
    int height = table->horizontalHeader()->height() + 2 * table->frameWidth();
    for (int r = 0; r < table->rowCount(); ++r) height += table->rowHeight(r);
    table->setFixedHeight(height);
}
}  // namespace

ReviewDialog::ReviewDialog(const ReviewSheet& sheet, QWidget* parent) : QDialog(parent) {
    setObjectName("reviewDialog");
    setWindowTitle(sheet.title);
    auto* root = new QVBoxLayout(this);
    auto* intro = new QLabel(sheet.intro, this);
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    root->addWidget(intro);
    auto* body = new QWidget;
    auto* sections = new QVBoxLayout(body);
    sections->setContentsMargins(0, 0, 8, 0);
    for (const ReviewSection& section : sheet.sections) {
        sections->addSpacing(6);
        sections->addWidget(Heading(section, body));
        if (section.rows.empty()) {
            auto* none = new QLabel(section.whenEmpty, body);
            none->setTextFormat(Qt::PlainText);
            sections->addWidget(none);
        } else {
            tables_.push_back(Table(section, body));
            sections->addWidget(tables_.back());
        }
    }
    sections->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    root->addWidget(scroll, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    root->addWidget(buttons);
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    resize(std::min(960, screen.width()), std::min(720, screen.height()));
}

void ReviewDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // After the layout has given the tables their widths.
    QTimer::singleShot(0, this, [this] {
        for (QTableWidget* table : tables_) FitRows(table);
    });
}
