// The analysis graph page: the fits run with a progress bar, the parameter
// and level tables, the graph panels and their axis rules, the buttons, and
// the report's recorded pictures.
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cmath>
#include <stdexcept>
#include <thread>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/kit/work_in_background.h"
#include "app/page_set.h"
#include "engine/curve_band.h"
#include "engine/dose_expansion.h"
#include "engine/population_models.h"
#include "output/analysis_pictures.h"
#include "output/graph_view.h"
#include "records/case_record.h"
#include "records/dosage_form.h"
#include "records/drug_catalogue.h"
#include "tests/engine/history_fixtures.h"
#include "tests/output/pixel_checks.h"
#include "tests/pages/page_test_support.h"

namespace {
// Gentamicin 120 mg over 30 minutes every 8 h from 1 December 08:00, summed by
// hand for Vd 18 L and Cl 4.5 L/h.
double GentamicinLevel(double t) {
    const double k = 4.5 / 18;
    double c = 0;
    for (int i = 0; i < 6 && 8.0 * i <= t; ++i) {
        const double tau = t - 8.0 * i;
        c += tau < 0.5 ? 240 / 4.5 * (1 - std::exp(-k * tau))
                       : 240 / 4.5 * (1 - std::exp(-k * 0.5)) * std::exp(-k * (tau - 0.5));
    }
    return c;
}

void GentamicinCase(std::vector<LevelRow> levels) {
    SetUpAdultWithHistory("gm", {DoseRowOn(1, 8, 0, 120, "IV", 0.5, 8, 6)}, std::move(levels));
}

// A report picture played back at a quarter of the report's size.
QImage Played(const QPicture& picture) {
    QImage image(2550 / 4, 1650 / 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(0.25, 0.25);
    painter.drawPicture(0, 0, picture);
    return image;
}

}  // namespace

class AnalysisGraphPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;

    AnalysisGraphPage& Page() { return pages->analysisGraph(); }
    QTableWidget* Table(const char* name) { return Page().findChild<QTableWidget*>(name); }
    QString Cell(const char* table, int row, int column) {
        const QTableWidgetItem* item = Table(table)->item(row, column);
        return item ? item->text() : QString();
    }
    // The parameter row whose label starts with `label`.
    int ParameterRow(const QString& label) {
        for (int i = 0; i < Table("parameters")->rowCount(); ++i)
            if (Cell("parameters", i, 0).startsWith(label + " (")) return i;
        return -1;
    }
    double Value(const QString& label, int column) {
        return Cell("parameters", ParameterRow(label), column).section(' ', 0, 0).toDouble();
    }
    const std::vector<GraphPanel>& Panels() { return Page().findChild<GraphView*>("graph")->Panels(); }
    int Press(const char* button) {
        Page().setResult(-1);
        Click(&Page(), button);
        return Page().result();
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
    }
    void cleanup() {
        Page().hide();
        pages.reset();
        env.reset();
    }

    void gentamicinTwoLevelsFillTablesAndBothPanels() {
        // A peak 30 minutes after the end of the third infusion and the trough before the fourth.
        const double peak = GentamicinLevel(17), trough = GentamicinLevel(23.5);
        GentamicinCase({LevelRowOn(2, 1, 0, peak), LevelRowOn(2, 7, 30, trough)});
        QList<int> steps;
        QList<bool> shown;
        auto* bar = Page().findChild<QProgressBar*>("progress");
        connect(bar, &QProgressBar::valueChanged, this, [&](int v) {
            steps << v;
            shown << (bar->isVisible() && Page().findChild<QLabel*>("progressLabel")->isVisible());
        });
        Page().resize(1024, 768);
        Page().Open();
        // Each fit ends at 60, then 10 per curve set, then 100; visible throughout, removed after.
        QVERIFY(steps.count(60) >= 2);
        QCOMPARE(steps.mid(steps.size() - 4), QList<int>({70, 80, 90, 100}));
        QVERIFY(!shown.contains(false));
        QVERIFY(bar->isHidden());
        QVERIFY(env->prompts.shown.empty());
        SavePagePicture(Page(), "analysis-gentamicin-two-levels.png");

        // kd = Cl / Vd and t1/2 = 0.693 / kd in every column, from the shown texts.
        for (int column : {1, 2, 3}) {
            const double kd = Value("Cl", column) / Value("Vd", column);
            QVERIFY(std::abs(Value("kd", column) - kd) < 0.001);
            QVERIFY(std::abs(Value("t1/2", column) - 0.693 / kd) < 0.01);
        }
        QCOMPARE(Cell("parameters", ParameterRow("CF"), 1), QString("100.0"));
        QVERIFY(Cell("parameters", ParameterRow("Vd"), 2).contains(" +/ - "));
        // Two levels from Vd 18 L and Cl 4.5 L/h: least squares comes close to them.
        QVERIFY(std::abs(Value("Vd", 2) - 18) < 1.5);
        QVERIFY(std::abs(Value("Cl", 2) - 4.5) < 0.4);

        QCOMPARE(Page().findChild<QLabel*>("levelTitle")->text(), QString("Serum Drug Concentrations (mg/L)"));
        QCOMPARE(Table("levels")->rowCount(), 2);
        const QStringList first = {Cell("levels", 0, 0), Cell("levels", 0, 1), Cell("levels", 0, 2)};
        QCOMPARE(first, QStringList({"12/02", "0100", QString::number(peak, 'f', 1)}));
        QCOMPARE(Cell("levels", 1, 1), QString("0730"));
        QVERIFY(std::abs(Cell("levels", 1, 4).toDouble() - trough) < 0.3);

        QCOMPARE(Panels().size(), std::size_t(2));
        QCOMPARE(Panels()[0].title, QString("Bayes vs. Population"));
        QCOMPARE(Panels()[1].title, QString("Least Squares vs. Pop."));
        // Last dose at 40 h + 8 h: 48 h needed, a 60 h axis in hours.
        QCOMPARE(Panels()[0].time.span, 60.0);
        QCOMPARE(Panels()[0].time.unit, std::string("Hours"));
        // Drawn on the page: the diamond of the peak in both panels.
        auto* graph = Page().findChild<GraphView*>("graph");
        const QImage image = graph->grab().toImage();
        for (int i : {0, 1}) QVERIFY(Near(image, PlotPoint(graph->PanelRect(i), Panels()[i], 17, peak), Magenta));
    }

