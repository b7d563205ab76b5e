#include "output/graph_panel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "records/case_record.h"
#include "records/parameter_set.h"
#include "records/text_format.h"

namespace {
const QColor kPopulationColour(Qt::red);
const QColor kBayesColour(Qt::blue);
const QColor kLeastSquaresColour(0, 150, 0);
const QColor kLevelColour(Qt::magenta);
const QColor kRangeColour(Qt::darkBlue);
// Light enough that the curves, the range lines and the levels read on it,
// in colour and on a grey printer alike.
const QColor kBandColour(190, 210, 250);
const char* const kBandLegend = "95 % credible band";

// Where the plot sits in the target: the origin of both axes at the bottom
// left, the span and the top of the axes at the top right. `f` is the height
// of a text line; every other size is a multiple of it.
struct Frame {
    QRectF plot;
    double f;
    double span, top;
    double X(double hours) const { return plot.left() + hours / span * plot.width(); }
    double Y(double conc) const { return plot.bottom() - conc / top * plot.height(); }
};

Frame FrameOf(const QRectF& target, const GraphPanel& p) {
    Frame fr;
    fr.f = std::max(target.height() / 24, 16.0);
    const double f = fr.f;
    const double left = target.left() + (p.axisTitle.isEmpty() ? 0.3 : 1.6) * f + 3.2 * f;
    const double top = target.top() + 3.1 * f;
    const double right = target.right() - 4.2 * f;
    const double bottom = target.bottom() - 3.0 * f;
    fr.plot = QRectF(QPointF(left, top), QPointF(right, bottom));
    fr.span = p.time.span > 0 ? p.time.span : 1;
    fr.top = p.conc.top > 0 ? p.conc.top : 1;
    return fr;
}

QPen Pen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(colour, width, style);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void Arrow(QPainter& painter, QPointF tip, QPointF back, double size) {
    const QPointF d = (tip - back) / std::hypot(tip.x() - back.x(), tip.y() - back.y());
    const QPointF n(-d.y(), d.x());
    painter.drawLine(back, tip);
    painter.drawPolygon(QPolygonF({tip, tip - d * size + n * size / 2, tip - d * size - n * size / 2}));
}

void Axes(QPainter& painter, const Frame& fr, const GraphPanel& p) {
    const double f = fr.f;
    const QPointF origin(fr.plot.left(), fr.plot.bottom());
    painter.setPen(Pen(Qt::black, std::max(1.0, f / 10)));
    painter.setBrush(Qt::black);
    Arrow(painter, {fr.plot.right() + 0.8 * f, origin.y()}, origin, 0.5 * f);
    Arrow(painter, {origin.x(), fr.plot.top() - 0.8 * f}, origin, 0.5 * f);

    const int timeTicks = static_cast<int>(std::lround(fr.span / p.time.tick));
    for (int i = 1; i <= timeTicks; ++i) {
        const double x = fr.X(i * p.time.tick);
        painter.drawLine(QPointF(x, origin.y()), QPointF(x, origin.y() + 0.4 * f));
        painter.drawText(QRectF(x - 2 * f, origin.y() + 0.4 * f, 4 * f, f), Qt::AlignCenter,
                         QString::number(i * p.time.labelStep));
    }
    painter.drawText(QRectF(fr.plot.right() + 1.4 * f, origin.y() - 0.5 * f, 3 * f, f),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(p.time.unit));

    for (int i = 1; i <= 5; ++i) {
        const double value = i * p.conc.tick;
        const double y = fr.Y(value);
        painter.drawLine(QPointF(origin.x() - 0.4 * f, y), QPointF(origin.x(), y));
        // "%d" of a tick such as 57 computed as 56.99999...: the integer it is.
        const QString label = p.conc.oneDecimal ? QString::fromStdString(FormatNumber("%.1f", value))
                                                : QString::number(static_cast<int>(value + 1e-9));
        painter.drawText(QRectF(origin.x() - 3.6 * f, y - 0.5 * f, 3.1 * f, f), Qt::AlignRight | Qt::AlignVCenter,
                         label);
    }
    painter.drawText(QRectF(origin.x() - 3 * f, fr.plot.top() - 2.0 * f, 6 * f, f), Qt::AlignCenter, p.concUnit);
}

void RangeLine(QPainter& painter, const Frame& fr, double level, const char* format, bool labelAbove) {
    if (!(level > 0 && level <= fr.top)) return;
    const double y = fr.Y(level);
    painter.drawLine(QPointF(fr.plot.left(), y), QPointF(fr.plot.right(), y));
    const QRectF label(fr.plot.right() - 7 * fr.f, labelAbove ? y - 1.05 * fr.f : y + 0.05 * fr.f, 7 * fr.f, fr.f);
    painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(FormatNumber(format, level)));
}

