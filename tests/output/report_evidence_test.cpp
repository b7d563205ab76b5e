// The report's second page: its rows against the case as entered and as
// predicted by hand, its ranges and chances, and the PDF of both pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <functional>

#include "engine/analysis_fits.h"
#include "engine/dose_expansion.h"
#include "engine/forecast_model.h"
#include "engine/patient_measures.h"
#include "engine/posterior.h"
#include "output/report_drawing.h"
#include "output/report_evidence_drawing.h"
#include "output/report_output.h"
#include "records/case_record.h"
#include "records/text_format.h"
#include "tests/engine/case_fixtures.h"
#include "tests/engine/history_fixtures.h"

namespace {
constexpr double kDose = 120, kInfusion = 0.5, kTau = 8;

// The adult of the engine tests with the drug's default product, the
// history accepted and fitted.
CaseRecord Fitted(const std::string& drug, std::vector<DoseRow> doses, std::vector<LevelRow> levels) {
    CaseRecord r = AdultCase(drug, {});
    r.history.doseRows = std::move(doses);
    r.history.levelRows = std::move(levels);
    EXPECT_FALSE(AcceptHistory(r));
    RunAnalysisFits(r);
    EXPECT_TRUE(r.bayesRange.Usable());
    r.Cur_fit_method = kBayesian;
    return r;
}

// Gentamicin 120 mg over 30 minutes every 8 h from 1 December 08:00, two
// levels and a prediction row.
CaseRecord FittedGentamicin() {
    return Fitted("gm", {DoseRowOn(1, 8, 0, kDose, "IV", kInfusion, kTau, 6)},
                  {LevelRowOn(2, 1, 0, 6.4), LevelRowOn(2, 7, 30, 1.3), LevelRowOn(3, 8, 0, -1)});
}

ReportRegimen RegimenOf(char route, const char* dose, const char* interval, const char* infusion = "") {
    ReportRegimen g;
    g.fitType = kReportBayesian;
    g.routeCode = route;
    g.dose = dose, g.doseUnit = "mg", g.interval = interval, g.infusionTime = infusion, g.postTime = "0";
    return g;
}

ReportRegimen Recommended() { return RegimenOf('D', "120", "8", "0.5"); }

// The share of the draws for which `holds` is true.
double ShareOf(const Posterior& posterior, const std::function<bool(const FitVector&)>& holds) {
    return double(std::count_if(posterior.draws.begin(), posterior.draws.end(), holds)) / posterior.draws.size();
}

// The infusions of the history summed by hand, `t` hours after the first.
double InfusionLevel(double vd, double cl, double t) {
    const double k = cl / vd;
    double sum = 0;
    for (double start = 0; start <= t && start < 6 * kTau; start += kTau) {
        const double on = std::min(t - start, kInfusion);
        sum += kDose / kInfusion / cl * (1 - std::exp(-k * on)) * std::exp(-k * (t - start - on));
    }
    return sum;
}

double Share(const std::string& line) { return std::stod(line) / 100; }
}  // namespace

