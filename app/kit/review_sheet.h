#pragma once
// What a review window shows before the user agrees to a change: a line
// saying what is asked, then sections of rows, each row a few cells.
#include <QString>
#include <QStringList>
#include <vector>

struct ReviewSection {
    QString heading;
    QStringList columns;
    std::vector<QStringList> rows;
    QString whenEmpty;       // shown in place of the table when there are no rows
    bool attention = false;  // the heading stands out: rows the user must read
};

struct ReviewSheet {
    QString title;
    QString intro;
    std::vector<ReviewSection> sections;
    // The sheet as plain lines: what a test reads back, and a fallback to read.
    QString Text() const;
};
