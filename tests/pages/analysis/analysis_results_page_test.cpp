// The detailed results page typed into as a user would: the steady-state
// levels of each set against hand formulas, the spread of the fitted ones,
// the hidden least-squares columns of a single fit, the field and Vmax
// messages, the revisit and the regimen handed to the report.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <cmath>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "engine/analysis_fits.h"
#include "engine/dose_expansion.h"
#include "engine/population_models.h"
#include "engine/regimen_chance.h"
#include "pages/analysis/analysis_results_page.h"
#include "pages/forecast/iv_forecast_page.h"
#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/db/configuration.h"
#include "records/db/database.h"
#include "records/dosage_form.h"
#include "tests/engine/history_fixtures.h"
#include "tests/pages/field_typing.h"
#include "tests/pages/page_test_support.h"

namespace {
// Gentamicin by intermittent infusion with two measured levels, fitted: the
// least-squares fit spread in Cl alone, the Bayesian one in F alone (a mix-up
// of the two shows in the Bayesian spread).
void SetUpFittedGentamicin() {
    SetUpFortyYearOld("gm", "Intermittent IV - Injection");
    CaseRecord& r = TheCase();
    r.history.measuredCount = 2;
    r.leastSquares = r.population;
    r.leastSquares.Vd = 18, r.leastSquares.Cl = 4;
    r.bayes = r.population;
    r.bayes.Vd = 16, r.bayes.Cl = 5, r.bayes.F = 0.8;
    FitMatrix ls{}, bayes{};
    ls[2][2] = 0.25;
    bayes[0][0] = 0.01;
    r.leastSquaresRange.covariance = ls;
    r.bayesRange.covariance = bayes;
    r.leastSquaresRange.lower = {0.9, 16, 3.5, 0.9, std::nullopt};
    r.bayesRange.lower = {0.7, 15, 4.6, 0.9, std::nullopt};
}

// The same drug fitted as the analysis page fits it: 120 mg over 0.5 h
// every 8 h, a peak of 6.2 mg/L an hour after the first dose and a trough of
// 1.6 mg/L before the second.
void FitGentamicinHistory() {
    SetUpFortyYearOld("gm", "Intermittent IV - Injection");
    CaseRecord& r = TheCase();
    ApplyFitRouteProducts(r, {"Intermittent IV - Injection"});
    r.history.doseRows = {DoseRowOn(7, 8, 0, 120, "IV", 0.5, 8, 3)};
    r.history.levelRows = {LevelRowOn(7, 9, 0, 6.2), LevelRowOn(7, 15, 30, 1.6)};
    QVERIFY(!AcceptHistory(r));
    QVERIFY(RunAnalysisFits(r).fitted);
}

void TypeRegimen(QWidget* page) {
    TypeInto(page, "dose", "120");
    TypeInto(page, "interval", "8");
    TypeInto(page, "infusionTime", "0.5");
    TypeInto(page, "postTime", "1");
}

QString Two(double v) { return QString::number(v, 'f', 2); }

// Phenytoin capsules (albumin 4 g/dL) with its population set and one fit,
// spread in Km, plus a suspension as the fit's second product.
void SetUpPhenytoin() {
    SetUpFortyYearOld("ph", "Oral - Capsules");
    CaseRecord& r = TheCase();
    r.Albumin = 4;
    SelectDrugModel(r);
    ChooseRouteProduct(r, "Oral - Capsules");
    r.FitRouteProduct2 = "Oral - Suspension";
    r.history.measuredCount = 1;
    r.bayes = r.population;
    r.bayes.Km = r.bayes.Cl = 5;
    r.bayes.Vm = 600;
    r.leastSquares = r.bayes;
    FitMatrix c{};
    c[2][2] = 1;
    r.bayesRange.covariance = r.leastSquaresRange.covariance = c;
}
}  // namespace

