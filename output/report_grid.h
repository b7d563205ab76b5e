#pragma once
// Places report texts and rules on a device by report units: a 2550 x 3300
// grid over the page, converted to whole device pixels by truncation.
#include <QSize>
#include <QString>

class QPainter;
class QRect;

inline constexpr int kReportWidth = 2550;
inline constexpr int kReportHeight = 3300;
inline constexpr int kReportLine = 50;  // text lines are this far apart

class ReportGrid {
public:
    ReportGrid(QPainter& painter, QSize pixels) : painter_(painter), pixels_(pixels) {}
    QPainter& Painter() const { return painter_; }
    QRect Box(int x1, int y1, int x2, int y2) const;
    // A line of text starting at x, top at y.
    void Left(int x, int y, const QString& text) const;
    // A value ending at x.
    void Right(int x, int y, const QString& text) const;
    void Centered(int x1, int x2, int y1, int y2, const QString& text) const;
    // Word-wrapped in the box.
    void Wrapped(int x1, int y1, int x2, int y2, const QString& text) const;
    void Rule(int x1, int x2, int y) const;
    // Plays back a picture recorded in report units.
    void Picture(const class QPicture& picture) const;

private:
    QPainter& painter_;
    QSize pixels_;
};