    // The Bayesian panel carries the engine's credible band and shades it
    // where it is widest, between the curve and the band's top; the
    // least-squares panel has none.
    void bayesPanelShadesTheCredibleBand() {
        GentamicinCase({LevelRowOn(2, 1, 0, 6.4), LevelRowOn(2, 7, 30, 1.3)});
        Page().resize(1024, 768);
        Page().Open();
        const GraphPanel& bayes = Panels()[0];
        const auto posterior = SamplePosterior(TheCase(), PosteriorSettingsFor(TheCase().ModelType));
        QVERIFY(posterior);
        const CurveBand expected = ComputeCurveBand(TheCase(), *posterior, bayes.times);
        QVERIFY(!expected.Empty());
        QCOMPARE(bayes.band.low, expected.low);
        QCOMPARE(bayes.band.high, expected.high);
        QVERIFY(Panels()[1].band.Empty());
        std::size_t widest = 0;
        for (std::size_t i = 0; i < bayes.times.size(); ++i)
            if (*bayes.band.high[i] - *bayes.band.low[i] > *bayes.band.high[widest] - *bayes.band.low[widest])
                widest = i;
        auto* graph = Page().findChild<GraphView*>("graph");
        const QImage image = graph->grab().toImage();
        const double between = (*bayes.band.high[widest] + *bayes.fitted.values[widest]) / 2;
        const QPointF p = PlotPoint(graph->PanelRect(0), bayes, bayes.times[widest], between);
        QVERIFY(Near(
            image, p, [](QRgb c) { return qBlue(c) > 230 && qRed(c) > 170 && qRed(c) < 210; }, 0));
    }

    // A dose at 50 h with a 12 h interval and a level at 48 h need 62 h:
    // the 120 h axis in days. A single level gets one panel and one fit in
    // both columns; a prediction row reads "pred." with all predictions.
    void dayAxisSingleLevelAndPredictionRow() {
        SetUpAdultWithHistory("gm",
                              {DoseRowOn(1, 8, 0, 120, "IV", 0.5, 12, 4), DoseRowOn(3, 10, 0, 120, "IV", 0.5, 12, 1)},
                              {LevelRowOn(3, 8, 0, 1.5), LevelRowOn(3, 20, 0, -1)});
        Page().Open();
        QCOMPARE(Panels().size(), std::size_t(1));
        const TimeAxis& axis = Panels()[0].time;
        QCOMPARE(axis.span, 120.0);
        QCOMPARE(axis.tick, 24.0);
        QCOMPARE(axis.labelStep, 1);
        QCOMPARE(axis.unit, std::string("Days"));
        QCOMPARE(Panels()[0].predictionTimes, std::vector<double>{60});
        QCOMPARE(Cell("levels", 1, 2), QString("pred."));
        for (int c : {3, 4, 5}) QVERIFY(!Cell("levels", 1, c).isEmpty());
        for (int row = 0; row < Table("parameters")->rowCount(); ++row)
            QCOMPARE(Cell("parameters", row, 2), Cell("parameters", row, 3));
    }