class AnalysisResultsPageTest : public QObject {
    Q_OBJECT
private slots:
    void gentamicinLevelsOfEachSetWithTheirSpread() {
        PageTestEnvironment env;
        SetUpFittedGentamicin();
        AnalysisResultsPage page;
        OpenActive(page);
        TypeRegimen(&page);

        // A 120 mg infusion over 0.5 h every 8 h, one compartment at steady state.
        const CaseRecord& r = TheCase();
        const double S = r.ParenteralSalt;
        const auto peakOf = [&](const ParameterSet& p) {
            const double k = p.Cl / p.Vd;
            return S * 240 * (1 - std::exp(-k * 0.5)) / (p.Cl * (1 - std::exp(-k * 8)));
        };
        const auto troughOf = [&](const ParameterSet& p) { return peakOf(p) * std::exp(-p.Cl / p.Vd * 7.5); };
        QCOMPARE(FieldText(&page, "peakPopulation"), Two(peakOf(r.population)));
        QCOMPARE(FieldText(&page, "troughPopulation"), Two(troughOf(r.population)));
        const double k = r.population.Cl / r.population.Vd;
        QCOMPARE(FieldText(&page, "postPopulation"), Two(peakOf(r.population) * std::exp(-k)));
        QCOMPARE(FieldText(&page, "peakLeastSquares"), Two(peakOf(r.leastSquares)));
        QCOMPARE(FieldText(&page, "troughBayes"), Two(troughOf(r.bayes)));
        // Average = S F D / (tau Cl) is linear in F: the Bayesian 95 % range
        // is 1.96 x Y/F x sd(F) either side, exactly.
        const double average = S * 0.8 * 120 / (8 * 5.0);
        const double z = 1.959964;
        QCOMPARE(FieldText(&page, "averageBayes"), Two(average));
        QCOMPARE(FieldText(&page, "averageBayesRange"),
                 Two(average - z * average / 0.8 * 0.1) + " - " + Two(average + z * average / 0.8 * 0.1));
        // AUC24 = 24 S D / (tau Cl), the area under the infusion's levels: no
        // F, so no Bayesian spread; the least-squares 95 % range is the AUC24
        // at Cl +/- 1.96 sd(Cl), the exact quantiles of a normal Cl.
        const double aucBayes = 24 * S * 120 / (8 * 5.0);
        QCOMPARE(FieldText(&page, "auc24BayesRange"), Two(aucBayes) + " - " + Two(aucBayes));
        const double aucLs = 24 * S * 120 / (8 * 4.0);
        QCOMPARE(FieldText(&page, "auc24LeastSquares"), Two(aucLs));
        QCOMPARE(FieldText(&page, "auc24LeastSquaresRange"),
                 Two(aucLs * 4 / (4 + z * 0.5)) + " - " + Two(aucLs * 4 / (4 - z * 0.5)));
        // The peak does not depend on F: no spread.
        QCOMPARE(FieldText(&page, "peakBayesRange"), Two(peakOf(r.bayes)) + " - " + Two(peakOf(r.bayes)));
        QVERIFY(page.findChild<QLineEdit*>("peakLeastSquares")->isVisibleTo(&page));
        QCOMPARE(FieldText(&page, "salt"), QString::fromStdString(std::to_string(S).substr(0, 4)));

        // The parameter table: ranges beside the fitted values.
        auto* table = page.findChild<QTableWidget*>("parameters");
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("+/- 1 SD"));
        QCOMPARE(table->item(2, 3)->text(), QString("16.000"));  // Bayesian Vd
        QCOMPARE(table->item(2, 4)->text(), QString("+/ - 1.000"));
        QVERIFY(env.prompts.shown.empty());
    }

    // A flagged least-squares set: its flag over its columns, no levels and
    // no report from it; the Bayesian set beside it keeps its way on, with
    // its caution said.
    void flaggedSetLeadsToNoReport() {
        PageTestEnvironment env;
        SetUpFittedGentamicin();
        CaseRecord& r = TheCase();
        r.leastSquaresRange.flag = "not plausible";
        r.bayesRange.caution = "Bayesian fit: fitted F is 104.0 %, above 100 %.";
        AnalysisResultsPage page;
        OpenActive(page);
        TypeRegimen(&page);
        PictureAt1024(page, "results_156_least_squares_flagged.png");
        auto* table = page.findChild<QTableWidget*>("parameters");
        QCOMPARE(table->item(0, 1)->text(), QString("Not usable:\nnot plausible"));
        for (int row = 1; row < table->rowCount(); ++row) QCOMPARE(table->item(row, 1)->text(), QString());
        QCOMPARE(table->item(2, 3)->text(), QString("16.000"));  // Bayesian Vd
        for (const char* level : {"peak", "trough", "post", "average", "auc24"}) {
            QCOMPARE(FieldText(&page, (std::string(level) + "LeastSquares").c_str()), QString());
            QCOMPARE(FieldText(&page, (std::string(level) + "LeastSquaresRange").c_str()), QString());
            QVERIFY(!FieldText(&page, (std::string(level) + "Bayes").c_str()).isEmpty());
        }
        auto* lsReport = page.findChild<QPushButton*>("lsReport");
        QVERIFY(!lsReport->isEnabled());
        QVERIFY(lsReport->toolTip().startsWith("Least-squares set not usable (not plausible)"));
        QVERIFY(page.findChild<QPushButton*>("bayesReport")->isEnabled());
        const QString notes = page.findChild<QLabel*>("fitNotes")->text();
        QVERIFY(notes.startsWith("Least-squares set not usable (not plausible)"));
        QVERIFY(notes.endsWith("Bayesian fit: fitted F is 104.0 %, above 100 %."));
        Click(&page, "bayesReport");
        QCOMPARE(page.result(), code::kReport);
    }

    void singleFitHidesLeastSquaresAndPhenytoinStopsAtVmax() {
        PageTestEnvironment env;
        SetUpPhenytoin();
        AnalysisResultsPage page;
        OpenActive(page);
        QVERIFY(!page.findChild<QLineEdit*>("averageLeastSquares")->isVisibleTo(&page));
        QVERIFY(!page.findChild<QLineEdit*>("averageLeastSquaresRange")->isVisibleTo(&page));
        QVERIFY(page.findChild<QLineEdit*>("averageBayes")->isVisibleTo(&page));
        QVERIFY(!page.findChild<QLineEdit*>("infusionTime")->isVisibleTo(&page));

        // 300 mg capsules a day: Css = Km R / (Vm - R), R = F S D.
        TypeInto(&page, "dose", "300");
        TypeInto(&page, "interval", "24");
        const CaseRecord& r = TheCase();
        const double R = r.bayes.F * r.PO_Salt * 300;
        const double css = 5 * R / (600 - R);
        QCOMPARE(FieldText(&page, "averageBayes"), Two(css));
        // Linear in Km: the 95 % range is 1.96 x Css/Km x sd(Km) either side.
        QCOMPARE(FieldText(&page, "averageBayesRange"),
                 Two(css - 1.959964 * css / 5) + " - " + Two(css + 1.959964 * css / 5));
        PictureAt1024(page, "results_156_phenytoin.png");
        // With the suspension (salt 1) 100 mg every 12 h besides.
        TypeInto(&page, "dose2", "100");
        TypeInto(&page, "interval2", "12");
        const double both = R + r.bayes.F * 200, css2 = 5 * both / (600 - both);
        QCOMPARE(FieldText(&page, "averageBayes"), Two(css2));
        const double fu = FieldText(&page, "freeFraction").toDouble() / 100;
        QVERIFY(std::abs(FieldText(&page, "adjustedBayes").toDouble() - 10 * fu * css2) <= 0.01);

        // Twice Vmax a day: the message, then regimen and levels are cleared.
        TypeInto(&page, "dose", "1300");
        QCOMPARE(env.prompts.Texts(), QStringList{"Daily Dosage is greater than Vmax."});
        for (const char* name : {"dose", "interval", "averageBayes", "averagePopulation", "t90Bayes"})
            QCOMPARE(FieldText(&page, name), QString());

        // A single measured level of gentamicin also hides them.
        SetUpFittedGentamicin();
        TheCase().history.measuredCount = 1;
        page.Open();
        QVERIFY(!page.findChild<QLineEdit*>("peakLeastSquares")->isVisibleTo(&page));
        QVERIFY(page.findChild<QLineEdit*>("postTime")->isVisibleTo(&page));
    }

    void fieldChecksAndRecalculationMessages() {
        PageTestEnvironment env;
        SetUpFittedGentamicin();
        AnalysisResultsPage page;
        OpenActive(page);
        TypeRegimen(&page);
        const std::vector<std::pair<const char*, QString>> refused{
            {"dose", "Dose cannot be negative."},
            {"interval", "Interval cannot be negative."},
            {"infusionTime", "Infusion time cannot be negative."},
            {"postTime", "Time of post cannot be negative."}};
        for (const auto& [field, message] : refused) {
            env.prompts.shown.clear();
            const QString before = FieldText(&page, field);
            TypeInto(&page, field, "-1");
            QCOMPARE(env.prompts.Texts(), QStringList{message});
            QCOMPARE(env.prompts.shown.back().title, QString("Warning"));
            QCOMPARE(QApplication::focusWidget()->objectName(), QString(field));
            TypeInto(&page, field, before);
        }
        env.prompts.shown.clear();
        TypeInto(&page, "postTime", "9");
        QCOMPARE(env.prompts.Texts(), QStringList{"Time of post cannot be more than interval."});
        TypeInto(&page, "postTime", "1");
        // Up and Down move along the regimen fields of the route.
        auto* interval = page.findChild<QLineEdit*>("interval");
        interval->setFocus(Qt::TabFocusReason);
        QTest::keyClick(interval, Qt::Key_Down);
        QCOMPARE(page.focusWidget()->objectName(), QString("infusionTime"));
        QTest::keyClick(page.focusWidget(), Qt::Key_Up);
        QCOMPARE(page.focusWidget(), interval);
        // Enter never closes the page: from the last field it goes round to the first.
        page.findChild<QLineEdit*>("postTime")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(page.focusWidget(), Qt::Key_Return);
        QCOMPARE(page.focusWidget()->objectName(), QString("dose"));
        QVERIFY(page.isVisible());

        // A negative dose still in its field when the page is clicked.
        env.prompts.shown.clear();
        auto* dose = page.findChild<QLineEdit*>("dose");
        dose->setFocus(Qt::TabFocusReason);
        dose->selectAll();
        QTest::keyClicks(dose, "-5");
        QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(5, page.height() / 2));
        QCOMPARE(env.prompts.Texts(), QStringList{" dose can not be negative. "});
        QCOMPARE(env.prompts.shown.back().title, QString("Kinevo"));
        // Enter says so once and stays on the field.
        env.prompts.shown.clear();
        QTest::keyClick(dose, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(env.prompts.Texts(), QStringList{" dose can not be negative. "});
        QCOMPARE(page.focusWidget(), dose);

        // A continuous infusion has its own rate message.
        SetUpFittedGentamicin();
        ChooseRouteProduct(TheCase(), "Continuous IV - Injection");
        page.Reset();
        page.Open();
        env.prompts.shown.clear();
        TypeInto(&page, "rate", "-2");
        QCOMPARE(env.prompts.Texts(), QStringList{"Rate cannot be negative."});
        TypeInto(&page, "rate", "10");
        // Average = S F R / Cl.
        QCOMPARE(FieldText(&page, "averagePopulation"),
                 Two(TheCase().ParenteralSalt * TheCase().population.F * 10 / TheCase().population.Cl));
    }

    // The typed regimen's chance over the fitted posterior, as the engine
    // words it, under the levels; gone once a field changes to no regimen,
    // and never there for a set given by hand with no levels behind it.
    void chanceOfTheRegimenOverTheFittedPosterior() {
        PageTestEnvironment env;
        FitGentamicinHistory();
        AnalysisResultsPage page;
        OpenActive(page);
        TypeRegimen(&page);
        const CaseRecord& r = TheCase();
        const auto posterior = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
        QVERIFY(posterior);
        const std::string expected = ResultsChance(r, *posterior, {120, 8, 0.5, 1, {}, {}, {}});
        auto* chance = page.findChild<QLabel*>("chance");
        QCOMPARE(chance->text().toStdString(), expected);
        QVERIFY(QRegularExpression("^[<>]? ?[0-9]+ % chance trough <= 2$").match(chance->text()).hasMatch());
        QVERIFY(chance->isVisible());
        TypeInto(&page, "dose", "");
        QVERIFY(!chance->isVisible());

        SetUpFittedGentamicin();
        AnalysisResultsPage byHand;
        OpenActive(byHand);
        TypeRegimen(&byHand);
        QVERIFY(!FieldText(&byHand, "troughBayes").isEmpty());
        QVERIFY(!byHand.findChild<QLabel*>("chance")->isVisible());
    }

    void bayesReportHandsTheRegimenOverAndARevisitShowsItAgain() {
        PageTestEnvironment env;
        FitGentamicinHistory();
        AnalysisResultsPage page;
        OpenActive(page);
        TypeRegimen(&page);
        PictureAt1024(page, "results_156_gentamicin_fitted.png");
        // Each fitted level lies inside its spread.
        for (const char* level : {"peak", "trough", "post", "average"})
            for (const QString set : {"LeastSquares", "Bayes"}) {
                const double value = FieldText(&page, (level + set).toLatin1()).toDouble();
                const QStringList ends = FieldText(&page, (level + set + "Range").toLatin1()).split(" - ");
                QCOMPARE(ends.size(), 2);
                QVERIFY(ends[0].toDouble() <= value && value <= ends[1].toDouble());
            }
        const QString peak = FieldText(&page, "peakBayes"), average = FieldText(&page, "averageBayes");
        const QString auc24 = FieldText(&page, "auc24Bayes");
        Click(&page, "bayesReport");
        QCOMPARE(page.result(), code::kReport);
        QCOMPARE(Nav().reportSource, ReportSource::BayesianResults);
        const CaseRecord& r = TheCase();
        QCOMPARE(r.Cur_fit_method, int(kBayesian));
        const ReportRegimen& g = r.reportRegimen;
        QCOMPARE(g.fitType, kReportBayesian);
        QCOMPARE(g.routeCode, 'D');
        QCOMPARE(g.dose, std::string("120"));
        QCOMPARE(g.interval, std::string("8"));
        QCOMPARE(g.infusionTime, std::string("0.5"));
        QCOMPARE(g.postTime, std::string("1"));
        QCOMPARE(QString::fromStdString(g.peak), peak);
        QCOMPARE(QString::fromStdString(g.average), average);
        QCOMPARE(QString::fromStdString(g.auc24), auc24);
        QVERIFY(!auc24.isEmpty());
        QCOMPARE(g.product, r.FormName);
        QVERIFY(!g.trough.empty() && !g.post.empty());

        // Back from the report: the page is shown as it was left.
        const QString lsTrough = FieldText(&page, "troughLeastSquares");
        page.Reset();
        QCOMPARE(FieldText(&page, "peakBayes"), QString());
        Nav().revisitResults = true;
        OpenActive(page);
        QCOMPARE(FieldText(&page, "dose"), QString("120"));
        QCOMPARE(FieldText(&page, "peakBayes"), peak);
        QCOMPARE(FieldText(&page, "troughLeastSquares"), lsTrough);
        QVERIFY(!Nav().revisitResults);
        Click(&page, "done");
        QCOMPARE(page.result(), code::kEnd);
        QCOMPARE(Nav().endPageSource, EndSource::AnalysisResults);
        QCOMPARE(TheCase().regimen.Dose, std::string("120"));
        QCOMPARE(Nav().shownParameters.Vd, QString::number(TheCase().bayes.Vd, 'f', 3).toStdString());
    }

    // CF is stored in percent whichever page saved it, and the import reads
    // it back as the same fraction; a row a report once stored as a
    // fraction is read as that fraction.
    void complianceRoundTripsThroughBothSavesAndTheImport() {
        PageTestEnvironment env;
        ConfiguredDatabasePath() = env.MakeDatabase("cf.mdb");
        const auto importedCf = [] {
            CaseRecord& r = TheCase();
            r.Cur_fit_method = kPopulation;
            r.population.CF = 0.5;
            IvForecastPage forecast;
            OpenActive(forecast);
            Click(&forecast, "importSaved");
            return std::make_pair(r.population.CF, FieldText(&forecast, "cf"));
        };
        for (const EndSource source : {EndSource::PopulationReportPrinted, EndSource::AnalysisResults}) {
            SetUpFittedGentamicin();
            CaseRecord& r = TheCase();
            r.bayes.CF = 1.15;
            SaveRequest request;
            request.endPageSource = source;
            request.reportSet = r.bayes;  // the set a Bayes report prints
            AnalysisResultsPage results;
            OpenActive(results);
            Click(&results, "done");
            request.page = Nav().shownParameters;
            SaveCase(r, request);
            const auto [cf, shown] = importedCf();
            QVERIFY2(std::abs(cf - 1.15) < 1e-9, qPrintable(QString::number(static_cast<int>(source))));
            QCOMPARE(shown, QString("115"));
        }
        {
            Database db(ConfiguredDatabasePath());
            Statement(db, "UPDATE \"PatientCase-parameter\" SET \"CF\" = '0.90'").Step();
        }
        QCOMPARE(importedCf().first, 0.9);
    }

    void realBoxForARefusedDose() {
        PageTestEnvironment env;
        SetUpFittedGentamicin();
        AnalysisResultsPage page;
        BoxAnswerer boxes;
        OpenActive(page);
        TypeInto(&page, "dose", "-1");
        QTRY_COMPARE(boxes.seen, QStringList{"Warning: Dose cannot be negative."});
        QVERIFY(page.isVisible());
        QCOMPARE(FieldText(&page, "dose"), QString("-1"));
    }
};

QTEST_MAIN(AnalysisResultsPageTest)
#include "analysis_results_page_test.moc"