TEST(ReportEvidence, RowsAreTheCaseAsEnteredAndPredicted) {
    const CaseRecord r = FittedGentamicin();
    const auto posterior = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
    ASSERT_TRUE(posterior);
    const ReportEvidence e = ReportEvidenceOf(r, ReportKind::Bayesian, Recommended(), &*posterior);

    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(e.doses.rows, (Rows{{"2026-12-01", "08:00", "120.00", "IV", "0.50", "8.00", "6", "I"}}));
    ASSERT_EQ(e.levels.rows.size(), 3u);
    const double hours[] = {17, 23.5, 48};
    const char* measured[] = {"6.4", "1.3", "pred."};
    const char* moments[][2] = {{"2026-12-02", "01:00"}, {"2026-12-02", "07:30"}, {"2026-12-03", "08:00"}};
    for (int i = 0; i < 3; ++i) {
        const auto& row = e.levels.rows[i];
        EXPECT_EQ(row[0], moments[i][0]);
        EXPECT_EQ(row[1], moments[i][1]);
        EXPECT_EQ(row[2], measured[i]);
        EXPECT_NEAR(std::stod(row[3]), InfusionLevel(r.bayes.Vd, r.bayes.Cl, hours[i]), 0.051);
    }
    EXPECT_EQ(e.levels.headings[3], "Predicted, Bayesian");

    // Vd and Cl drawn, F and CF held (all doses IV, inpatient).
    ASSERT_EQ(e.parameters.rows.size(), 4u);
    EXPECT_EQ(e.parameters.rows[0][2], "held");
    for (int j : {1, 2}) {
        const auto& row = e.parameters.rows[j];
        const double value = std::stod(row[1]), low = std::stod(row[2]), high = std::stod(row[3]);
        EXPECT_LT(low, value);
        EXPECT_GT(high, value);
        // 95 % of the draws between the two ends, to the cell's rounding.
        int inside = 0;
        for (const FitVector& p : posterior->draws) inside += p[j] >= low - 0.005 && p[j] <= high + 0.005;
        EXPECT_NEAR(double(inside) / posterior->draws.size(), 0.95, 0.01);
    }
    EXPECT_NE(e.rangeSource.find("95 % credible range"), std::string::npos);

    // The priors the Bayesian fit used: Vd's mean and its spread.
    EXPECT_EQ(e.priors.rows[1][1], FormatNumber("%.2f", r.population.Vd));
    EXPECT_EQ(e.priors.rows[1][2], FormatNumber("%.2f", r.init_vd_sd * r.population.Vd) + " (" +
                                       FormatNumber("%.0f", 100 * r.init_vd_sd) + " %)");

    // The chances, counted over the draws by the steady-state formulas.
    int trough = 0, peak = 0, both = 0;
    for (const FitVector& p : posterior->draws) {
        const double k = p[2] / p[1];
        const double top = kDose / kInfusion / p[2] * (1 - std::exp(-k * kInfusion)) / (1 - std::exp(-k * kTau));
        const double bottom = top * std::exp(-k * (kTau - kInfusion));
        const bool t = bottom >= 2 && bottom <= 10, q = top >= 2 && top <= 10;
        trough += t;
        peak += q;
        both += t && q;
    }
    const double n = posterior->draws.size();
    ASSERT_EQ(e.attainment.size(), 4u);
    EXPECT_NE(e.attainment[0].find("% chance trough in 2.0-10.0 mg/L"), std::string::npos);
    EXPECT_NEAR(Share(e.attainment[0]), trough / n, 0.006);
    EXPECT_NEAR(Share(e.attainment[1]), peak / n, 0.006);
    EXPECT_NEAR(Share(e.attainment[2]), both / n, 0.006);

    // Without the posterior: the fit's own range, said to be one SD, and no chances.
    const ReportEvidence plain = ReportEvidenceOf(r, ReportKind::Bayesian, Recommended(), nullptr);
    EXPECT_EQ(plain.parameters.headings[2], "- 1 SD");
    EXPECT_EQ(plain.parameters.rows[0][2], "held");
    EXPECT_EQ(plain.parameters.rows[1][2], FormatNumber("%.2f", *r.bayesRange.lower[1]));
    EXPECT_NE(plain.rangeSource.find("one standard deviation"), std::string::npos);
    EXPECT_EQ(plain.attainment.size(), 1u);
    EXPECT_EQ(plain.attainment[0].find("Not computed"), 0u);
}

// Phenytoin: Km and Vmax with spreads on a log scale, and the chance that
// the average level lies in the range for the patient's binding, counted by
// the Michaelis-Menten steady state Css = Km R / (Vm - R).
TEST(ReportEvidence, PhenytoinAverageChance) {
    const CaseRecord r =
        Fitted("ph", {DoseRowOn(1, 8, 0, 300, "C", 0, 24, 10)}, {LevelRowOn(5, 7, 0, 8), LevelRowOn(10, 7, 0, 12)});
    const auto posterior = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
    ASSERT_TRUE(posterior);
    const ReportEvidence e = ReportEvidenceOf(r, ReportKind::Bayesian, RegimenOf('O', "300", "24"), &*posterior);
    std::vector<std::string> labels;
    for (const auto& row : e.parameters.rows) labels.push_back(row[0]);
    EXPECT_EQ(labels, (std::vector<std::string>{"F (%)", "Vd (L)", "Km (mg/L)", "CF (%)", "Vmax (mg/day)"}));
    EXPECT_EQ(e.priors.rows[2][2], FormatNumber("SD of log %.2f", r.init_cl_sd));
    const double fu = CurrentFreeFraction(r), low = 1 / fu, high = 2 / fu;
    const double inside = ShareOf(*posterior, [&](const FitVector& p) {
        const double rate = ProductSalt(r) * p[0] * 300, css = p[2] * rate / (p[4] - rate);
        return rate < p[4] && css >= low && css <= high;
    });
    ASSERT_EQ(e.attainment.size(), 2u);
    EXPECT_NE(e.attainment[0].find("% chance average level in " + FormatNumbers("%.1f-%.1f", low, high)),
              std::string::npos);
    EXPECT_NEAR(Share(e.attainment[0]), inside, 0.006);
}

