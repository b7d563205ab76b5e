#include "output/report_drawing.h"

#include <QPainter>
#include <QPen>

#include "output/report_grid.h"

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }

// Where the blocks below the patient rows sit, in report units.
struct Layout {
    int parameterTitle, regimenRule, headingTop, headingBottom, commentsRule, signature, signatureText;
};

Layout LayoutOf(const ReportContent& c, bool withPictures) {
    if (c.kind == ReportKind::Population) return {550, 850, 875, 975, 1175, 1550, 1575};
    if (withPictures) return {1650, 2050, 2055, 2150, 2400, 2900, 2950};
    return {c.phenytoin ? 550 : 500, 925, 950, 1000, 1200, 1600, 1625};
}

void SetBold(QPainter& painter, bool bold) {
    QFont font = painter.font();
    font.setBold(bold);
    painter.setFont(font);
}

void DrawPatient(const ReportGrid& g, const ReportContent& c) {
    QPainter& p = g.Painter();
    SetBold(p, true);
    g.Centered(400, 2000, 50, 100, Q(c.institution));
    g.Centered(400, 2000, 100, 150, "THERAPEUTIC DRUG MONITORING REPORT");
    g.Centered(400, 2000, 150, 200, Q(c.drug));
    SetBold(p, false);
    g.Wrapped(100, 250, 850, 300, Q(c.name));
    g.Centered(850, 1650, 250, 300, Q(c.patientNumber));
    g.Wrapped(1650, 250, 2500, 300, Q(c.dateAndTime));
    g.Left(125, 350, Q(c.age));
    g.Left(125, 400, Q(c.sex));
    g.Left(650, 350, Q(c.height));
    g.Left(650, 400, Q(c.weight));
    if (c.phenytoin) g.Left(650, 450, Q(c.albumin));
    if (c.enteredClearance.empty()) {
        g.Left(1550, 350, Q(c.renal));
        g.Left(1550, 400, Q(c.estimatedClearance));
    } else {
        g.Left(1550, 400, Q(c.enteredClearance));
    }
    g.Rule(20, 2400, c.phenytoin ? 525 : 475);
}

QString RegimenHeading(ReportKind kind) {
    switch (kind) {
        case ReportKind::Bayesian: return "Maintenance Dosage Regimen Based on Bayesian Parameters";
        case ReportKind::LeastSquares: return "Maintenance Dosage Regimen Based on Least Squares Parameters";
        case ReportKind::Population: break;
    }
    return "Maintenance Dosage Regimen Based on Population Parameters";
}

void DrawRegimen(const ReportGrid& g, const ReportContent& c, const Layout& at) {
    g.Rule(20, 2400, at.regimenRule);
    SetBold(g.Painter(), true);
    g.Centered(200, 2200, at.headingTop, at.headingBottom, RegimenHeading(c.kind));
    SetBold(g.Painter(), false);
    const int dose = at.headingBottom;
    g.Left(50, dose, "DOSE: ");
    g.Wrapped(250, dose, 2250, dose + 2 * kReportLine, Q(c.regimenSentence));
    g.Left(50, dose + 100, Q("PREDICTED LEVELS (" + c.concentrationUnit + "): "));
    g.Left(800, dose + 100, Q(c.predictedLevels));
    g.Left(800, dose + 150, Q(c.exposure));
}

void DrawComments(const ReportGrid& g, const ReportContent& c, const Layout& at) {
    g.Rule(20, 2400, at.commentsRule);
    g.Left(50, at.commentsRule + 25, "Comments");
    int noteTop = at.commentsRule + 75;
    if (!c.caution.empty()) {
        // Above the note, where it cannot be missed: what the fit asks to check.
        SetBold(g.Painter(), true);
        g.Wrapped(50, noteTop, 2350, noteTop + 3 * kReportLine, Q("Caution: " + c.caution));
        SetBold(g.Painter(), false);
        noteTop += 3 * kReportLine;
    }
    g.Wrapped(50, noteTop, 2150, at.signature, Q(c.note));
    QPainter& p = g.Painter();
    p.save();
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    g.Rule(950, 2000, at.signature);
    p.restore();
    g.Centered(950, 2000, at.signatureText, at.signatureText + kReportLine, "Signature");
}
}  // namespace

void DrawReport(QPainter& painter, QSize pixels, const ReportContent& c, const ReportPictures* pictures) {
    QFont font = painter.font();
    font.setPointSizeF(10);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const ReportGrid grid(painter, pixels);
    const bool withPictures = pictures && c.kind != ReportKind::Population && c.choices.graphics;
    if (withPictures) {
        grid.Picture(pictures->levelTable);
        grid.Picture(pictures->graph);
    }
    DrawPatient(grid, c);
    const Layout at = LayoutOf(c, withPictures);
    DrawParameterBlock(grid, c, at.parameterTitle);
    DrawRegimen(grid, c, at);
    DrawComments(grid, c, at);
}
