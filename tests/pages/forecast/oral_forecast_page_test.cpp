// The oral/IM level forecast page typed into as a user would: a regular
// regimen and an uneven daily schedule against hand calculations of
// first-order absorption at steady state, the two excluding each other,
// the hour checks, lithium doses in mg, and the texts kept for a revisit.
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "app/kit/navigation.h"
#include "pages/forecast/oral_forecast_page.h"
#include "records/case_record.h"
#include "records/text_format.h"
#include "tests/pages/field_typing.h"
#include "tests/pages/page_test_support.h"

namespace {
struct Model {
    double k, ka, F, S, Vd, Cl;
};

Model CaseModel() {
    const CaseRecord& r = TheCase();
    const ParameterSet& p = r.population;
    return {p.Cl / p.Vd, r.PO_Ka, p.F, r.PO_Salt, p.Vd, p.Cl};
}

// Level t hours after a dose D repeated every tau hours, at steady state.
double Css(const Model& m, double D, double t, double tau) {
    return m.ka * m.F * m.S * D / (m.Vd * (m.ka - m.k)) *
           (std::exp(-m.k * t) / (1 - std::exp(-m.k * tau)) - std::exp(-m.ka * t) / (1 - std::exp(-m.ka * tau)));
}

double PeakTime(const Model& m, double tau) {
    return std::log(m.ka * (1 - std::exp(-m.k * tau)) / (m.k * (1 - std::exp(-m.ka * tau)))) / (m.ka - m.k);
}

QString One(double v) { return QString::number(v, 'f', 1); }
}  // namespace

class OralForecastPageTest : public QObject {
    Q_OBJECT
private slots:
    void regularRegimenOfTheophylline() {
        PageTestEnvironment env;
        SetUpFortyYearOld("th", "Oral - Tablets");
        OralForecastPage page;
        OpenActive(page);
        TypeInto(&page, "dose", "300");
        TypeInto(&page, "interval", "12");
        const Model m = CaseModel();
        const double tmax = PeakTime(m, 12);
        QCOMPARE(FieldText(&page, "peak"), One(Css(m, 300, tmax, 12)));
        QCOMPARE(FieldText(&page, "trough"), One(Css(m, 300, 12, 12)));
        QCOMPARE(FieldText(&page, "average"), One(300 * m.S * m.F / (m.Cl * 12)));
        QVERIFY(env.prompts.shown.empty());
    }

