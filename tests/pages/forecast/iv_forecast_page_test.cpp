// The IV level forecast page typed into as a user would: the levels and MIC
// indices against a hand calculation of the one-compartment infusion, the
// field checks, the parameters written back, and the texts kept.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cmath>

#include "app/kit/navigation.h"
#include "pages/forecast/iv_forecast_page.h"
#include "pages/widgets/field_number.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "records/db/record_sets.h"
#include "tests/pages/field_typing.h"
#include "tests/pages/page_test_support.h"

namespace {
void TypeRegimen(QWidget* page, const char* dose, const char* interval, const char* infusion, const char* post,
                 const char* mic) {
    TypeInto(page, "dose", dose);
    TypeInto(page, "interval", interval);
    TypeInto(page, "infusionTime", infusion);
    TypeInto(page, "postTime", post);
    TypeInto(page, "mic", mic);
}

// The page opened on the current case with a regimen typed in.
void OpenWithRegimen(IvForecastPage& page, const char* dose, const char* interval, const char* infusion,
                     const char* post, const char* mic) {
    OpenActive(page);
    TypeRegimen(&page, dose, interval, infusion, post, mic);
}

QString Label(QWidget* page, const char* name) { return page->findChild<QLabel*>(name)->text(); }
}  // namespace

class IvForecastPageTest : public QObject {
    Q_OBJECT
private slots:
    void gentamicinLevelsAndMicIndices() {
        PageTestEnvironment env;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvForecastPage page;
        OpenWithRegimen(page, "120", "8", "0.5", "1", "1");
        QCOMPARE(FieldText(&page, "peak"), QString("6.5"));
        QCOMPARE(FieldText(&page, "trough"), QString("1.0"));
        QCOMPARE(FieldText(&page, "post"), QString("5.1"));
        QCOMPARE(FieldText(&page, "auic"), QString("73"));
        PictureAt1024(page, "forecast_145_gentamicin.png");

        // The same by hand: an infusion of 240 mg/h for 0.5 h every 8 h.
        const ParameterSet& p = TheCase().population;
        const double k = p.Cl / p.Vd, S = TheCase().ParenteralSalt;
        const double peak = S * 240 * (1 - std::exp(-k * 0.5)) / (p.Cl * (1 - std::exp(-k * 8)));
        const double trough = peak * std::exp(-k * 7.5), post = peak * std::exp(-k);
        QCOMPARE(FieldText(&page, "peak"), QString::number(peak, 'f', 1));
        QCOMPARE(FieldText(&page, "trough"), QString::number(trough, 'f', 1));
        QCOMPARE(FieldText(&page, "post"), QString::number(post, 'f', 1));
        QCOMPARE(FieldText(&page, "postMic"), QString::number(post, 'f', 1));
        const double auic = 24 * S * p.F * p.CF * 120 / (8 * p.Cl * 1);
        QCOMPARE(FieldText(&page, "auic"), QString::number(std::floor(auic + 0.5)));
        // The area under those levels, S D / Cl per interval: CF does not enter them.
        QCOMPARE(FieldText(&page, "auc24"), QString::number(24 * S * 120 / (8 * p.Cl), 'f', 0));
        QVERIFY(trough >= 1);  // an MIC of 1 is reached all day
        QCOMPARE(FieldText(&page, "timeAboveMic"), QString("24.0"));
        // Over an MIC of 2 from the point the rising level meets it to the fall.
        TypeInto(&page, "mic", "2");
        const double rise = (2 - trough) / (peak - trough) * 0.5;
        const double above = std::log(peak / 2) / k + 0.5 - rise;
        QCOMPARE(FieldText(&page, "timeAboveMic"), QString::number(above * 24 / 8, 'f', 1));
        QCOMPARE(Label(&page, "timeAboveMicUnit"), QString("hr/ 24 hr"));
        QCOMPARE(Label(&page, "vdPerKg"), QString::number(p.Vd / 70, 'f', 2).prepend("(").append(" L/kg)"));

        // An MIC at the trough keeps the level above it all day; one above the peak never.
        TypeInto(&page, "mic", QString::number(trough, 'f', 4));
        QCOMPARE(FieldText(&page, "timeAboveMic"), QString("24.0"));
        TypeInto(&page, "mic", "7");
        QCOMPARE(FieldText(&page, "timeAboveMic"), QString("0.0"));
        QVERIFY(env.prompts.shown.empty());
    }

