// The regimen pages typed into as a user would: the IV design of gentamicin
// with its loading dose against the one-compartment formulas worked
// backwards, the design entered on the level forecast page giving back the
// desired levels, the waiting time, the divided-doses note of digoxin and
// lithium amounts in mg.
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cmath>

#include "app/kit/navigation.h"
#include "engine/design_iv.h"
#include "engine/design_oral.h"
#include "engine/regimen_chance.h"
#include "pages/drug/parameter_panel.h"
#include "pages/forecast/iv_forecast_page.h"
#include "pages/regimen/iv_regimen_page.h"
#include "pages/regimen/oral_regimen_page.h"
#include "records/case_record.h"
#include "tests/engine/history_fixtures.h"
#include "tests/pages/field_typing.h"
#include "tests/pages/page_test_support.h"

namespace {
// Post 6 mg/L 1 h after a half-hour infusion, trough 1 mg/L, and a level
// drawn `drawn` hours ago; the loading dose infused over half an hour.
void TypeGentamicinTargets(QWidget* page, const char* level, const char* drawn) {
    TypeInto(page, "desiredPost", "6");
    TypeInto(page, "postTime", "1");
    TypeInto(page, "desiredTrough", "1");
    TypeInto(page, "infusionTime", "0.5");
    TypeInto(page, "initialConc", level);
    TypeInto(page, "timeDrawn", drawn);
    TypeInto(page, "loadingInfusionTime", "0.5");
}

// Post 30 mg/L 1 h after an hour's infusion, trough 15 mg/L.
void TypeVancomycinTargets(QWidget* page) {
    for (const auto& [field, text] :
         {std::pair{"desiredPost", "30"}, {"postTime", "1"}, {"desiredTrough", "15"}, {"infusionTime", "1"}})
        TypeInto(page, field, text);
}
}  // namespace

class RegimenPagesTest : public QObject {
    Q_OBJECT
private slots:
    // The dose for a daily exposure at a chosen interval, entered on the
    // level forecast page, gives that exposure back.
    void vancomycinAuc24TargetAndItsRoundTrip() {
        PageTestEnvironment env;
        SetUpFortyYearOld("vm", "Intermittent IV - Injection");
        IvRegimenPage page;
        OpenActive(page);
        TypeInto(&page, "infusionTime", "1");
        TypeInto(&page, "desiredAuc24", "500");
        TypeInto(&page, "auc24Interval", "12");
        const double Cl = TheCase().population.Cl;
        QCOMPARE(FieldText(&page, "auc24Dose"), QString::number(500 * 12 * Cl / 24, 'f', 0));
        TypeInto(&page, "troughLimit", "1");
        QVERIFY(page.findChild<QLabel*>("auc24Message")->text().endsWith("is above the limit of 1.0."));
        PictureAt1024(page, "regimen_141_vancomycin_auc24.png");

        const QString dose = FieldText(&page, "auc24Dose");
        Click(&page, "levelForecast");
        IvForecastPage forecast;
        OpenActive(forecast);
        for (const auto& [field, text] :
             {std::pair{"dose", dose}, {"interval", "12"}, {"infusionTime", "1"}, {"postTime", "1"}, {"mic", "1"}})
            TypeInto(&forecast, field, text);
        QCOMPARE(FieldText(&forecast, "auc24"), QString("500"));
        PictureAt1024(forecast, "forecast_145_vancomycin_auc24.png");

        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvRegimenPage other;
        OpenActive(other);
        QVERIFY(!other.findChild<QLineEdit*>("desiredAuc24")->isVisible());
    }