void TherapeuticRange(QPainter& painter, const Frame& fr, const GraphPanel& p) {
    painter.setPen(Pen(kRangeColour, std::max(1.0, fr.f / 10), Qt::DashLine));
    if (p.therapeuticMax) RangeLine(painter, fr, *p.therapeuticMax, "Max : %.1f", true);
    if (p.therapeuticMin) RangeLine(painter, fr, *p.therapeuticMin, "Min : %.1f", false);
}

// A polyline through the points the set predicts; a missing point breaks it.
void Curve(QPainter& painter, const Frame& fr, const std::vector<double>& times, const PanelCurve& curve) {
    painter.setPen(Pen(curve.colour, std::max(1.5, fr.f / 7)));
    QPolygonF line;
    const auto flush = [&] {
        if (line.size() > 1) painter.drawPolyline(line);
        line.clear();
    };
    for (std::size_t i = 0; i < curve.values.size() && i < times.size(); ++i) {
        if (curve.values[i]) line << QPointF(fr.X(times[i]), fr.Y(*curve.values[i]));
        else flush();
    }
    flush();
}

// The area between the band's sides; a missing point breaks it.
void Band(QPainter& painter, const Frame& fr, const std::vector<double>& times, const CurveBand& band) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBandColour);
    QPolygonF low, high;
    const auto flush = [&] {
        if (low.size() > 1) {
            std::reverse(high.begin(), high.end());
            painter.drawPolygon(low + high);
        }
        low.clear();
        high.clear();
    };
    for (std::size_t i = 0; i < band.low.size() && i < band.high.size() && i < times.size(); ++i) {
        if (band.low[i] && band.high[i]) {
            low << QPointF(fr.X(times[i]), fr.Y(*band.low[i]));
            high << QPointF(fr.X(times[i]), fr.Y(*band.high[i]));
        } else {
            flush();
        }
    }
    flush();
}

void Levels(QPainter& painter, const Frame& fr, const GraphPanel& p) {
    const double d = 0.4 * fr.f;
    painter.setPen(Pen(kLevelColour, 1));
    painter.setBrush(kLevelColour);
    for (const QPointF& level : p.levels) {
        const QPointF c(fr.X(level.x()), fr.Y(level.y()));
        painter.drawPolygon(QPolygonF({c + QPointF(0, -d), c + QPointF(d, 0), c + QPointF(0, d), c + QPointF(-d, 0)}));
    }
    painter.setPen(Pen(kLevelColour, std::max(2.0, fr.f / 6)));
    for (double t : p.predictionTimes) {
        const double x = fr.X(t);
        painter.drawLine(QPointF(x, fr.plot.bottom() - 0.6 * fr.f), QPointF(x, fr.plot.bottom()));
    }
}

