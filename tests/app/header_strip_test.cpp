// The patient header strip and the date display, against values worked out by hand.
#include <QTest>

#include "app/kit/date_display.h"
#include "app/kit/header_strip.h"
#include "records/case_record.h"
#include "records/creatinine_unit.h"
#include "tests/pages/page_test_support.h"

class HeaderStripTest : public QObject {
    Q_OBJECT
private slots:
    void dateDisplayWidensTheYear() {
        QCOMPARE(DateDisplay(MomentOf(CivilDate{2012, 3, 15}, 14, 30)), std::string("03/15/2012"));
        QCOMPARE(DateDisplay(MomentOf(CivilDate{2005, 11, 2})), std::string("11/02/2005"));
    }

    void ageUnits_data() {
        QTest::addColumn<double>("age");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("unit");
        QTest::newRow("exactly 2 years") << 2.0 << "2"
                                         << "Years ";
        QTest::newRow("2.99 years stays 2") << 2.99 << "2"
                                            << "Years ";
        // 1.999 years x 12 = 23.988 months -> "24.0"
        QTest::newRow("just below 2") << 1.999 << "24.0"
                                      << "Months ";
        // 1.99 x 12 = 23.88 -> "23.9"
        QTest::newRow("1.99 years") << 1.99 << "23.9"
                                    << "Months ";
        // one month exactly as the rule counts it: 0.083333333333333 x 12 = 1.0
        QTest::newRow("one month") << 0.083333333333333 << "1.0"
                                   << "Months ";
        // 0.08 x 365 = 29.2 days -> "29"
        QTest::newRow("below one month") << 0.08 << "29"
                                         << "Days ";
        QTest::newRow("newborn") << 0.0 << "0"
                                 << "Days ";
    }
    void ageUnits() {
        QFETCH(double, age);
        QFETCH(QString, value);
        QFETCH(QString, unit);
        CaseRecord r;
        r.Age = age;
        const HeaderTexts t = HeaderTextsOf(r, TestMoment(), HeaderVariant::Full);
        QCOMPARE(QString::fromStdString(t.ageValue), value);
        QCOMPARE(QString::fromStdString(t.ageUnit), unit);
    }

    void enteredClearanceWhenNoCreatinine() {
        CaseRecord r;
        SetUpAdult(r, "gm");
        r.SCr = 0;
        r.CrCl = 75;
        QCOMPARE(HeaderTextsOf(r, TestMoment(), HeaderVariant::Full).renal, std::string("Entered CLcr: 75.00 mL/min"));
    }

    void creatinineWithEstimate() {
        CaseRecord r;
        SetUpAdult(r, "gm");
        r.Age = 50;
        // Ideal weight 50 + 2.3 x (175 / 2.54 - 60) = 70.46 kg >= 70 kg, so the
        // dosing weight is 70 kg: 70 x (140 - 50) / (72 x 1.0) = 87.50 mL/min,
        // below the 90 x BSA (about 166) cap.
        QCOMPARE(HeaderTextsOf(r, TestMoment(), HeaderVariant::Full).renal,
                 std::string("Crs=1.00 mg/dL  Est. CLcr=87.50 mL/min"));
        // Shown in umol/L, the same creatinine and estimate: 1 mg/dL x 88.40.
        ShownCreatinineUnit() = CreatinineUnit::UmolPerL;
        QCOMPARE(HeaderTextsOf(r, TestMoment(), HeaderVariant::Full).renal,
                 std::string("Crs=88.4 umol/L  Est. CLcr=87.50 mL/min"));
        ShownCreatinineUnit() = CreatinineUnit::MgPerDl;
    }

    void creatinineWithoutEstimate() {
        CaseRecord r;
        SetUpAdult(r, "gm");
        r.Age = 0.3;  // below half a year no estimate is made
        r.Wt = 6;
        r.Ht = 62;
        r.SCr = 0.8;
        QCOMPARE(HeaderTextsOf(r, TestMoment(), HeaderVariant::Full).renal, std::string("Crs=0.80 mg/dL"));
    }

    void unitsAndSex() {
        CaseRecord r;
        SetUpAdult(r, "gm");
        r.WtUnit = "lb";
        r.HtUnit = "in";
        r.SEX = "F";
        const HeaderTexts t = HeaderTextsOf(r, TestMoment(), HeaderVariant::Full);
        QCOMPARE(t.weight, std::string("154.3 lb"));  // 70 x 2.2046 = 154.32
        QCOMPARE(t.height, std::string("68.9 in"));   // 175 x 0.393716 = 68.90
        QCOMPARE(t.sex, std::string("Female "));
        QCOMPARE(t.date, std::string("03/15/2012"));
        QCOMPARE(t.drug, std::string("Gentamicin"));
        QCOMPARE(t.albumin, std::string());
    }

    void variantsOfTheDrugLineAndAlbumin() {
        CaseRecord r;
        SetUpAdult(r, "ph");
        r.Albumin = 3.5;
        QCOMPARE(HeaderTextsOf(r, TestMoment(), HeaderVariant::Full).albumin, std::string("Albumin: 3.50 g/dL"));
        QCOMPARE(HeaderTextsOf(r, TestMoment(), HeaderVariant::NoDrugLine).drug, std::string());
        QCOMPARE(HeaderTextsOf(r, TestMoment(), HeaderVariant::NoDrugLine).albumin, std::string("Albumin: 3.50 g/dL"));
        r.Drug_ID = "zz";
        r.userDrug.drugName = "Busulfan";
        QCOMPARE(HeaderTextsOf(r, TestMoment(), HeaderVariant::Full).drug, std::string("User's-Choice : Busulfan"));
        QCOMPARE(HeaderTextsOf(r, TestMoment(), HeaderVariant::FittingSetUp).drug,
                 std::string("Busulfan (one-compartment)"));
        const HeaderTexts userPage = HeaderTextsOf(r, TestMoment(), HeaderVariant::NoDrugNoAlbumin);
        QCOMPARE(userPage.drug, std::string());
        QCOMPARE(userPage.albumin, std::string());
    }
};

QTEST_MAIN(HeaderStripTest)
#include "header_strip_test.moc"
