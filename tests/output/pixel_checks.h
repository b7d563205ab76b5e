#pragma once
// Colour tests for drawn images: which colour a pixel is, near a point or
// counted over the image.
#include <QImage>
#include <QPointF>

inline bool Red(QRgb c) { return qRed(c) > 200 && qGreen(c) < 90 && qBlue(c) < 90; }
inline bool Blue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 90 && qGreen(c) < 90; }
inline bool Green(QRgb c) { return qGreen(c) > 100 && qRed(c) < 90 && qBlue(c) < 90; }
inline bool Black(QRgb c) { return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60; }
inline bool Magenta(QRgb c) { return qRed(c) > 200 && qBlue(c) > 200 && qGreen(c) < 90; }

// Whether a pixel within `radius` of `p` passes `test`.
inline bool Near(const QImage& image, QPointF p, bool (*test)(QRgb), int radius = 2) {
    for (int dx = -radius; dx <= radius; ++dx)
        for (int dy = -radius; dy <= radius; ++dy) {
            const QPoint q = p.toPoint() + QPoint(dx, dy);
            if (image.valid(q) && test(image.pixel(q))) return true;
        }
    return false;
}

inline int Count(const QImage& image, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += test(image.pixel(x, y));
    return n;
}
