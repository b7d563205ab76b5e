#include "app/kit/review_sheet.h"

QString ReviewSheet::Text() const {
    QStringList lines{intro};
    for (const ReviewSection& s : sections) {
        lines << "" << s.heading;
        if (s.rows.empty()) lines << "  " + s.whenEmpty;
        for (const QStringList& row : s.rows) lines << "  " + row.join(" | ");
    }
    return lines.join('\n');
}