    void fieldChecksKeepTheTextAndRefuseOneAtATime() {
        PageTestEnvironment env;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvForecastPage page;
        OpenWithRegimen(page, "120", "8", "0.5", "8", "1");
        QVERIFY(env.prompts.shown.empty());  // a post at the end of the interval is accepted
        QVERIFY(!FieldText(&page, "post").isEmpty());
        TypeInto(&page, "postTime", "9");
        QCOMPARE(env.prompts.Texts(), QStringList{"Time of post cannot be more than interval."});
        QCOMPARE(env.prompts.shown.back().title, QString("Warning"));
        QCOMPARE(FieldText(&page, "postTime"), QString("9"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("postTime"));
        TypeInto(&page, "postTime", "1");

        const std::vector<std::pair<const char*, QString>> refused{
            {"dose", "Dose cannot be negative."},
            {"interval", "Interval cannot be negative."},
            {"infusionTime", "Infusion time cannot be negative."},
            {"mic", "MIC cannot be negative."},
            {"vd", "Please input a correct Value of VD."},
            {"cl", "Please input a correct Value of CL."},
            {"cf", "Please input a correct Value of CF."}};
        for (const auto& [field, message] : refused) {
            env.prompts.shown.clear();
            const QString before = FieldText(&page, field);
            TypeInto(&page, field, "-1");
            QCOMPARE(env.prompts.Texts(), QStringList{message});
            QCOMPARE(FieldText(&page, field), QString("-1"));
            TypeInto(&page, field, before);
        }
        env.prompts.shown.clear();
        TypeInto(&page, "cf", "101");
        QCOMPARE(env.prompts.Texts(), QStringList{"Please input a correct Value of CF."});
    }

    void keyboardOnly() {
        PageTestEnvironment env;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvForecastPage page;
        OpenActive(page);
        auto* dose = page.findChild<QLineEdit*>("dose");
        dose->setFocus(Qt::TabFocusReason);
        // Enter applies what was typed and moves on, as Tab does.
        for (const char* typed : {"120", "8", "1", "0.5", "1"}) {
            QTest::keyClicks(page.focusWidget(), typed);
            QTest::keyClick(page.focusWidget(), Qt::Key_Return);
            QCoreApplication::processEvents();
        }
        QVERIFY(page.isVisible());
        QCOMPARE(FieldText(&page, "peak"), QString("6.5"));
        QCOMPARE(FieldText(&page, "mic"), QString("1"));
        // Up and Down move between the fields in their order on the page.
        dose->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dose, Qt::Key_Down);
        QCOMPARE(page.focusWidget()->objectName(), QString("interval"));
        QTest::keyClick(page.focusWidget(), Qt::Key_Up);
        QCOMPARE(page.focusWidget(), dose);
        // The regimen's last field is followed by the parameters.
        page.findChild<QLineEdit*>("mic")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(page.focusWidget(), Qt::Key_Down);
        QCOMPARE(page.focusWidget()->objectName(), QString("vd"));
    }

    void realMessageBoxAnsweredByATimer() {
        PageTestEnvironment env;
        BoxAnswerer boxes;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvForecastPage page;
        OpenActive(page);
        TypeInto(&page, "interval", "8");
        TypeInto(&page, "postTime", "12");
        QTRY_COMPARE(boxes.seen, QStringList{"Warning: Time of post cannot be more than interval."});
        auto* postTime = page.findChild<QLineEdit*>("postTime");
        QTRY_COMPARE(page.focusWidget(), postTime);
        QCOMPARE(FieldText(&page, "postTime"), QString("12"));
        QVERIFY(page.isVisible());
    }

    void parametersAreWrittenBackAndDriveTheLevels() {
        PageTestEnvironment env;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        TheCase().Wt = 0;
        IvForecastPage page;
        OpenActive(page);
        QCOMPARE(Label(&page, "vdPerKg"), QString("(0.00 L/kg)"));
        TypeRegimen(&page, "100", "12", "1", "0", "");
        TypeInto(&page, "vd", "20");
        TypeInto(&page, "cl", "5");
        QCOMPARE(TheCase().population.Vd, 20.0);
        QCOMPARE(TheCase().population.Cl, 5.0);
        QCOMPARE(FieldText(&page, "kd"), QString("0.250"));
        QCOMPARE(FieldText(&page, "halfLife"), QString("2.772"));
        // 100 mg over 1 h every 12 h with k = 0.25 /h, Cl 5 L/h.
        const double peak = 100 * (1 - std::exp(-0.25)) / (5 * (1 - std::exp(-3.0)));
        QCOMPARE(FieldText(&page, "peak"), QString::number(peak, 'f', 1));
        QCOMPARE(FieldText(&page, "average"), QString::number(100.0 / 12 / 5, 'f', 1));
        TypeInto(&page, "vd", "");
        QVERIFY(FieldText(&page, "kd").isEmpty());
        QVERIFY(FieldText(&page, "halfLife").isEmpty());
        QVERIFY(FieldText(&page, "peak").isEmpty());
    }