    void unevenScheduleWithAnEmptyRowAndTheHourCheck() {
        PageTestEnvironment env;
        SetUpFortyYearOld("th", "Oral - Tablets");
        OralForecastPage page;
        OpenActive(page);
        TypeInto(&page, "dose", "300");
        TypeInto(&page, "interval", "12");
        TypeInto(&page, "dose1", "300");
        TypeInto(&page, "hour1", "8");
        TypeInto(&page, "dose3", "400");
        TypeInto(&page, "hour3", "20");
        TypeInto(&page, "levelHour", "6");
        // The regular regimen gave way to the schedule.
        for (const char* gone : {"dose", "interval", "peak", "trough", "average"})
            QVERIFY2(FieldText(&page, gone).isEmpty(), gone);
        QCOMPARE(FieldText(&page, "hour1"), QString("08"));
        QCOMPARE(FieldText(&page, "levelHour"), QString("06"));

        // Rows at 8 h (300), 0 h (nothing, the empty row) and 20 h (400).
        const Model m = CaseModel();
        const double tmax = PeakTime(m, 24);
        const std::vector<std::pair<double, double>> rows{{300, 8}, {0, 0}, {400, 20}};
        auto sumAt = [&](double clock) {
            double sum = 0;
            for (const auto& [dose, hour] : rows) {
                double t = clock - hour;
                if (t < 0) t += 24;
                sum += Css(m, dose, t, 24);
            }
            return sum;
        };
        double peak = 0, trough = 10000;
        for (const auto& row : rows) {
            peak = std::max(peak, sumAt(row.second + tmax));
            trough = std::min(trough, sumAt(row.second));
        }
        QCOMPARE(FieldText(&page, "unevenPeak"), One(peak));
        QCOMPARE(FieldText(&page, "unevenTrough"), One(trough));
        QCOMPARE(FieldText(&page, "unevenAverage"), One(700 * m.S * m.F / (24 * m.Cl)));
        QCOMPARE(FieldText(&page, "levelAtHour"), QString::number(sumAt(6), 'f', 2));
        QCOMPARE(page.findChild<QLabel*>("levelAt")->text(), QString("Level at  6:"));

        PictureAt1024(page, "forecast_150_theophylline_uneven.png");
        TypeInto(&page, "hour3", "24");
        QCOMPARE(env.prompts.Texts(), QStringList{"Hours have to be from 0 to 23"});
        QCOMPARE(FieldText(&page, "hour3"), QString("24"));
        TypeInto(&page, "hour3", "20");

        Click(&page, "report");
        QCOMPARE(page.result(), 9);
        QCOMPARE(TheCase().pages.forecast.unevenCount, 3);
        const ReportRegimen& handed = TheCase().reportRegimen;
        QCOMPARE(handed.routeCode, 'O');
        QCOMPARE(handed.unevenDoses.size(), std::size_t{3});
        QCOMPARE(handed.unevenDoses[1].dose, 0.0);
        QCOMPARE(handed.unevenDoses[2].hour, 20);
        QCOMPARE(handed.peak, One(peak).toStdString());
        OralForecastPage again;  // shows what was kept, re-formatted
        Nav().revisitOralForecast = true;
        OpenActive(again);
        QCOMPARE(FieldText(&again, "unevenPeak"), One(peak));
        QCOMPARE(FieldText(&again, "dose3"), QString("400.0"));
        QCOMPARE(FieldText(&again, "hour1"), QString("08"));
        // Typing a regular regimen again empties the schedule.
        TypeInto(&again, "dose", "300");
        QVERIFY(FieldText(&again, "dose1").isEmpty());
        QVERIFY(FieldText(&again, "unevenPeak").isEmpty());
    }

    // A fitted F counts only for the products the fit's doses took.
    void aFittedSetShowsItsTextsAndItsFOnlyForTheFittedProduct() {
        PageTestEnvironment env;
        SetUpFortyYearOld("th", "Oral - Tablets");
        CaseRecord& r = TheCase();
        r.bayes = r.population;
        r.bayes.F = 0.7;
        r.bayes.CF = 0.85;
        r.Cur_fit_method = kBayesian;
        r.FitRouteProduct1 = "Oral - Tablets";
        OralForecastPage page;
        OpenActive(page);
        QCOMPARE(FieldText(&page, "cf"), QString("85.000"));
        QCOMPARE(FieldText(&page, "bioavailability"), QString("70 %"));
        TypeInto(&page, "dose", "300");
        TypeInto(&page, "interval", "12");
        const Model m = CaseModel();
        QCOMPARE(FieldText(&page, "average"), One(300 * m.S * 0.7 / (m.Cl * 12)));
        ChooseProduct(&page, "Oral - Tablets (Theo - dur 100 mg)");
        QCOMPARE(FieldText(&page, "bioavailability"),
                 QString::fromStdString(FormatNumber("%.0f", r.population.F * 100) + " %"));
    }

    void lithiumDosesAreTypedInMg() {
        PageTestEnvironment env;
        SetUpFortyYearOld("li", "Oral - Capsules");
        OralForecastPage page;
        OpenActive(page);
        TypeInto(&page, "dose", "300");
        TypeInto(&page, "interval", "12");
        const Model m = CaseModel();
        QCOMPARE(FieldText(&page, "average"), One(300 * 0.027066666666666666 * m.S * m.F / (m.Cl * 12)));
        ChooseProduct(&page, "Oral - Syrup");
        QVERIFY(page.isVisible());
    }
};

QTEST_MAIN(OralForecastPageTest)
#include "oral_forecast_page_test.moc"
