#include "tests/pages/page_test_support.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "app/dispatcher.h"
#include "app/kit/clock.h"
#include "app/kit/navigation.h"
#include "app/page_set.h"
#include "app/startup.h"
#include "engine/analysis_fits.h"
#include "engine/dose_expansion.h"
#include "engine/population_models.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "records/db/schema/empty_database.h"
#include "records/dosage_form.h"
#include "records/drug_catalogue.h"

double TestMoment() { return MomentOf(CivilDate{2012, 3, 15}, 10); }

PageTestEnvironment::PageTestEnvironment() {
    UsePrompts(&prompts);
    FixNow(TestMoment());
    TheCase() = CaseRecord{};
    Nav() = Navigation{};
    ConfiguredDatabasePath() = kDatabaseNotConfigured;
}

PageTestEnvironment::~PageTestEnvironment() {
    UsePrompts(nullptr);
    FixNow(std::nullopt);
}

std::filesystem::path PageTestEnvironment::Dir() const { return dir_.path().toStdString(); }

std::string PageTestEnvironment::MakeDatabase(const std::string& name) {
    const std::filesystem::path path = Dir() / name;
    CreateEmptyDatabase(path);
    return path.string();
}

void PageTestEnvironment::WriteFile(const std::string& name, const std::string& content) {
    std::ofstream(Dir() / name, std::ios::binary) << content;
}

void Click(QWidget* page, const char* buttonName) {
    auto* button = page->findChild<QPushButton*>(buttonName);
    QVERIFY2(button, buttonName);
    button->click();
}

PageAction Press(const char* buttonName) {
    return [buttonName](KinevoPage& p) { Click(&p, buttonName); };
}

void PressKey(QWidget* widget, int key) { QTest::keyClick(widget, static_cast<Qt::Key>(key)); }

void ExitWithOk(ScriptedPrompts& prompts, KinevoPage& page) {
    prompts.answers.push_back(true);
    page.close();
}

PageAction ExitOk(ScriptedPrompts& prompts) {
    return [&prompts](KinevoPage& p) { ExitWithOk(prompts, p); };
}

void SavePagePicture(QWidget& page, const QString& fileName) {
    SetDialogColours(*qobject_cast<QApplication*>(QApplication::instance()));
    page.show();
    QApplication::processEvents();
    const QPixmap picture = page.grab();
    QVERIFY(!picture.isNull());
    QVERIFY(picture.save(QDir(qEnvironmentVariable("KINEVO_SHOT_DIR")).filePath(fileName)));
}

void SetUpAdult(CaseRecord& r, const std::string& drug) {
    r.Patient_ID = "H123";
    r.PATIENT_LAST_NAME = "Doe";
    r.PATIENT_FIRST_NAME = "John";
    r.DisplayName = "Doe, John";
    SetBirthday(r, CivilDate{1961, 9, 1}, TestMoment());
    r.SEX = "M";
    r.Wt = 70;
    r.Ht = 175;
    r.SCr = 1.0;
    r.Drug_ID = drug;
}

void SetUpAdultWithHistory(const std::string& drug, std::vector<DoseRow> doses, std::vector<LevelRow> levels) {
    CaseRecord& r = TheCase();
    ResetCase(r, true);
    SetUpAdult(r, drug);
    r.Albumin = 4;
    SelectDrugModel(r);
    ChooseRouteProduct(r, DefaultRouteProduct(drug));
    r.history.doseRows = std::move(doses);
    r.history.levelRows = std::move(levels);
    const auto problem = AcceptHistory(r);
    QVERIFY2(!problem, problem ? problem->c_str() : "");
}

void FitAdultWithHistory(const std::string& drug, std::vector<DoseRow> doses, std::vector<LevelRow> levels) {
    SetUpAdultWithHistory(drug, std::move(doses), std::move(levels));
    CaseRecord& r = TheCase();
    ApplyFitRouteProducts(r, {r.RouteProduct});
    QVERIFY(RunAnalysisFits(r).fitted);
}

ChainResult RunChain(PageSet& pages, int firstCode, std::vector<Step> steps) {
    ChainResult result;
    std::size_t next = 0;
    std::vector<QMetaObject::Connection> connections;
    for (int c : {222, 32, 41, 42, 43, 5, 6, 71, 72, 73, 81, 82, 83, 9, 10, 12, 13, 14, 15}) {
        KinevoPage* page = pages.ForCode(c);
        connections.push_back(QObject::connect(page, &KinevoPage::opened, page, [&, page] {
            result.visited.push_back(page->DialogId());
            const bool expected = next < steps.size();
            PageAction act = expected ? steps[next].act : [](KinevoPage& p) { p.done(2); };
            ++next;
            // Runs once the page's own event loop has started.
            QTimer::singleShot(0, page, [page, act] { act(*page); });
        }));
    }
    result.code = RunPages(pages, firstCode);
    for (const auto& c : connections) QObject::disconnect(c);
    return result;
}

BoxAnswerer::BoxAnswerer() {
    UsePrompts(nullptr);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen << box->windowTitle() + ": " + box->text();
            box->buttons().first()->click();
        }
    });
    timer_.start(50);
}