    // Vancomycin's top of 90 gives way to a level above it: 95 stays 95
    // (97 with a remainder of 2 cut off), 98 becomes 100.
    void concentrationTopFollowsAHighLevel() {
        for (const auto& [level, top] : {std::pair{95.0, 95.0}, std::pair{98.0, 100.0}}) {
            SetUpAdultWithHistory("vm", {DoseRowOn(1, 8, 0, 1000, "IV", 1, 12, 4)}, {LevelRowOn(2, 21, 0, level)});
            Page().Open();
            double highestCurve = 0;
            for (const auto& curve : {Panels()[0].population.values, Panels()[0].fitted.values})
                for (const auto& c : curve) highestCurve = std::max(highestCurve, c.value_or(0));
            QVERIFY(highestCurve < level);  // the measured level sets the top
            QCOMPARE(Panels()[0].conc.top, top);
        }
    }

    void phenytoinShowsKmVmAndOnePanel() {
        SetUpAdultWithHistory("ph", {DoseRowOn(1, 8, 0, 300, "C", 0, 24, 10)},
                              {LevelRowOn(5, 7, 0, 8), LevelRowOn(10, 7, 0, 12)});
        Page().resize(1024, 768);
        Page().Open();
        SavePagePicture(Page(), "analysis-phenytoin-two-levels.png");
        QVERIFY(ParameterRow("Km") >= 0);
        QVERIFY(ParameterRow("Vm") >= 0);
        QCOMPARE(ParameterRow("Cl"), -1);
        QCOMPARE(ParameterRow("kd"), -1);
        QCOMPARE(Panels().size(), std::size_t(1));
        for (int row = 0; row < Table("parameters")->rowCount(); ++row)
            QCOMPARE(Cell("parameters", row, 2), Cell("parameters", row, 3));
        QCOMPARE(Press("routineBayes"), code::kPhenytoinRegimen);
        QCOMPARE(TheCase().Cur_fit_method, int(kBayesian));
    }

    void buttonsKeysAndCodes() {
        GentamicinCase({LevelRowOn(2, 1, 0, 6), LevelRowOn(2, 7, 30, 1)});
        Page().Open();
        QCOMPARE(Press("previous"), code::kHistory);
        QCOMPARE(Press("routineLs"), code::kIvRegimen);
        QCOMPARE(TheCase().Cur_fit_method, int(kLeastSquares));
        TheCase().RouteCode = 'I';
        QCOMPARE(Press("routineBayes"), code::kOralRegimen);
        QCOMPARE(TheCase().Cur_fit_method, int(kBayesian));
        QCOMPARE(Press("detailed"), code::kAnalysisResults);
        QCOMPARE(TheCase().Cur_fit_method, int(kDetailed));

        // Esc only redraws; the close box redraws and asks.
        Page().show();
        const int redraws = Page().Redraws();
        PressKey(&Page(), Qt::Key_Escape);
        QCOMPARE(Page().Redraws(), redraws + 1);
        QVERIFY(env->prompts.shown.empty());
        QVERIFY(Page().isVisible());
        env->prompts.answers.push_back(false);
        Page().close();
        QCOMPARE(Page().Redraws(), redraws + 2);
        QCOMPARE(env->prompts.shown.back().text, QString("Are you sure you want to exit Kinevo?"));
    }

    // The work runs beside the window's thread: a timer of that thread
    // fires while the work waits for it (on one thread the wait would time
    // out), the last value reported is shown, and a failure comes back.
    void longWorkLeavesTheWindowPainting() {
        std::atomic<bool> ticked{false};
        QTimer::singleShot(0, [&] { ticked = true; });
        bool sawTick = false;
        std::vector<int> shown;
        RunWhilePainting(
            [&](const WorkProgress& report) {
                report(10);
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (!ticked && std::chrono::steady_clock::now() < giveUp)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                sawTick = ticked;
                report(70);
            },
            [&](int value) { shown.push_back(value); });
        QVERIFY(sawTick);
        QVERIFY(!shown.empty());
        QCOMPARE(shown.back(), 70);
        bool thrown = false;
        try {
            RunWhilePainting([](const WorkProgress&) { throw std::runtime_error("no"); }, [](int) {});
        } catch (const std::runtime_error&) {
            thrown = true;
        }
        QVERIFY(thrown);
    }