// Vancomycin is judged by its trough and its exposure, not its peak: the
// AUC24 share counted by hand as 24 D / (tau Cl) over the draws.
TEST(ReportEvidence, VancomycinExposureChance) {
    const CaseRecord r =
        Fitted("vm", {DoseRowOn(1, 8, 0, 1000, "IV", 1, 12, 6)}, {LevelRowOn(3, 9, 0, 32), LevelRowOn(3, 19, 30, 14)});
    const auto posterior = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
    ASSERT_TRUE(posterior);
    const ReportEvidence e = ReportEvidenceOf(r, ReportKind::Bayesian, RegimenOf('D', "1000", "12", "1"), &*posterior);
    const double inside = ShareOf(*posterior, [](const FitVector& p) {
        const double auc = 24 * 1000 / (12 * p[2]);
        return auc >= 400 && auc <= 600;
    });
    ASSERT_EQ(e.attainment.size(), 4u);
    EXPECT_NE(e.attainment[0].find("% chance trough in 15.0-50.0 mg/L"), std::string::npos);
    EXPECT_NE(e.attainment[1].find("% chance AUC24 in 400-600 mg\u00b7h/L"), std::string::npos);
    EXPECT_NEAR(Share(e.attainment[1]), inside, 0.006);
    EXPECT_NE(e.attainment[2].find("all of these at once"), std::string::npos);
}

namespace {
QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Both pages of the report into a PDF; its text, page by page.
QStringList PdfPages(const QString& path, const ReportContent& content, const ReportEvidence& evidence) {
    {
        QPdfWriter writer(path);
        PrepareReportPdf(writer);
        EXPECT_TRUE(
            DrawReport(writer, {[&](QPainter& p, QSize pixels) { DrawReport(p, pixels, content, nullptr); },
                                [&](QPainter& p, QSize pixels) { DrawEvidencePage(p, pixels, content, evidence); }}));
    }
    const QString shots = qEnvironmentVariable("KINEVO_SHOT_DIR");
    if (!shots.isEmpty()) Run("pdftoppm", {"-r", "100", "-png", path, shots + "/" + QFileInfo(path).baseName()});
    QStringList pages;
    const int count = Run("pdfinfo", {path}).section("Pages:", 1).simplified().section(' ', 0, 0).toInt();
    for (int i = 1; i <= count; ++i)
        pages << Run("pdftotext", {"-layout", "-f", QString::number(i), "-l", QString::number(i), path, "-"})
                     .simplified();
    return pages;
}
}  // namespace

TEST(ReportEvidence, SecondPdfPageHoldsTheRowsAndLongTablesAreCut) {
    CaseRecord r = FittedGentamicin();
    const auto posterior = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
    ASSERT_TRUE(posterior);
    const ReportRegimen regimen = Recommended();
    const ReportContent content =
        ReportContentOf(r, {"Clinic", "Gentamicin", "Doe, John", "H123", "12/04/2026", "50", "Years", "Male"}, regimen,
                        ReportKind::Bayesian, {}, "", 46360.5);
    ReportEvidence evidence = ReportEvidenceOf(r, ReportKind::Bayesian, regimen, &*posterior);
    QTemporaryDir dir;
    const QStringList pages = PdfPages(dir.filePath("evidence_gentamicin.pdf"), content, evidence);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("THERAPEUTIC DRUG MONITORING REPORT"));
    for (const QString& expected :
         {QString("Page 2 of 2"), QString("2026-12-01 08:00 120.00 IV 0.50 8.00 6 I"),
          QString("2026-12-02 01:00 6.4 ") + QString::fromStdString(evidence.levels.rows[0][3]),
          QString("2026-12-03 08:00 pred."),
          QString("Vd (L) ") + QString::fromStdString(evidence.parameters.rows[1][1]),
          QString("% chance trough in 2.0-10.0 mg/L")})
        EXPECT_TRUE(pages[1].contains(expected)) << expected.toStdString() << " in: " << pages[1].toStdString();

    // Twenty dose rows: the table stops with a count of those left out.
    evidence.doses.rows.resize(20, evidence.doses.rows.front());
    evidence.doses.rows.back()[0] = "2026-12-20";
    const QStringList cut = PdfPages(dir.filePath("evidence_cut.pdf"), content, evidence);
    ASSERT_EQ(cut.size(), 2);
    EXPECT_TRUE(cut[1].contains(QString("... %1 more rows not shown").arg(20 - kEvidenceTableRows + 1)));
    EXPECT_FALSE(cut[1].contains("2026-12-20"));
    EXPECT_TRUE(cut[1].contains("Chance of Reaching the Targets"));
}