// The entries side by side, centred under the plot: a swatch and its words.
void Legend(QPainter& painter, const Frame& fr, const QRectF& target, const GraphPanel& p) {
    const double f = fr.f;
    const double y = target.bottom() - 1.3 * f;
    std::vector<std::pair<QColor, QString>> entries = {{p.population.colour, p.population.legend},
                                                       {p.fitted.colour, p.fitted.legend}};
    if (!p.band.Empty()) entries.emplace_back(kBandColour, kBandLegend);
    const QFontMetricsF metrics(painter.font());
    const auto width = [&](const QString& text) { return 1.5 * f + metrics.horizontalAdvance(text) + 1.0 * f; };
    double total = 0;
    for (const auto& entry : entries) total += width(entry.second);
    double x = fr.plot.center().x() - total / 2;
    for (const auto& [colour, text] : entries) {
        painter.setPen(Pen(Qt::black, 1));
        painter.setBrush(colour);
        painter.drawRect(QRectF(x, y + 0.25 * f, 1.2 * f, 0.6 * f));
        painter.drawText(QRectF(x + 1.5 * f, y, width(text) - 1.5 * f, f), Qt::AlignLeft | Qt::AlignVCenter, text);
        x += width(text);
    }
}
}  // namespace

GraphPanel PanelOf(const CaseRecord& r, const AnalysisCurves& curves, int fitMethod) {
    GraphPanel p;
    const bool bayes = fitMethod == kBayesian;
    p.title = bayes ? "Bayes vs. Population" : "Least Squares vs. Pop.";
    p.concUnit = QString::fromStdString(r.ConcUnit);
    p.time = curves.time;
    p.conc = curves.conc;
    p.times = curves.times;
    p.population = {curves.population, kPopulationColour, "Pop."};
    p.fitted = bayes ? PanelCurve{curves.bayes, kBayesColour, "Bayes"}
                     : PanelCurve{curves.leastSquares, kLeastSquaresColour, "LS"};
    if (bayes) p.band = curves.bayesBand;
    for (const LevelPoint& level : r.history.levels) {
        if (level.observed < 0) p.predictionTimes.push_back(level.time);
        else p.levels.emplace_back(level.time, level.observed);
    }
    if (r.TherapeuticRangeSet) {
        p.therapeuticMin = r.TherapeuticMin;
        p.therapeuticMax = r.TherapeuticMax;
    }
    return p;
}

bool ShowsLeastSquaresPanel(const CaseRecord& r) { return r.history.measuredCount >= 2 && r.Drug_ID != "ph"; }

void DrawGraphPanel(QPainter& painter, const QRectF& target, const GraphPanel& panel) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const Frame fr = FrameOf(target, panel);
    QFont font = painter.font();
    font.setPixelSize(std::max(1, static_cast<int>(fr.f * 0.72)));
    painter.setFont(font);
    painter.fillRect(target, Qt::white);
    painter.setPen(Pen(Qt::gray, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(target);

    QFont bold = font;
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(target.left(), target.top() + 0.2 * fr.f, target.width(), 1.2 * fr.f), Qt::AlignCenter,
                     panel.title);
    if (!panel.axisTitle.isEmpty()) {
        painter.save();
        painter.translate(target.left() + 1.0 * fr.f, fr.plot.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-fr.plot.height() / 2, -0.6 * fr.f, fr.plot.height(), 1.2 * fr.f), Qt::AlignCenter,
                         panel.axisTitle);
        painter.restore();
    }
    painter.setFont(font);

    // Band and curves stay in the plot; a runaway value must not paint over
    // the labels. The band lies under the range lines, the curves over them.
    const QRectF clip = fr.plot.adjusted(0, -0.5 * fr.f, 0, 0);
    painter.save();
    painter.setClipRect(clip);
    Band(painter, fr, panel.times, panel.band);
    painter.restore();
    TherapeuticRange(painter, fr, panel);
    painter.save();
    painter.setClipRect(clip);
    Curve(painter, fr, panel.times, panel.population);
    Curve(painter, fr, panel.times, panel.fitted);
    painter.restore();
    Levels(painter, fr, panel);
    Axes(painter, fr, panel);
    Legend(painter, fr, target, panel);
    painter.restore();
}

QPointF PlotPoint(const QRectF& target, const GraphPanel& panel, double hours, double conc) {
    const Frame fr = FrameOf(target, panel);
    return {fr.X(hours), fr.Y(conc)};
}