    // A phenytoin history far from the population fits in many iterations;
    // meanwhile the page repaints and its bar moves.
    void progressBarMovesWhileAHardFitRuns() {
        std::vector<LevelRow> levels;
        for (int i = 0; i < 10; ++i) levels.push_back(LevelRowOn(4 + 3 * i, 7, 0, 5 + 195.0 * i / 9));
        SetUpAdultWithHistory("ph", {DoseRowOn(1, 8, 0, 200, "C", 0, 24, 31)}, levels);
        auto* bar = Page().findChild<QProgressBar*>("progress");
        std::vector<int> seen;
        QTimer sample;
        connect(&sample, &QTimer::timeout, [&] {
            if (bar->isVisible() && (seen.empty() || seen.back() != bar->value())) seen.push_back(bar->value());
        });
        sample.start(1);
        Page().Open();
        sample.stop();
        QVERIFY2(seen.size() >= 3, qPrintable(QString::number(seen.size())));
        QVERIFY(!bar->isVisible());
        QVERIFY(Value("Vm", 1) > 0);
    }

    // A fit that cannot run says so in a real message box; the page still
    // shows the population column and leaves the fitted ones empty.
    void cannotFitDataInARealBox() {
        GentamicinCase({LevelRowOn(2, 1, 0, 6), LevelRowOn(2, 7, 30, 1)});
        TheCase().population.Cl = 0;
        BoxAnswerer boxes;
        Page().Open();
        QCOMPARE(boxes.seen, QStringList({"Kinevo: Cannot Fit Data"}));
        QCOMPARE(Cell("parameters", ParameterRow("Vd"), 1), QString::number(TheCase().population.Vd, 'f', 3));
        QCOMPARE(Cell("parameters", ParameterRow("Vd"), 2), QString());
        QCOMPARE(Cell("parameters", ParameterRow("Vd"), 3), QString());
    }

    // A flagged set shows its flag where its numbers would be, draws no curve
    // and leads to no regimen, results or report.
    void flaggedSetOffersNoWayOn() {
        // Digoxin by mouth, three outpatient doses, then levels that rise
        // after the last one: no fit can follow them.
        SetUpAdultWithHistory("dg", {DoseRowOn(1, 8, 0, 250, "O", 0, 24, 3, "O")},
                              {LevelRowOn(5, 8, 0, 0.8), LevelRowOn(7, 8, 0, 2.4)});
        BoxAnswerer boxes;
        Page().Open();
        SavePagePicture(Page(), "analysis-digoxin-flagged.png");
        const CaseRecord& r = TheCase();
        QVERIFY(!r.leastSquaresRange.Usable() && !r.bayesRange.Usable());
        for (int column : {2, 3}) {
            QVERIFY(Cell("parameters", 0, column).startsWith("Not usable:"));
            for (int row = 1; row < Table("parameters")->rowCount(); ++row)
                QCOMPARE(Cell("parameters", row, column), QString());
        }
        for (int row = 0; row < Table("levels")->rowCount(); ++row)
            for (int column : {4, 5}) QVERIFY(!Cell("levels", row, column).contains(QRegularExpression("[0-9]")));
        QVERIFY(Panels().front().fitted.values.empty());
        QVERIFY(Panels().front().band.Empty());
        for (const char* button : {"routineLs", "routineBayes", "detailed"}) {
            auto* b = Page().findChild<QPushButton*>(button);
            QVERIFY(!b->isEnabled());
            QVERIFY(b->toolTip().contains("not usable"));
        }
        QVERIFY(Page().findChild<QLabel*>("message")->text().contains("leads to no regimen"));
    }

    void reportPicturesInReportUnits() {
        GentamicinCase({LevelRowOn(2, 1, 0, GentamicinLevel(17)), LevelRowOn(2, 7, 30, GentamicinLevel(23.5))});
        Page().Open();
        // Between the report's patient rows (ruled off at y 525 at most) and
        // its parameter block at y 1650.
        const QRect grid(0, 525, 2550, 1650 - 525);
        for (int method : {kBayesian, kLeastSquares}) {
            const ReportPictures pictures = RecordReportPictures(TheCase(), method, nullptr);
            QVERIFY(!pictures.levelTable.isNull());
            QVERIFY(!pictures.graph.isNull());
            const QRect table = pictures.levelTable.boundingRect();
            const QRect graph = pictures.graph.boundingRect();
            QVERIFY(grid.contains(table) && table.left() >= 100 && table.right() <= 1100 && table.height() > 150);
            QVERIFY(grid.contains(graph) && graph.left() >= 1200 && graph.width() > 1000 && graph.height() > 1000);
            QVERIFY(!table.intersects(graph));
            // Played back: both curves in their colours, the table's text in its columns.
            const QImage image = Played(pictures.graph);
            QVERIFY(Count(image, Red) > 100);
            QVERIFY(Count(image, method == kBayesian ? Blue : Green) > 100);
            const QImage text = Played(pictures.levelTable);
            QVERIFY(Count(text, Black) > 100);
            QCOMPARE(Count(text.copy(1100 / 4 + 1, 0, text.width() - 1100 / 4 - 1, text.height()), Black), 0);
        }
    }
};

QTEST_MAIN(AnalysisGraphPageTest)
#include "analysis_graph_page_test.moc"
