// The curve-fitting set-up page: the initial values with their "+/-"
// spreads kept relative in the record, the derived kd and t1/2, the ranges
// of the curve-fitting factors, and the codes it closes with.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <tuple>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "engine/population_models.h"
#include "pages/widgets/field_number.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "tests/pages/page_test_support.h"

class FittingSetUpPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;

    FittingSetUpPage& Page() { return pages->fittingSetUp(); }
    void OpenPage() {
        Page().Open();
        Page().show();
        Page().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Page()));
    }
    QLineEdit* Field(const char* name) { return Page().findChild<QLineEdit*>(name); }
    QString Text(const char* name) {
        if (auto* label = Page().findChild<QLabel*>(name)) return label->text();
        return Field(name)->text();
    }
    // Types into a field and presses Enter, which leaves it.
    void Type(const char* name, const QString& text) {
        QLineEdit* field = Field(name);
        field->setFocus();
        field->setText(text);
        PressKey(field, Qt::Key_Return);
    }
    int Press(const char* button) {
        Page().setResult(-1);
        Click(&Page(), button);
        return Page().result();
    }
    QString LastMessage() { return env->prompts.shown.empty() ? QString() : env->prompts.shown.back().text; }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
        CaseRecord& r = TheCase();
        ResetCase(r, true);
        SetUpAdult(r, "vm");
        r.population = ParameterSet{1.0, 35, 4.2, 1.0, 0, 0};
        r.Init_f_sd = 0.1, r.init_vd_sd = 0.2, r.init_cl_sd = 0.3, r.init_cf_sd = 0.1;
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void spreadsRoundTripAndNextStoresTheInputs() {
        OpenPage();
        // Spreads are relative SD x value: 0.1 x 100 %, 0.2 x 35 L, 0.3 x 4.2 L/h.
        QCOMPARE(Text("F"), QString("100.00"));
        QCOMPARE(Text("FSd"), QString("10.00"));
        QCOMPARE(Text("VdSd"), QString("7.00"));
        QCOMPARE(Text("Cl"), QString("4.200"));
        QCOMPARE(Text("ClSd"), QString("1.260"));
        QCOMPARE(Text("perKg"), QString("(0.500 L/kg)"));  // 35 L / 70 kg
        QCOMPARE(Text("kd"), QString("0.120"));            // 4.2 / 35
        QCOMPARE(Text("halfLife"), QString("5.775"));      // 0.693 / 0.12
        QVERIFY(Page().findChild<QLineEdit*>("timeWeight")->isHidden() ||
                !Page().findChild<QLineEdit*>("timeWeight")->isVisibleTo(&Page()));
        SavePagePicture(Page(), "fitting-setup-vancomycin.png");

        // A new Vd keeps its relative spread: 0.2 x 50 = 10.
        Type("Vd", "50");
        QCOMPARE(Text("VdSd"), QString("10.00"));
        QCOMPARE(Text("kd"), QString("0.084"));        // 4.2 / 50
        QCOMPARE(Text("halfLife"), QString("8.250"));  // 0.693 / 0.084
        // An entered spread becomes relative: 0.84 / 4.2 = 0.2.
        Type("ClSd", "0.84");
        QCOMPARE(Press("next"), code::kHistory);
        const CaseRecord& r = TheCase();
        QCOMPARE(r.population.Vd, 50.0);
        QCOMPARE(r.population.F, 1.0);
        QVERIFY(std::abs(r.init_cl_sd - 0.2) < 1e-12);
        QVERIFY(std::abs(r.init_vd_sd - 0.2) < 1e-12);
        // Shown again as left.
        OpenPage();
        QCOMPARE(Text("Vd"), QString("50.00"));
        QCOMPARE(Text("ClSd"), QString("0.840"));

        QCOMPARE(Press("previous"), code::kFactors);
        OpenPage();
        QCOMPARE(Press("noFitting"), code::kEnd);
        OpenPage();
        // A volume of 0 cannot start a fit.
        Type("Vd", "0");
        QCOMPARE(Text("kd"), QString());
        QCOMPARE(Press("next"), -1);
        QCOMPARE(QApplication::focusWidget(), Field("Vd"));
    }

    // Digoxin with no product chosen yet opens on its default, oral tablets,
    // with their F and spread; a product brings its own; typed values are
    // checked on leaving their field.
    void digoxinStartsOnItsDefaultProduct() {
        CaseRecord& r = TheCase();
        ResetCase(r, true);
        SetUpAdult(r, "dg");
        SelectDrugModel(r);
        QVERIFY(r.RouteProduct.empty());
        OpenPage();
        auto* products = Page().findChild<QComboBox*>("product1");
        QCOMPARE(products->currentText(), QString("Oral - Tablets"));
        QCOMPARE(Text("F"), QString("70.00"));
        QCOMPARE(Text("FSd"), QString("10.00"));  // relative SD 1/7 of 70 %
        SavePagePicture(Page(), "fitting-setup-digoxin.png");
        // Capsules: F 95 % with a relative SD of 1/19, 5 %.
        products->setCurrentIndex(products->findText("Oral - Capsules"));
        QCOMPARE(Text("F"), QString("95.00"));
        QCOMPARE(Text("FSd"), QString("5.00"));
        products->setCurrentIndex(products->findText("Oral - Tablets"));
        QCOMPARE(Text("FSd"), QString("10.00"));

        const std::vector<std::tuple<const char*, QString, QString>> refused = {
            {"Vd", "abc", *NotANumberProblem("abc")},
            {"Cl", "1,5", *NotANumberProblem("1,5")},
            {"FSd", "0", "Please enter a +/- value above 0."},
            {"FSd", "2026", "Please enter a +/- value no larger than its parameter."},
            {"Vd", "0", "Please enter a value above 0."}};
        for (const auto& [name, text, message] : refused) {
            env->prompts.shown.clear();
            Field(name)->setFocus();
            Field(name)->selectAll();
            QTest::keyClicks(Field(name), text);
            PressKey(Field(name), Qt::Key_Return);
            QCOMPARE(LastMessage(), message);
            QCOMPARE(env->prompts.shown.size(), std::size_t(1));
            QCOMPARE(env->prompts.shown.back().title, QString("Warning"));
            QCOMPARE(QApplication::focusWidget(), Field(name));
            QCOMPARE(Field(name)->text(), text);
            Field(name)->setText(QString(name) == "FSd" ? "10.00" : "10.000");
        }
        QCOMPARE(Press("next"), code::kHistory);
        QCOMPARE(TheCase().population.F, 0.7);
        QVERIFY(std::abs(TheCase().Init_f_sd - 1.0 / 7) < 1e-9);
    }

    void curveFittingFactorRanges() {
        CaseRecord& r = TheCase();
        r.Drug_ID = "zz";
        r.TherapeuticMin = 10, r.TherapeuticMax = 20;
        r.Fixed_err = 1.5;  // 10 % of the middle of the range, 15
        r.Time_wt = 1.005;
        OpenPage();
        QCOMPARE(Text("fixedError"), QString("10.00"));
        QCOMPARE(Text("timeWeight"), QString("1.005"));
        Type("timeWeight", "1.02");
        QCOMPARE(LastMessage(), QString("Time Weighting Factor is beyond its range, please input it again."));
        QCOMPARE(env->prompts.shown.back().title, QString("Kinevo"));
        QCOMPARE(QApplication::focusWidget(), Field("timeWeight"));
        Type("timeWeight", "");  // keeps the value before
        QCOMPARE(Text("timeWeight"), QString("1.005"));
        Type("timeWeight", "1.012");
        for (const char* wrong : {"25", "4.9"}) {
            Type("fixedError", wrong);
            QCOMPARE(LastMessage(), QString("Variable Error is beyond its range, please input it again."));
        }
        const auto shown = env->prompts.shown.size();
        Type("fixedError", "8");
        QCOMPARE(env->prompts.shown.size(), shown);
        QCOMPARE(Press("next"), code::kHistory);
        QCOMPARE(r.Time_wt, 1.012);
        QVERIFY(std::abs(r.Fixed_err - 1.2) < 1e-12);  // 15 x 8 %
        OpenPage();
        QCOMPARE(Press("previous"), code::kUserChoice);

        r.Drug_ID = "ph";
        r.population = ParameterSet{1.0, 45, 4, 1.0, 4, 500};
        r.init_vm_sd = 0.25;
        OpenPage();
        QCOMPARE(Text("VmSd"), QString("125.00"));  // 0.25 x 500 mg/day
        Type("timeWeight", "0.99");
        QCOMPARE(LastMessage(),
                 QString("Time Weighting Factor is beyond its range (1 - 1.015), please input it again."));
    }

    // Both route-products of the fit are kept and shown again on return.
    void phenytoinRouteProductsKept() {
        CaseRecord& r = TheCase();
        r.Drug_ID = "ph";
        r.population = ParameterSet{1.0, 45, 4, 1.0, 4, 500};
        r.init_vm_sd = 0.25;
        OpenPage();
        auto* first = Page().findChild<QComboBox*>("product1");
        auto* second = Page().findChild<QComboBox*>("product2");
        QVERIFY(second->isVisibleTo(&Page()));
        first->setCurrentText("Oral - Suspension");
        second->setCurrentText("Intermittent IV - Injection");
        SavePagePicture(Page(), "fitting-setup-phenytoin.png");
        QCOMPARE(Press("next"), code::kHistory);
        QCOMPARE(r.RouteProduct, std::string("Oral - Suspension"));
        QCOMPARE(r.FitRouteProduct2, std::string("Intermittent IV - Injection"));
        OpenPage();
        QCOMPARE(first->currentText(), QString("Oral - Suspension"));
        QCOMPARE(second->currentText(), QString("Intermittent IV - Injection"));
    }

    void savedSetShownAndImported() {
        ConfiguredDatabasePath() = env->MakeDatabase("saved.mdb");
        // A Bayesian set stored through the end page from the results page.
        Nav().endPageSource = EndSource::AnalysisResults;
        Nav().shownParameters = PageParameterTexts{"100", "20.5", "4.2", "80", "", "", 1.0, 1.0};
        pages->end().Open();
        Click(&pages->end(), "save");
        QVERIFY(env->prompts.shown.empty());
        OpenPage();
        QCOMPARE(Text("savedTitle"), QString("Bayesian Parameters Saved On 03/15/2012"));
        QCOMPARE(Text("savedVd"), QString("20.5"));
        QCOMPARE(Text("Vd"), QString("35.00"));
        Click(&Page(), "import");
        QCOMPARE(Text("Vd"), QString("20.50"));
        QCOMPARE(Text("VdSd"), QString("4.10"));  // 0.2 x 20.5
        QCOMPARE(Text("Cl"), QString("4.200"));
        QCOMPARE(Text("CF"), QString("80.00"));
        SavePagePicture(Page(), "fitting-setup-saved.png");
        QCOMPARE(Press("next"), code::kHistory);
        QCOMPARE(TheCase().population.CF, 0.8);
    }

    // The real box, answered by a timer: the page stays, the focus with the field.
    void realRangeMessageBox() {
        UsePrompts(nullptr);
        TheCase().Drug_ID = "ph";
        TheCase().population = ParameterSet{1.0, 45, 4, 1.0, 4, 500};
        OpenPage();
        QString boxText;
        QTimer::singleShot(100, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxText = box->text();
                box->buttons().first()->click();
            }
        });
        Type("timeWeight", "2");
        QCOMPARE(boxText, QString("Time Weighting Factor is beyond its range (1 - 1.015), please input it again."));
        QCOMPARE(Page().focusWidget(), Field("timeWeight"));
        QCOMPARE(Page().result(), 0);
        UsePrompts(&env->prompts);
    }
};

QTEST_MAIN(FittingSetUpPageTest)
#include "fitting_setup_page_test.moc"
