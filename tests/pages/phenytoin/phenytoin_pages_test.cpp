// The phenytoin regimen page (143) and level forecast page (149), typed into
// as a user would: doses and levels against hand calculations, the Vmax and
// interval refusals, the fosphenytoin labels, and a dose designed on one
// page giving its target back on the other.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "engine/forecast_model.h"
#include "engine/phenytoin_case.h"
#include "engine/population_models.h"
#include "engine/regimen_chance.h"
#include "pages/widgets/field_number.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "tests/engine/history_fixtures.h"
#include "tests/pages/page_test_support.h"

namespace {
// Adult free fraction 1/(2.0455 Alb + 1) when the clearance is above 25 mL/min.
double AlbuminFor(double freeFraction) { return (1 / freeFraction - 1) / 2.0455; }

void SetUpPhenytoinAdult(double albumin) {
    CaseRecord& r = TheCase();
    SetUpAdult(r, "ph");
    r.Albumin = albumin;
    SelectDrugModel(r);
}

QLineEdit* Field(QWidget* page, const char* name) {
    auto* field = page->findChild<QLineEdit*>(name);
    if (!field) qFatal("no field %s", name);
    return field;
}
QString Text(QWidget* page, const char* name) { return Field(page, name)->text(); }

void Activate(KinevoPage& page) {
    page.Open();
    page.show();
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));
}

// Types into a field and tabs out of it, as the recalculation expects.
void Type(QWidget* page, const char* name, const QString& text) {
    QLineEdit* field = Field(page, name);
    field->setFocus();
    field->selectAll();
    if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Delete);
    else QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
    QApplication::processEvents();
}

void Choose(QWidget* page, const char* list, const QString& product) {
    auto* box = page->findChild<QComboBox*>(list);
    const int index = box->findText(product);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    emit box->activated(index);
    QApplication::processEvents();
}

// Vd 50 L, Km 4 mg/L, Vmax 500 mg/day typed into the Population set.
void TypeParameters(QWidget* page, const QString& vmax = "500") {
    Type(page, "vd", "50");
    Type(page, "km", "4");
    Type(page, "vmax", vmax);
}

QString Fixed(const char* format, double v) { return QString::asprintf(format, v); }
}  // namespace

class PhenytoinPagesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;

    // The forecast page with suspension (S 1) as the first product and
    // Vd 50, Km 4, Vmax 500.
    PhenytoinForecastPage& SuspensionForecast() {
        SetUpPhenytoinAdult(4.4);
        auto& page = pages->phenytoinForecast();
        Activate(page);
        Choose(&page, "routeProduct1", "Oral - Suspension");
        TypeParameters(&page);
        return page;
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void regimenPageDosesForTheDesiredAverage() {
        // 40-year-old man, 70 kg, 170 cm, SCr 1, albumin 4.4, capsules: a
        // desired average of 15 mg/L needs 367.83 mg/24 hr.
        CaseRecord& r = TheCase();
        SetUpAdult(r, "ph");
        SetBirthday(r, CivilDate{1972, 3, 15}, TestMoment());
        r.Ht = 170;
        r.Albumin = 4.4;
        SelectDrugModel(r);
        auto& page = pages->phenytoinRegimen();
        Activate(page);
        QCOMPARE(page.findChild<QComboBox*>("routeProduct")->currentText(), QString("Oral - Capsules"));
        Type(&page, "desiredAverage", "15");
        QCOMPARE(Text(&page, "dose"), QString("368"));
        QCOMPARE(Text(&page, "interval"), QString("24.000000"));
        QVERIFY(Text(&page, "loadingDose").isEmpty());

        // Vd 50, Km 4, Vmax 500, S 0.92, F 1: R = 500*15/(19*0.92), loading
        // (15-5)*50/0.92; a current level above the target loads nothing.
        TypeParameters(&page);
        QCOMPARE(page.findChild<QLabel*>("vdPerKg")->text(), QString("(0.71 L/kg)"));
        QCOMPARE(page.findChild<QLabel*>("vmaxPerKg")->text(), QString("(7.14 mg/day/kg)"));
        QCOMPARE(Text(&page, "dose"), Fixed("%.0f", 7500 / (19 * 0.92)));
        Type(&page, "currentConc", "5");
        QCOMPARE(Text(&page, "loadingDose"), Fixed("%.0f", 500 / 0.92));
        Type(&page, "currentConc", "20");
        QCOMPARE(Text(&page, "loadingDose"), QString("0"));
        QCOMPARE(r.population.Km, 4.0);
        QCOMPARE(r.population.Cl, 4.0);

        // A missing target empties the results and says why.
        Type(&page, "desiredAverage", "");
        QVERIFY(Text(&page, "dose").isEmpty());
        QVERIFY(Text(&page, "loadingDose").isEmpty());
        QVERIFY(!page.findChild<QLabel*>("warning")->text().isEmpty());

        // A fitted set is shown, not typed: Vd 40, Km 5, Vmax 400 give
        // 400*15/(20*0.92) mg/24 hr.
        r.leastSquares = ParameterSet{1.0, 40, 5, 1.0, 5, 400};
        r.Cur_fit_method = kLeastSquares;
        Activate(page);
        QCOMPARE(page.findChild<QGroupBox*>()->title(), QString("Current Parameters: LS"));
        QCOMPARE(Text(&page, "vd"), QString("40.00"));
        for (const char* name : {"vd", "km", "vmax"}) QVERIFY(Field(&page, name)->isReadOnly());
        Type(&page, "desiredAverage", "15");
        QCOMPARE(Text(&page, "dose"), Fixed("%.0f", 6000 / (20 * 0.92)));
    }

    // With a Bayesian fit, the designed daily dose's chance of an average in
    // the adjusted range, as the engine words it; gone with the design.
    void chanceOfTheDesignedAverageOverTheFittedPosterior() {
        FitAdultWithHistory("ph", {DoseRowOn(1, 8, 0, 300, "C", 0, 24, 10)},
                            {LevelRowOn(5, 7, 0, 8), LevelRowOn(10, 7, 0, 12)});
        const CaseRecord& r = TheCase();
        auto& page = pages->phenytoinRegimen();
        Activate(page);
        Type(&page, "desiredAverage", "15");
        const PhenytoinDesign design =
            DesignPhenytoin(PhenytoinParametersOf(r), ProductSalt(r), ProductBioavailability(r), 15, std::nullopt);
        const auto posterior = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
        QVERIFY(design.dailyDose && posterior);
        auto* chance = page.findChild<QLabel*>("chance");
        QCOMPARE(chance->text().toStdString(),
                 PhenytoinChance(*posterior, {design.dailyDose, 24, ProductSalt(r)}, r.FreeFraction));
        QVERIFY(
            chance->text().contains("% chance average " + Text(&page, "rangeLow") + "-" + Text(&page, "rangeHigh")));
        Type(&page, "desiredAverage", "");
        QVERIFY(!chance->isVisible());
    }

    void rangesAndLevelsFollowTheFreeFraction() {
        // fu 0.1: 10-20 mg/L and the adjusted level equals the observed one;
        // fu 0.2: 5-10 mg/L and twice the observed level. 300 mg capsules
        // daily: R = 0.92*300 = 276, Css = 4*276/(500-276),
        // t90 = (2.3*500 - 0.9*276)*4*50/(500-276)^2 days.
        const double css = 4 * 276.0 / 224, t90 = (1150 - 248.4) * 200 / (224.0 * 224);
        for (const double fu : {0.1, 0.2}) {
            SetUpPhenytoinAdult(AlbuminFor(fu));
            auto& regimen = pages->phenytoinRegimen();
            Activate(regimen);
            QCOMPARE(Text(&regimen, "rangeLow"), Fixed("%.1f", 1 / fu));
            QCOMPARE(Text(&regimen, "rangeHigh"), Fixed("%.1f", 2 / fu));
            QCOMPARE(Text(&regimen, "freeFraction"), Fixed("%.1f", 100 * fu));
            regimen.hide();

            auto& forecast = pages->phenytoinForecast();
            Activate(forecast);
            TypeParameters(&forecast);
            Type(&forecast, "dose1", "300");
            Type(&forecast, "interval1", "24");
            QCOMPARE(Text(&forecast, "rangeLow"), Fixed("%.1f", 1 / fu));
            QCOMPARE(Text(&forecast, "rangeHigh"), Fixed("%.1f", 2 / fu));
            QCOMPARE(Text(&forecast, "observedAverage"), Fixed("%.1f", css));
            QCOMPARE(Text(&forecast, "adjustedAverage"), Fixed("%.1f", 10 * fu * css));
            QCOMPARE(Text(&forecast, "steadyStateTime"), Fixed("%.1f", t90));
            QCOMPARE(Text(&forecast, "freeFraction"), Fixed("%.1f", 100 * fu));
            forecast.hide();
            forecast.Reset();
        }
    }

    void twoRegimensAddTheirDailyAmounts() {
        SetUpPhenytoinAdult(AlbuminFor(0.1));
        auto& page = pages->phenytoinForecast();
        Activate(page);
        TypeParameters(&page);
        QCOMPARE(page.findChild<QComboBox*>("routeProduct2")->currentText(), QString("Oral - Capsules"));
        Choose(&page, "routeProduct2", "Oral - Suspension");
        QCOMPARE(Text(&page, "salt2"), QString("1.00"));
        TypeParameters(&page);  // the product re-derived the Population set
        // Capsules 300 mg q24h (S 0.92) plus suspension 100 mg q12h (S 1):
        // R = 276 + 200 = 476 mg/day.
        Type(&page, "dose1", "300");
        Type(&page, "interval1", "24");
        Type(&page, "dose2", "100");
        Type(&page, "interval2", "12");
        QCOMPARE(Text(&page, "observedAverage"), Fixed("%.1f", 4 * 476.0 / 24));
        QCOMPARE(Text(&page, "steadyStateTime"), Fixed("%.1f", (1150 - 0.9 * 476) * 200 / (24.0 * 24)));
        if (!qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) SavePagePicture(page, "phenytoin_forecast.png");

        // Only the second regimen given stands alone: 100 mg q12h, R = 200.
        Choose(&page, "routeProduct1", "Oral - Capsules");
        QVERIFY(Text(&page, "dose1").isEmpty());
        QCOMPARE(Text(&page, "dose2"), QString("100"));
        TypeParameters(&page);
        QCOMPARE(Text(&page, "observedAverage"), Fixed("%.1f", 4 * 200.0 / 300));

        // A second capsule product takes 0.92.
        Choose(&page, "routeProduct2", "Oral - Capsules");
        QCOMPARE(Text(&page, "salt2"), QString("0.92"));
        QVERIFY(Text(&page, "dose2").isEmpty());
    }

    void rateAtVmaxAndNegativeIntervalsAreRefused() {
        auto& page = SuspensionForecast();
        Type(&page, "dose1", "400");
        Type(&page, "interval1", "24");
        QVERIFY(!Text(&page, "observedAverage").isEmpty());
        // 500 mg of suspension daily is exactly Vmax: refused (>=).
        env->prompts.shown.clear();
        Type(&page, "dose1", "500");
        QCOMPARE(env->prompts.Texts(), QStringList{"Daily Dosage is greater than Vmax."});
        for (const char* result : {"observedAverage", "adjustedAverage", "steadyStateTime"})
            QVERIFY(Text(&page, result).isEmpty());
        QCOMPARE(QApplication::focusWidget(), Field(&page, "dose1"));
        // Reached by the interval, the focus goes back to the interval.
        Type(&page, "dose1", "400");
        Type(&page, "interval1", "19.2");
        QCOMPARE(QApplication::focusWidget(), Field(&page, "interval1"));
        QVERIFY(Text(&page, "observedAverage").isEmpty());

        // A refused interval leaves no levels of the one before it beside it.
        Type(&page, "interval1", "24");
        QVERIFY(!Text(&page, "observedAverage").isEmpty());
        env->prompts.shown.clear();
        Type(&page, "interval1", "-12");
        QCOMPARE(env->prompts.Texts(), QStringList{" Interval can not be negative. "});
        QCOMPARE(env->prompts.shown.front().title, QString("Warning"));
        QCOMPARE(QApplication::focusWidget(), Field(&page, "interval1"));
        for (const char* result : {"observedAverage", "adjustedAverage", "steadyStateTime"})
            QVERIFY(Text(&page, result).isEmpty());
        // Nor does a text that is not wholly a number, and Done refuses it again.
        Type(&page, "interval1", "24");
        env->prompts.shown.clear();
        Type(&page, "interval1", "2,4");
        QCOMPARE(env->prompts.Texts(), QStringList{*NotANumberProblem("2,4")});
        QVERIFY(Text(&page, "observedAverage").isEmpty());
        page.setResult(-1);
        Click(&page, "done");
        QCOMPARE(page.result(), -1);
        QCOMPARE(env->prompts.shown.size(), std::size_t(2));
    }

    void upDownMoveAndAClickApplies() {
        SetUpPhenytoinAdult(4.4);
        auto& page = pages->phenytoinRegimen();
        Activate(page);
        Field(&page, "currentConc")->setFocus();
        QTest::keyClick(Field(&page, "currentConc"), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "timeDrawn"));
        QTest::keyClick(Field(&page, "timeDrawn"), Qt::Key_Up);
        QTest::keyClick(Field(&page, "currentConc"), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), Field(&page, "desiredAverage"));
        // Typed but not left: a click on the page computes the dose.
        QTest::keyClicks(Field(&page, "desiredAverage"), "15");
        QApplication::processEvents();
        QVERIFY(Text(&page, "dose").isEmpty());
        QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(5, page.height() - 5));
        QVERIFY(!Text(&page, "dose").isEmpty());
    }

    void fosphenytoinShowsPhenytoinEquivalents() {
        SetUpPhenytoinAdult(4.4);
        auto& page = pages->phenytoinRegimen();
        Activate(page);
        Type(&page, "desiredAverage", "15");
        Type(&page, "currentConc", "5");
        Type(&page, "timeDrawn", "3");
        Choose(&page, "routeProduct", "Intermittent IV - Injection (Fosphenytoin)");
        for (const char* input : {"desiredAverage", "currentConc", "timeDrawn"}) QVERIFY(Text(&page, input).isEmpty());
        // S 0.92 and F 1 as for capsules: the same numbers, in mg (PE).
        TypeParameters(&page);
        Type(&page, "desiredAverage", "15");
        Type(&page, "currentConc", "5");
        QCOMPARE(Text(&page, "dose"), Fixed("%.0f", 7500 / (19 * 0.92)));
        QCOMPARE(Text(&page, "loadingDose"), Fixed("%.0f", 500 / 0.92));
        QCOMPARE(Text(&page, "bioavailability"), QString("100 %"));
        QStringList units;
        for (QLabel* label : page.findChildren<QLabel*>()) units << label->text();
        QVERIFY(units.contains("mg (PE)/24 hr"));
        QVERIFY(units.contains("mg (PE)"));
    }

    void designedDoseForecastsItsTargetBack() {
        SetUpPhenytoinAdult(4.4);
        auto& regimen = pages->phenytoinRegimen();
        Activate(regimen);
        TypeParameters(&regimen);
        Type(&regimen, "desiredAverage", "15");
        // 429 mg for 429.06: 0.92*429 = 394.68 mg/day gives 14.99 mg/L.
        const QString dose = Text(&regimen, "dose");
        QCOMPARE(dose, QString("429"));
        Type(&regimen, "currentConc", "5");
        if (!qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) SavePagePicture(regimen, "phenytoin_regimen.png");
        Click(&regimen, "levelForecast");
        QCOMPARE(regimen.result(), code::kPhenytoinForecast);
        QCOMPARE(Nav().shownParameters.Vd, Text(&regimen, "vd").toStdString());

        auto& forecast = pages->phenytoinForecast();
        Activate(forecast);
        QCOMPARE(Text(&forecast, "km"), QString("4.00"));  // the set typed on the regimen page
        Type(&forecast, "dose1", dose);
        // Typed and not left: Report applies it before the regimen is handed on.
        Field(&forecast, "interval1")->setFocus();
        QTest::keyClicks(Field(&forecast, "interval1"), "24");
        QVERIFY(Text(&forecast, "observedAverage").isEmpty());
        Click(&forecast, "report");
        QCOMPARE(Text(&forecast, "observedAverage"), QString("15.0"));
        QCOMPARE(forecast.result(), code::kReport);
        QCOMPARE(Nav().reportSource, ReportSource::PhenytoinForecast);
        QCOMPARE(TheCase().regimen.Dose, dose.toStdString());
        QCOMPARE(TheCase().regimen.Average_Obs, std::string("15.0"));
        QCOMPARE(TheCase().regimen.Route, std::string("O"));
        // The report gets the regimen and the results as shown.
        const ReportRegimen& handed = TheCase().reportRegimen;
        QCOMPARE(handed.fitType, kReportPopulation);
        QCOMPARE(handed.routeCode, 'O');
        QCOMPARE(QString::fromStdString(handed.dose + " " + handed.doseUnit + " / " + handed.interval),
                 dose + " mg / 24");
        QCOMPARE(handed.observedAverage, std::string("15.0"));
        QCOMPARE(handed.adjustedAverage, Text(&forecast, "adjustedAverage").toStdString());
        QCOMPARE(handed.steadyState90Days, Text(&forecast, "steadyStateTime").toStdString());
        QVERIFY(handed.dose2.empty() && !handed.adjustedRangeLow.empty());
        Activate(forecast);
        QCOMPARE(Text(&forecast, "dose1"), dose);
        QCOMPARE(Text(&forecast, "observedAverage"), QString("15.0"));
        Click(&forecast, "done");
        QCOMPARE(Nav().endPageSource, EndSource::PhenytoinForecast);
    }

    void savedParametersAreShownAndImported() {
        ConfiguredDatabasePath() = env->MakeDatabase("saved.mdb");
        SetUpPhenytoinAdult(4.4);
        auto& regimen = pages->phenytoinRegimen();
        Activate(regimen);
        QVERIFY(!regimen.findChild<QGroupBox*>("savedParameters")->isVisible());  // no case numbers yet
        TypeParameters(&regimen, "500.7");
        Click(&regimen, "done");
        QCOMPARE(Nav().endPageSource, EndSource::PhenytoinRegimen);
        regimen.hide();
        pages->end().Open();
        Click(&pages->end(), "save");
        QVERIFY(TheCase().Case_number != 0);

        Activate(regimen);
        auto* saved = regimen.findChild<QGroupBox*>("savedParameters");
        QVERIFY(saved->isVisible());
        QCOMPARE(saved->title(), QString::fromStdString("Parameters Saved On " + TheCase().DateText));
        // Km and Vmax are kept as whole numbers; per kg of the 70 kg patient.
        QCOMPARE(Text(&regimen, "savedVd"), QString("50 (0.71 L/kg)"));
        QCOMPARE(Text(&regimen, "savedKm"), QString("4"));
        QCOMPARE(Text(&regimen, "savedVmax"), QString("500 (7.14 mg/day/kg)"));
        QCOMPARE(Text(&regimen, "savedF"), QString("1.00"));
        QCOMPARE(Text(&regimen, "savedAlbumin").toDouble(), 4.4);
        if (!qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) SavePagePicture(regimen, "phenytoin_regimen_saved.png");
        Type(&regimen, "vd", "60");
        Type(&regimen, "desiredAverage", "15");
        Click(&regimen, "importSaved");
        QCOMPARE(Text(&regimen, "vd"), QString("50.00"));
        QCOMPARE(Text(&regimen, "vmax"), QString("500.0"));
        QCOMPARE(TheCase().population.Vm, 500.0);
        QCOMPARE(Text(&regimen, "dose"), Fixed("%.0f", 7500 / (19 * 0.92)));
    }

    void vmaxMessageInARealBox() {
        UsePrompts(nullptr);
        auto& page = SuspensionForecast();
        Type(&page, "interval1", "24");
        QCOMPARE(RealBoxText("phenytoin_vmax_box.png", [&] { Type(&page, "dose1", "600"); }),
                 QString("Daily Dosage is greater than Vmax."));
        QVERIFY(Text(&page, "observedAverage").isEmpty());
        if (!qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) SavePagePicture(page, "phenytoin_vmax_page.png");
    }

    void regimenRefusesATextInARealBox() {
        UsePrompts(nullptr);
        SetUpPhenytoinAdult(4.4);
        auto& page = pages->phenytoinRegimen();
        Activate(page);
        Type(&page, "desiredAverage", "15");
        QVERIFY(!Text(&page, "dose").isEmpty());
        QCOMPARE(RealBoxText("phenytoin_regimen_box.png", [&] { Type(&page, "desiredAverage", "1,5"); }),
                 *NotANumberProblem("1,5"));
        QVERIFY(Text(&page, "dose").isEmpty());
        QVERIFY(page.isVisible());
    }

private:
    // The text of the real message box `act` opens, closed by its first button.
    static QString RealBoxText(const QString& picture, const std::function<void()>& act) {
        QString seen;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = box->text();
                if (!qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) SavePagePicture(*box, picture);
                box->buttons().first()->click();
            }
        });
        timer.start(50);
        act();
        timer.stop();
        return seen;
    }
};

QTEST_MAIN(PhenytoinPagesTest)
#include "phenytoin_pages_test.moc"