    // Texts that are not wholly a number are no number at all, never their
    // leading digits; well-formed numbers read as before.
    void malformedNumbersAreRefusedNotReadAsTheirDigits() {
        const std::vector<std::pair<QString, std::optional<double>>> texts = {{"1,000", std::nullopt},
                                                                              {"1,5", std::nullopt},
                                                                              {"abc", std::nullopt},
                                                                              {"12abc", std::nullopt},
                                                                              {"1 000", std::nullopt},
                                                                              {"0x10", std::nullopt},
                                                                              {"inf", std::nullopt},
                                                                              {"nan", std::nullopt},
                                                                              {"1..5", std::nullopt},
                                                                              {"-", std::nullopt},
                                                                              {"1000", 1000.0},
                                                                              {" 2.5 ", 2.5},
                                                                              {".5", 0.5},
                                                                              {"-5", -5.0},
                                                                              {"+7", 7.0},
                                                                              {"1e3", 1000.0}};
        for (const auto& [text, number] : texts) {
            QCOMPARE(FieldNumber(text), number);
            QCOMPARE(NotANumberProblem(text).has_value(), !number.has_value());
        }
        QVERIFY(!FieldNumber("") && !NotANumberProblem("  "));

        // On the page: the message, the focus back, and no results of other inputs beside it.
        PageTestEnvironment env;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvForecastPage page;
        OpenWithRegimen(page, "100", "8", "0.5", "1", "");
        QVERIFY(!FieldText(&page, "peak").isEmpty());
        TypeInto(&page, "dose", "1,000");
        QCOMPARE(env.prompts.shown.back().title, QString("Warning"));
        QCOMPARE(env.prompts.shown.back().text, *NotANumberProblem("1,000"));
        QCOMPARE(QApplication::focusWidget(), page.findChild<QLineEdit*>("dose"));
        QCOMPARE(FieldText(&page, "dose"), QString("1,000"));
        for (const char* result : {"peak", "trough", "post", "average", "auc24"})
            QVERIFY2(FieldText(&page, result).isEmpty(), result);
        PictureAt1024(page, "forecast_145_refused_text.png");
        // Done refuses it once more and the page stays.
        const std::size_t shown = env.prompts.shown.size();
        page.setResult(-1);
        Click(&page, "done");
        QCOMPARE(page.result(), -1);
        QCOMPARE(env.prompts.shown.size(), shown + 1);
        // Mended, the page forecasts 1000 mg again; a refused negative dose empties it too.
        TypeInto(&page, "dose", "1000");
        QVERIFY(!FieldText(&page, "peak").isEmpty());
        TypeInto(&page, "dose", "-5");
        QCOMPARE(env.prompts.shown.back().text, QString("Dose cannot be negative."));
        QVERIFY(FieldText(&page, "peak").isEmpty());
    }

    void storedParametersAreShownAndImported() {
        PageTestEnvironment env;
        ConfiguredDatabasePath() = env.MakeDatabase("params.mdb");
        {
            Database db(ConfiguredDatabasePath());
            Cpcasepset stored;
            stored.Open(db);
            stored.AddNew();
            stored.Patient_Rec_Num = 7;
            stored.Case_number = 2;
            stored.Cur_fit_method = kLeastSquares;
            stored.Vd = "25.000";
            stored.Cl = "6.000";
            stored.CF = "90";
            stored.Update();
        }
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        TheCase().PATIENT_REC_Num = 7;
        TheCase().Case_number = 2;
        TheCase().DateText = "03/01/2012";
        IvForecastPage page;
        OpenActive(page);
        auto* group = page.findChild<QGroupBox*>("savedParameters");
        QVERIFY(group->isVisible());
        QCOMPARE(group->title(), QString("LS Parameters Saved On 03/01/2012"));
        QCOMPARE(FieldText(&page, "savedKd"), QString("0.240"));
        QCOMPARE(FieldText(&page, "savedHalfLife"), QString::number(0.693 / 0.24, 'f', 3));
        QCOMPARE(Label(&page, "savedVdPerKg"), QString("(0.357 L/kg)"));
        TypeRegimen(&page, "100", "12", "1", "0", "");
        Click(&page, "importSaved");
        QCOMPARE(TheCase().population.Vd, 25.0);
        QCOMPARE(TheCase().population.Cl, 6.0);
        QCOMPARE(TheCase().population.CF, 0.9);
        QCOMPARE(FieldText(&page, "vd"), QString("25.000"));
        const double peak = 100 * (1 - std::exp(-0.24)) / (6 * (1 - std::exp(-0.24 * 12)));
        QCOMPARE(FieldText(&page, "peak"), QString::number(peak, 'f', 1));
        PictureAt1024(page, "forecast_145_saved_parameters.png");

        // A case not stored has nothing to show.
        TheCase().Case_number = 0;
        page.Open();
        QVERIFY(!group->isVisible());
    }

