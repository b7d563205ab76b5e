// The graph panel drawn into an image: each item in its colour where the
// axes put it.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include "output/graph_panel.h"
#include "tests/output/pixel_checks.h"

// A hand-made panel drawn into an image: each colour where its item belongs.
TEST(GraphPanelDrawing, EachItemInItsPlace) {
    GraphPanel panel;
    panel.title = "Bayes vs. Population";
    panel.time = TimeAxis{10, 2, 2, "Hours"};
    panel.conc = ConcAxis{10, 2, false};
    for (int i = 0; i <= 10; ++i) panel.times.push_back(i);
    panel.population = {std::vector<std::optional<double>>(11, 6.0), Qt::red, "Pop."};
    panel.fitted = {std::vector<std::optional<double>>(11, 3.0), Qt::blue, "Bayes"};
    panel.fitted.values[5].reset();  // no prediction at 5 h: the line breaks there
    panel.levels = {{2, 8}};
    panel.predictionTimes = {7};
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::gray);
    const QRectF target(0, 0, 600, 400);
    {
        QPainter painter(&image);
        DrawGraphPanel(painter, target, panel);
    }
    const auto at = [&](double t, double c) { return PlotPoint(target, panel, t, c); };
    EXPECT_TRUE(Near(image, at(2.5, 6), Red));
    EXPECT_TRUE(Near(image, at(2.5, 3), Blue));
    EXPECT_FALSE(Near(image, at(5, 3), Blue, 1));
    EXPECT_TRUE(Near(image, at(8.5, 3), Blue));
    EXPECT_TRUE(Near(image, at(2, 8), Magenta));
    EXPECT_TRUE(Near(image, at(7, 0) - QPointF(0, 3), Magenta));
    EXPECT_FALSE(Near(image, at(2.5, 8), Magenta));
    // Both axes run from the origin in black; the plot is white.
    EXPECT_TRUE(Near(image, at(0, 5), Black, 1));
    EXPECT_TRUE(Near(image, at(5, 0), Black, 1));
    EXPECT_EQ(QColor(image.pixel(at(4, 4.5).toPoint())), QColor(Qt::white));
}

// A band from 2 to 4 around a curve at 3, broken where a point is missing:
// shaded between its sides, the curve drawn over it, white outside it and
// in the break.
TEST(GraphPanelDrawing, BandShadedUnderTheCurve) {
    GraphPanel panel;
    panel.time = TimeAxis{10, 2, 2, "Hours"};
    panel.conc = ConcAxis{10, 2, false};
    for (int i = 0; i <= 10; ++i) panel.times.push_back(i);
    panel.fitted = {std::vector<std::optional<double>>(11, 3.0), Qt::blue, "Bayes"};
    panel.band = {std::vector<std::optional<double>>(11, 2.0), std::vector<std::optional<double>>(11, 4.0)};
    panel.band.low[5].reset();
    QImage image(600, 400, QImage::Format_RGB32);
    const QRectF target(0, 0, 600, 400);
    {
        QPainter painter(&image);
        DrawGraphPanel(painter, target, panel);
    }
    const auto at = [&](double t, double c) { return image.pixel(PlotPoint(target, panel, t, c).toPoint()); };
    const auto shaded = [](QRgb c) { return qBlue(c) > 230 && qRed(c) > 170 && qRed(c) < 210; };
    EXPECT_TRUE(shaded(at(2.5, 3.5)));
    EXPECT_TRUE(shaded(at(8.5, 2.5)));
    EXPECT_TRUE(Blue(at(2.5, 3)));
    EXPECT_EQ(QColor(at(2.5, 4.5)), QColor(Qt::white));
    EXPECT_EQ(QColor(at(2.5, 1.5)), QColor(Qt::white));
    EXPECT_EQ(QColor(at(5, 3.5)), QColor(Qt::white));
}
