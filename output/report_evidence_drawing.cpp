#include "output/report_evidence_drawing.h"

#include <QFontMetrics>
#include <QPainter>

#include "output/report_grid.h"

namespace {
QString Q(const std::string& text) { return QString::fromStdString(text); }

// A column's span in report units; numbers end at the right edge.
struct Column {
    int start, end;
    bool right = false;
};

const std::vector<Column> kDoseColumns = {{100, 370},         {390, 540},         {560, 790, true},   {850, 1010},
                                          {1030, 1320, true}, {1360, 1660, true}, {1700, 1880, true}, {1960, 2200}};
const std::vector<Column> kLevelColumns = {{100, 380}, {400, 540}, {560, 950, true}, {1000, 1450, true}};
const std::vector<Column> kParameterColumns = {{100, 500}, {520, 900, true}, {920, 1200, true}, {1220, 1500, true}};
const std::vector<Column> kPriorColumns = {{100, 500}, {520, 900, true}, {1000, 1600}};

void SetBold(QPainter& painter, bool bold) {
    QFont font = painter.font();
    font.setBold(bold);
    painter.setFont(font);
}

// A cell's text, cut with an ellipsis where it would run into the next column.
void Cell(const ReportGrid& g, const Column& c, int y, const QString& text) {
    QPainter& p = g.Painter();
    const QRect box = g.Box(c.start, y, c.end, y + kReportLine);
    const QString shown = QFontMetrics(p.font(), p.device()).elidedText(text, Qt::ElideRight, box.width());
    p.drawText(box, (c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop, shown);
}

int Title(const ReportGrid& g, int y, const QString& title) {
    SetBold(g.Painter(), true);
    g.Left(100, y, title);
    SetBold(g.Painter(), false);
    return y + kReportLine;
}

// Headings, a rule, then the rows; rows beyond the limit give way to a
// line that counts them. Returns the top of the next line.
int Table(const ReportGrid& g, int y, const EvidenceTable& t, const std::vector<Column>& columns,
          const QString& whenEmpty) {
    if (t.rows.empty()) {
        g.Left(100, y, whenEmpty);
        return y + kReportLine;
    }
    for (std::size_t c = 0; c < columns.size() && c < t.headings.size(); ++c) Cell(g, columns[c], y, Q(t.headings[c]));
    g.Rule(columns.front().start, columns.back().end, y + kReportLine - 4);
    y += kReportLine + 5;
    const bool cut = static_cast<int>(t.rows.size()) > kEvidenceTableRows;
    const std::size_t shown = cut ? kEvidenceTableRows - 1 : t.rows.size();
    for (std::size_t r = 0; r < shown; ++r, y += kReportLine)
        for (std::size_t c = 0; c < columns.size() && c < t.rows[r].size(); ++c)
            Cell(g, columns[c], y, Q(t.rows[r][c]));
    if (cut) {
        g.Left(100, y, QString("... %1 more rows not shown").arg(t.rows.size() - shown));
        y += kReportLine;
    }
    return y;
}

int Lines(const ReportGrid& g, int y, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        g.Wrapped(100, y, 2450, y + 2 * kReportLine, Q(line));
        y += kReportLine;
    }
    return y;
}

void Heading(const ReportGrid& g, const ReportContent& c) {
    SetBold(g.Painter(), true);
    g.Centered(400, 2150, 50, 100, Q(c.drug + " - Evidence for the Recommendation"));
    SetBold(g.Painter(), false);
    g.Wrapped(100, 125, 850, 175, Q(c.name));
    g.Centered(850, 1650, 125, 175, Q(c.patientNumber));
    g.Left(1650, 125, Q(c.dateAndTime));
    g.Right(2450, 50, "Page 2 of 2");
    g.Rule(20, 2400, 200);
}
}  // namespace

void DrawEvidencePage(QPainter& painter, QSize pixels, const ReportContent& c, const ReportEvidence& e) {
    QFont font = painter.font();
    font.setPointSizeF(10);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const ReportGrid g(painter, pixels);
    Heading(g, c);
    constexpr int kGap = kReportLine;
    int y = Title(g, 250, "Dosing History (as entered)");
    y = Table(g, y, e.doses, kDoseColumns, "No dosing history entered.") + kGap;
    y = Title(g, y, "Serum Levels");
    y = Table(g, y, e.levels, kLevelColumns, "No level entered.") + kGap;
    y = Title(g, y, "Pharmacokinetic Parameters");
    y = Table(g, y, e.parameters, kParameterColumns, {});
    g.Wrapped(100, y, 2450, y + 2 * kReportLine, Q(e.rangeSource));
    y += 2 * kReportLine + kGap;
    y = Title(g, y, "Model and Priors");
    y = Lines(g, y, e.model);
    y = Table(g, y + 10, e.priors, kPriorColumns, {}) + kGap;
    y = Title(g, y, "Chance of Reaching the Targets - Recommended Regimen");
    Lines(g, y, e.attainment);
}
