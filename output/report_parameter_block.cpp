// The report's block of pharmacokinetic parameters: the population set
// alone, or the fitted set with or without the population set beside it.
#include <QPainter>
#include <vector>

#include "output/report_drawing.h"
#include "output/report_grid.h"

namespace {
constexpr int kPopulationColumnWidth = 250;  // the population value ends this far left of the fitted one

struct Row {
    QString label;
    std::string population, current;
    // False for the forecast's own results, which belong to the recommended set only.
    bool perSet = true;
};

Row SetRow(const char* label, const ReportContent& c, std::string ReportParameterTexts::*value) {
    return {label, c.population.*value, c.current.*value};
}

Row ForecastRow(const char* label, const std::string& value) { return {label, {}, value, false}; }

struct Column {
    int labelX, valueEnd;
    std::vector<Row> rows;
};

std::vector<Column> ColumnsOf(const ReportContent& c) {
    using T = ReportParameterTexts;
    if (c.phenytoin)
        return {{50,
                 950,
                 {SetRow("Vol. of Dist. (L):", c, &T::vd), SetRow("Km (mg/L):", c, &T::km),
                  SetRow("Vmax (mg/day):", c, &T::vm)}},
                {1150,
                 2250,
                 {SetRow("Bioavailability (%):", c, &T::f), ForecastRow("Time to 90% SS (days):", c.steadyState90Days),
                  ForecastRow("Adjusted Therapeutic Range (mg/L):", c.adjustedRange),
                  ForecastRow("Free Fraction: ", c.freeFraction)}}};
    return {{50,
             875,
             {SetRow("Clearance (L/hr):", c, &T::cl), SetRow("Vol. of Dist. (L):", c, &T::vd),
              SetRow("Time to SS (hr):", c, &T::timeToSteadyState)}},
            {1275, 2100, {SetRow("Bioavailability (%):", c, &T::f), SetRow("Half-Life (hr):", c, &T::halfLife)}}};
}

QString Title(const ReportContent& c, bool twoColumns) {
    if (c.kind == ReportKind::Population) return "Population Pharmacokinetic Parameters";
    if (twoColumns) return "Pharmacokinetic Parameters";
    return c.kind == ReportKind::Bayesian ? "Bayesian Pharmacokinetic Parameters"
                                          : "Least Sq. Pharmacokinetic Parameters";
}

void ColumnHeadings(const ReportGrid& g, const ReportContent& c, int valueEnd, int y) {
    const bool bayes = c.kind == ReportKind::Bayesian;
    const int population = valueEnd - kPopulationColumnWidth;
    g.Right(population, y, "Population");
    g.Right(population, y + 30, "----------");
    g.Right(valueEnd, y, bayes ? "Bayesian" : "Least Sq.");
    g.Right(valueEnd, y + 30, bayes ? "  ---------" : " ---------");
}
}  // namespace

void DrawParameterBlock(const ReportGrid& g, const ReportContent& c, int titleTop) {
    const bool twoColumns = c.kind != ReportKind::Population && c.choices.populationParameters;
    QPainter& p = g.Painter();
    QFont font = p.font();
    font.setBold(true);
    p.setFont(font);
    g.Centered(600, 1800, titleTop, titleTop + kReportLine, Title(c, twoColumns));
    font.setBold(false);
    p.setFont(font);
    const int firstRow = titleTop + (twoColumns ? 150 : 75);
    for (const Column& column : ColumnsOf(c)) {
        if (twoColumns) ColumnHeadings(g, c, column.valueEnd, titleTop + 75);
        int y = firstRow;
        for (const Row& row : column.rows) {
            g.Left(column.labelX, y, row.label);
            g.Right(column.valueEnd, y, QString::fromStdString(row.current));
            if (twoColumns && row.perSet)
                g.Right(column.valueEnd - kPopulationColumnWidth, y, QString::fromStdString(row.population));
            y += kReportLine;
        }
    }
}