    void continuousRouteAndTheMicListOfTheophylline() {
        PageTestEnvironment env;
        SetUpFortyYearOld("th", "Intermittent IV - Injection(Aminophylline)");
        IvForecastPage page;
        OpenWithRegimen(page, "300", "12", "0.5", "1", "1");
        QVERIFY(!FieldText(&page, "peak").isEmpty());
        for (const char* index : {"postMic", "timeAboveMic", "auic"}) QVERIFY(FieldText(&page, index).isEmpty());

        ChooseProduct(&page, "Continuous IV - Injection");
        QVERIFY(page.isVisible());
        QCOMPARE(TheCase().RouteCode, 'C');
        TypeInto(&page, "rate", "40");
        const ParameterSet& p = TheCase().population;
        QCOMPARE(FieldText(&page, "averageLevel"), QString::number(TheCase().ParenteralSalt * p.F * 40 / p.Cl, 'f', 1));
        QVERIFY(FieldText(&page, "peak").isEmpty());
    }

    void vancomycinShowsBetaLabelsAndNoAverage() {
        PageTestEnvironment env;
        SetUpFortyYearOld("vm", "Intermittent IV - Injection");
        IvForecastPage page;
        OpenActive(page);
        QStringList labels;
        for (const QLabel* label : page.findChildren<QLabel*>())
            if (label->isVisibleTo(&page)) labels << label->text();
        QVERIFY(labels.contains(QString::fromUtf8("Vd\u03b2:")));
        QVERIFY(labels.contains(QString::fromUtf8("\u03b2:")));
        QVERIFY(!labels.contains("kd:"));
        TypeRegimen(&page, "1000", "12", "1", "1", "1");
        QVERIFY(!FieldText(&page, "peak").isEmpty());
        QVERIFY(FieldText(&page, "average").isEmpty());
        const CaseRecord& r = TheCase();
        const double auic =
            24 * r.ParenteralSalt * r.population.F * r.population.CF * 1000 / (12 * r.population.Cl * 1);
        QCOMPARE(FieldText(&page, "auic"), QString::number(std::floor(auic + 0.5)));
    }

    void textsComeBackAndOtherProductsLeave() {
        PageTestEnvironment env;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvForecastPage page;
        OpenWithRegimen(page, "120", "8", "0.5", "1", "1");
        const QString peak = FieldText(&page, "peak");
        Click(&page, "report");
        QCOMPARE(page.result(), 9);
        QCOMPARE(TheCase().regimen.Dose, std::string("120"));
        QCOMPARE(TheCase().regimen.Route, std::string("D"));
        const ReportRegimen& handed = TheCase().reportRegimen;
        QCOMPARE(handed.fitType, kReportPopulation);
        QCOMPARE(handed.dose + " " + handed.doseUnit + " q" + handed.interval, std::string("120 mg q8"));
        QCOMPARE(QString::fromStdString(handed.peak), peak);
        QCOMPARE(QString::fromStdString(handed.auc24), FieldText(&page, "auc24"));
        {
            IvForecastPage again;  // shows what was kept, re-formatted
            Nav().revisitIvForecast = true;
            again.Open();
            QCOMPARE(FieldText(&again, "peak"), peak);
            QCOMPARE(FieldText(&again, "dose"), QString("120.0"));
            QCOMPARE(FieldText(&again, "mic"), QString("1.0"));
            QCOMPARE(Label(&again, "timeAboveMicUnit"), QString("hr/ 24 hr"));
            QVERIFY(!Nav().revisitIvForecast);
            again.Reset();
            QVERIFY(FieldText(&again, "peak").isEmpty());
        }

        ChooseProduct(&page, "IM - Injection");
        QCOMPARE(page.result(), 82);
        QCOMPARE(TheCase().RouteCode, 'I');
    }
};

QTEST_MAIN(IvForecastPageTest)
#include "iv_forecast_page_test.moc"
