#include "output/report_grid.h"

#include <QPainter>
#include <QPicture>
#include <QRect>

QRect ReportGrid::Box(int x1, int y1, int x2, int y2) const {
    auto x = [this](int v) { return static_cast<int>(static_cast<long long>(v) * pixels_.width() / kReportWidth); };
    auto y = [this](int v) { return static_cast<int>(static_cast<long long>(v) * pixels_.height() / kReportHeight); };
    return QRect(QPoint(x(x1), y(y1)), QPoint(x(x2) - 1, y(y2) - 1));
}

void ReportGrid::Left(int x, int y, const QString& text) const {
    painter_.drawText(Box(x, y, kReportWidth, y + kReportLine), Qt::AlignLeft | Qt::AlignTop, text);
}

void ReportGrid::Right(int x, int y, const QString& text) const {
    painter_.drawText(Box(0, y, x, y + kReportLine), Qt::AlignRight | Qt::AlignTop, text);
}

void ReportGrid::Centered(int x1, int x2, int y1, int y2, const QString& text) const {
    painter_.drawText(Box(x1, y1, x2, y2), Qt::AlignHCenter | Qt::AlignTop, text);
}

void ReportGrid::Wrapped(int x1, int y1, int x2, int y2, const QString& text) const {
    painter_.drawText(Box(x1, y1, x2, y2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

void ReportGrid::Rule(int x1, int x2, int y) const {
    const QRect line = Box(x1, y, x2, y + 1);
    painter_.drawLine(line.left(), line.top(), line.right() + 1, line.top());
}

// Playback scales a picture by the device's resolution over the picture's
// own; the report units already carry the page size, so that is undone.
void ReportGrid::Picture(const QPicture& picture) const {
    const QPaintDevice* device = painter_.device();
    const double dpiX = double(picture.logicalDpiX()) / device->logicalDpiX();
    const double dpiY = double(picture.logicalDpiY()) / device->logicalDpiY();
    painter_.save();
    painter_.scale(dpiX * pixels_.width() / kReportWidth, dpiY * pixels_.height() / kReportHeight);
    painter_.drawPicture(0, 0, picture);
    painter_.restore();
}
