// Pages whose messages were otherwise only seen through the scripted prompts,
// with the program's real message boxes answered by a timer as a user would:
// the box shows with its title, the page stays open and keeps what was typed.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <nlohmann/json.hpp>

#include "app/kit/clock.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "app/kit/review_dialog.h"
#include "app/page_set.h"
#include "app/startup.h"
#include "engine/population_models.h"
#include "pages/patient/welcome_page.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "tests/pages/field_typing.h"
#include "tests/pages/page_test_support.h"

class RealPromptsTest : public QObject {
    Q_OBJECT

private slots:
    void entryPageRefusesAWeight() {
        PageTestEnvironment env;
        ConfiguredDatabasePath() = env.MakeDatabase("work.mdb");
        PageSet pages;
        BoxAnswerer boxes;
        OpenActive(pages.newPatient());
        TypeInto(&pages.newPatient(), "weight", "1200");
        QTRY_COMPARE(boxes.seen,
                     QStringList{"Warning: Please input a valid Weight. Acceptable range is 0.1 lbs to 1000 lbs."});
        QVERIFY(pages.newPatient().isVisible());
        QCOMPARE(FieldText(&pages.newPatient(), "weight"), QString("1200"));
    }

    void endPageSaveErrorLeavesThePageOpen() {
        PageTestEnvironment env;
        env.WriteFile("text.mdb", "no tables here\n");
        ConfiguredDatabasePath() = (env.Dir() / "text.mdb").string();
        SetUpAdult(TheCase(), "gm");
        PageSet pages;
        BoxAnswerer boxes;
        OpenActive(pages.end());
        Click(&pages.end(), "save");
        QTRY_COMPARE(boxes.seen.size(), 1);
        QVERIFY(boxes.seen[0].startsWith("Kinevo: "));
        QVERIFY(pages.end().isVisible());
        QCOMPARE(TheCase().PATIENT_REC_Num, 0);
    }

    void welcomePageNamesAServerThatIsDown() {
        PageTestEnvironment env;
        env.WriteFile("Options.dat", "postgresql://kinevo@127.0.0.1:1/kinevo\n");
        QVERIFY(ReadStartUpConfiguration(env.Dir() / "Options.dat"));
        WelcomePage welcome(ProgramFiles::In(env.Dir()), [](int) { return 1; });
        BoxAnswerer boxes;
        welcome.Open();
        welcome.show();
        QTRY_COMPARE(boxes.seen.size(), 1);
        QVERIFY(boxes.seen[0].startsWith("Warning: The patient database server 127.0.0.1 (port 1, database kinevo)"));
        QVERIFY(welcome.isVisible());
        QCOMPARE(ConfiguredDatabasePath(), std::string("postgresql://kinevo@127.0.0.1:1/kinevo"));
    }