    // With a Bayesian fit the design's chance and, for vancomycin, the
    // practical regimen are shown as the engine words them over the case's
    // posterior; emptied with the design, and never shown without a fit.
    void chanceOfTheDesignOverTheFittedPosterior() {
        PageTestEnvironment env;
        FitAdultWithHistory("vm", {DoseRowOn(1, 8, 0, 1000, "IV", 1, 12, 6)},
                            {LevelRowOn(3, 9, 30, 32), LevelRowOn(3, 19, 30, 14)});
        const CaseRecord& r = TheCase();
        IvRegimenPage page;
        OpenActive(page);
        TypeVancomycinTargets(&page);

        const RegimenModel m = PageModel(r);
        DesignInputs in;
        in.desiredPost = 30, in.postTime = 1, in.desiredTrough = 15, in.infusionTime = 1;
        const RegimenDesign d = DesignIv(m, 'D', in);
        const auto posterior = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
        QVERIFY(posterior);
        const ChanceLines lines = IntermittentChance(r, m, *posterior, {d.dose, d.interval, 1, 1, {}}, 30, true);
        auto* chance = page.findChild<QLabel*>("chance");
        auto* practical = page.findChild<QLabel*>("practical");
        QCOMPARE(chance->text().toStdString(), lines.attainment);
        QCOMPARE(practical->text().toStdString(), lines.practical);
        QVERIFY(chance->text().contains("% chance trough 15-50 and post >= 30"));
        QVERIFY(chance->text().contains("% chance AUC24 400-600 and trough <= 20"));
        QVERIFY(practical->text().contains("the best of the usual doses"));
        QVERIFY(chance->isVisible() && practical->isVisible());
        PictureAt1024(page, "regimen_141_vancomycin_chance.png");

        TypeInto(&page, "desiredPost", "");  // no design: no stale line
        QVERIFY(FieldText(&page, "dose").isEmpty());
        QVERIFY(!chance->isVisible() && !practical->isVisible());

        SetUpFortyYearOld("vm", "Intermittent IV - Injection");  // no fit
        IvRegimenPage unfitted;
        OpenActive(unfitted);
        TypeVancomycinTargets(&unfitted);
        QVERIFY(!FieldText(&unfitted, "dose").isEmpty());
        QVERIFY(unfitted.findChild<QLabel*>("chance")->text().isEmpty());
        QVERIFY(!unfitted.findChild<QLabel*>("practical")->isVisible());

        // The oral page judges its design by its own forecast and desired
        // peak; lithium has no usual vials.
        FitAdultWithHistory("li", {DoseRowOn(1, 8, 0, 300, "O", 0, 12, 8)},
                            {LevelRowOn(4, 7, 30, 0.6), LevelRowOn(4, 12, 0, 0.9)});
        OralRegimenPage oral;
        OpenActive(oral);
        TypeInto(&oral, "desiredPeak", "1");
        TypeInto(&oral, "desiredTrough", "0.6");
        DesignInputs byMouth;
        byMouth.desiredPeak = 1, byMouth.desiredTrough = 0.6;
        const RegimenModel lithium = PageModel(r);
        const RegimenDesign daily = DesignOral(lithium, byMouth);
        const auto drawn = SamplePosterior(r, PosteriorSettingsFor(r.ModelType));
        QVERIFY(daily.dose && drawn);
        const QString oralChance = oral.findChild<QLabel*>("chance")->text();
        QCOMPARE(oralChance.toStdString(), OralChance(r, lithium, *drawn, daily.dose, daily.interval, 1).attainment);
        QVERIFY(oralChance.contains("% chance trough 0.4-1.4 and peak >= 1 ("));
        QVERIFY(!oral.findChild<QLabel*>("practical")->isVisible());
        PictureAt1024(oral, "regimen_142_lithium_chance.png");
    }

    void gentamicinDesignWithLoadingDoseAndItsRoundTrip() {
        PageTestEnvironment env;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvRegimenPage page;
        OpenActive(page);
        TypeGentamicinTargets(&page, "0.5", "2");

        const CaseRecord& r = TheCase();
        const double Vd = r.population.Vd, Cl = r.population.Cl, k = Cl / Vd, S = r.ParenteralSalt;
        const double F = r.population.F;
        const double peak = 6 * std::exp(k * 1);
        const double tau = 0.5 + std::log(peak / 1) / k;
        const double dose = 0.5 * peak * Cl * (1 - std::exp(-k * tau)) / ((1 - std::exp(-k * 0.5)) * S);
        const double now = 0.5 * std::exp(-k * 2);
        const double loading = Cl * 0.5 * (peak - now * std::exp(-k * 0.5)) / ((1 - std::exp(-k * 0.5)) * F * S);
        QCOMPARE(FieldText(&page, "dose"), QString::number(dose, 'f', 0));
        QCOMPARE(FieldText(&page, "interval"), QString::number(tau, 'f', 1));
        QCOMPARE(FieldText(&page, "loadingDose"), QString::number(loading, 'f', 0));
        QVERIFY(FieldText(&page, "note").isEmpty());
        QVERIFY(page.findChild<QLineEdit*>("desiredAverage")->isReadOnly());
        PictureAt1024(page, "regimen_141_gentamicin.png");

        const QString shownDose = FieldText(&page, "dose"), shownInterval = FieldText(&page, "interval");
        Click(&page, "levelForecast");
        QCOMPARE(page.result(), 81);
        IvForecastPage forecast;
        OpenActive(forecast);
        TypeInto(&forecast, "dose", shownDose);
        TypeInto(&forecast, "interval", shownInterval);
        TypeInto(&forecast, "infusionTime", "0.5");
        TypeInto(&forecast, "postTime", "1");
        QCOMPARE(FieldText(&forecast, "post"), QString("6.0"));
        QCOMPARE(FieldText(&forecast, "trough"), QString("1.0"));
    }

    void textsLiveInTheCaseRecord() {
        PageTestEnvironment env;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvRegimenPage page;
        OpenActive(page);
        TypeGentamicinTargets(&page, "0.5", "2");
        const QString dose = FieldText(&page, "dose");
        QVERIFY(!dose.isEmpty());
        Click(&page, "back");
        IvForecastPage forecast;
        OpenActive(forecast);
        TypeInto(&forecast, "dose", "120");
        Click(&forecast, "done");

        IvRegimenPage again;  // a revisit shows the texts as left
        OpenActive(again);
        QCOMPARE(FieldText(&again, "desiredPost"), QString("6"));
        QCOMPARE(FieldText(&again, "dose"), dose);

        ResetCase(TheCase(), false);  // a new case starts every page empty
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        OpenActive(again);
        QVERIFY(FieldText(&again, "desiredPost").isEmpty());
        QVERIFY(FieldText(&again, "dose").isEmpty());
        Nav().revisitIvForecast = true;
        IvForecastPage newCase;
        OpenActive(newCase);
        QVERIFY(FieldText(&newCase, "dose").isEmpty());
    }

    void levelAboveTheTroughGivesAWait() {
        PageTestEnvironment env;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        IvRegimenPage page;
        OpenActive(page);
        TypeGentamicinTargets(&page, "5", "0");
        const double k = TheCase().population.Cl / TheCase().population.Vd;
        QVERIFY(FieldText(&page, "loadingDose").isEmpty());
        QCOMPARE(FieldText(&page, "note"), QString("Give dose in %1 hours.").arg(-std::log(1.0 / 5) / k, 0, 'f', 1));
        QVERIFY(!FieldText(&page, "dose").isEmpty());

        TypeInto(&page, "desiredTrough", "-1");
        QCOMPARE(env.prompts.Texts(), QStringList{"Please input a correct Value of trough."});
        TypeInto(&page, "desiredTrough", "7");  // above the post: no design
        QVERIFY(FieldText(&page, "dose").isEmpty());
        QVERIFY(FieldText(&page, "interval").isEmpty());
    }

    void anAverageTypedForIntermittentDigoxinSuppressesTheDesign() {
        PageTestEnvironment env;
        SetUpFortyYearOld("dg", "Intermittent IV - Injection");
        IvRegimenPage page;
        OpenActive(page);
        TypeInto(&page, "desiredPost", "1.5");
        TypeInto(&page, "postTime", "1");
        TypeInto(&page, "desiredTrough", "1");
        TypeInto(&page, "infusionTime", "0.5");
        QVERIFY(!FieldText(&page, "dose").isEmpty());
        TypeInto(&page, "desiredAverage", "1.2");
        for (const char* result : {"dose", "interval", "loadingDose"})
            QVERIFY2(FieldText(&page, result).isEmpty(), result);
        QVERIFY(FieldText(&page, "daily").isEmpty());
        // Choosing a product of the same group keeps the page open.
        ChooseProduct(&page, "Intermittent IV - Injection");
        QVERIFY(page.isVisible());
        Click(&page, "done");
        QCOMPARE(page.result(), 10);
        QCOMPARE(Nav().endPageSource, EndSource::IvRegimen);
        QCOMPARE(Nav().shownParameters.Vd, FieldText(&page, "vd").toStdString());
        QCOMPARE(Nav().shownParameters.CFValue, 100.0);  // stored in percent, as the import reads it
    }

    void digoxinDividedDosesFromTheRatioOfLoadingToDailyAmount() {
        PageTestEnvironment env;
        SetUpFortyYearOld("dg", "Oral - Tablets");
        OralRegimenPage page;
        OpenActive(page);
        TypeInto(&page, "desiredAverage", "1");
        TypeInto(&page, "initialConc", "0");
        TypeInto(&page, "timeDrawn", "0");
        // Loading (Cavg Vd / F S) over daily (24 Cavg Cl / S F) is Vd / 24 Cl.
        TypeInto(&page, "cl", "1");
        TypeInto(&page, "vd", "26.4");
        QCOMPARE(FieldText(&page, "note"), QString("Give in Divided Doses"));
        const double F = TheCase().population.F, S = TheCase().PO_Salt;
        QCOMPARE(FieldText(&page, "daily"), QString::number(24 * 1 * 1 / (S * F), 'f', 0));
        QCOMPARE(FieldText(&page, "loadingDose"), QString::number(26.4 / (F * S), 'f', 0));
        TypeInto(&page, "vd", "26.16");
        QVERIFY(FieldText(&page, "note").isEmpty());
        QVERIFY(FieldText(&page, "dose").isEmpty());
    }

    void lithiumAmountsInMg() {
        PageTestEnvironment env;
        SetUpFortyYearOld("li", "Oral - Capsules");
        OralRegimenPage page;
        OpenActive(page);
        TypeInto(&page, "desiredAverage", "0.8");
        TypeInto(&page, "initialConc", "0.2");
        TypeInto(&page, "timeDrawn", "0");
        const CaseRecord& r = TheCase();
        const double F = r.population.F, S = r.PO_Salt, Cl = r.population.Cl, Vd = r.population.Vd;
        QCOMPARE(FieldText(&page, "daily"), QString::number(24 * 0.8 * Cl / (S * F) * 36.94581280788178, 'f', 0));
        QCOMPARE(FieldText(&page, "loadingDose"), QString::number(0.6 * Vd / (F * S) * 36.94581280788178, 'f', 0));
        PictureAt1024(page, "regimen_142_lithium.png");
        ChooseProduct(&page, "Oral - Syrup");
        QVERIFY(page.isVisible());
    }
};

QTEST_MAIN(RegimenPagesTest)
#include "regimen_pages_test.moc"