    void importGoesThroughTheRealFileDialogAndReview() {
        PageTestEnvironment env;
        ConfiguredDatabasePath() = env.MakeDatabase("work.mdb");
        FixNow(MomentOf(CivilDate{2026, 12, 5}, 12));  // after the example's last level
        // The example with one entry the case cannot use and a gentamicin
        // level, so the drug is chosen first.
        std::ifstream example(KINEVO_EXAMPLES_DIR "/fhir/vancomycin-inpatient.json");
        nlohmann::json bundle = nlohmann::json::parse(example);
        for (const auto& [id, loinc] : {std::pair{"glucose", "2345-7"}, std::pair{"genta", "35668-3"}})
            bundle["entry"].push_back({{"resource",
                                        {{"resourceType", "Observation"},
                                         {"id", id},
                                         {"status", "final"},
                                         {"code", {{"coding", {{{"system", "http://loinc.org"}, {"code", loinc}}}}}},
                                         {"effectiveDateTime", "2026-12-01T06:45:00+01:00"},
                                         {"valueQuantity", {{"value", 5.4}, {"code", "mmol/L"}}}}}});
        env.WriteFile("record.json", bundle.dump(1));
        env.WriteFile("cut.json", R"({"resourceType": "Bundle", "entry": [)");
        std::vector<int> walks;
        WelcomePage welcome(ProgramFiles::In(env.Dir()), [&](int first) {
            walks.push_back(first);
            return 1;
        });
        UsePrompts(nullptr);
        QString file = QString::fromStdString((env.Dir() / "record.json").string());
        QStringList seen;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            timer.stop();  // the picture lets events run: no second visit meanwhile
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                seen << "file dialog";
                // Typed as a user would, and Open pressed.
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(file);
                static_cast<QDialog*>(dialog)->accept();
            } else if (auto* choice = qobject_cast<QInputDialog*>(modal)) {
                seen << choice->windowTitle() + ": " + choice->labelText() + " " + choice->comboBoxItems().join(", ");
                if (qEnvironmentVariableIsSet("KINEVO_SHOT_DIR")) SavePagePicture(*choice, "import_choice.png");
                // Vancomycin, the first item, left as it is offered.
                choice->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            } else if (auto* review = qobject_cast<ReviewDialog*>(modal)) {
                seen << review->windowTitle();
                if (qEnvironmentVariableIsSet("KINEVO_SHOT_DIR")) SavePagePicture(*review, "import_review.png");
                review->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen << box->windowTitle() + ": " + box->text();
                box->buttons().first()->click();
            }
            timer.start(50);
        });
        timer.start(50);
        welcome.Open();
        welcome.show();
        Click(&welcome, "importHospitalRecord");
        QCOMPARE(seen, (QStringList{"file dialog",
                                    "Import from Hospital Record: Which drug's doses and levels should be imported? "
                                    "Vancomycin (VM), Gentamicin (GM)",
                                    "Import from Hospital Record"}));
        QCOMPARE(walks, std::vector<int>{code::kNewPatientEntry});
        QCOMPARE(TheCase().PATIENT_LAST_NAME, std::string("Example"));
        QCOMPARE(TheCase().history.doseRows.size(), std::size_t(2));

        file = QString::fromStdString((env.Dir() / "cut.json").string());
        Click(&welcome, "importHospitalRecord");
        QCOMPARE(seen.size(), 5);
        QVERIFY2(seen[4].startsWith("Warning: This file cannot be imported as a hospital record:"),
                 qPrintable(seen[4]));
        QCOMPARE(walks.size(), std::size_t(1));
        QCOMPARE(TheCase().PATIENT_LAST_NAME, std::string("Example"));
    }

    void regimenAndOralForecastPagesRefuseAValue() {
        PageTestEnvironment env;
        PageSet pages;
        BoxAnswerer boxes;
        SetUpFortyYearOld("gm", "Intermittent IV - Injection");
        OpenActive(pages.ivRegimen());
        TypeInto(&pages.ivRegimen(), "desiredTrough", "-1");
        QTRY_COMPARE(boxes.seen, QStringList{"Warning: Please input a correct Value of trough."});
        QVERIFY(pages.ivRegimen().isVisible());
        pages.ivRegimen().hide();

        SetUpFortyYearOld("th", "Oral - Tablets");
        OpenActive(pages.oralForecast());
        TypeInto(&pages.oralForecast(), "dose1", "300");
        TypeInto(&pages.oralForecast(), "hour1", "24");
        QTRY_COMPARE(boxes.seen.size(), 2);
        QCOMPARE(boxes.seen[1], QString("Warning: Hours have to be from 0 to 23"));
        QCOMPARE(FieldText(&pages.oralForecast(), "hour1"), QString("24"));
    }

    void fitSetUpRefusesASpreadOfNothing() {
        PageTestEnvironment env;
        PageSet pages;
        BoxAnswerer boxes;
        SetUpAdult(TheCase(), "dg");
        SelectDrugModel(TheCase());
        OpenActive(pages.fittingSetUp());
        TypeInto(&pages.fittingSetUp(), "FSd", "0");
        QTRY_COMPARE(boxes.seen, QStringList{"Warning: Please enter a +/- value above 0."});
        QVERIFY(pages.fittingSetUp().isVisible());
        QCOMPARE(FieldText(&pages.fittingSetUp(), "FSd"), QString("0"));
    }
};

QTEST_MAIN(RealPromptsTest)
#include "real_prompts_test.moc"
