// The report page: the note rules, the report's texts, the page as it
// opens, and the report itself written to PDF, read back with pdftotext
// and rendered with pdftoppm.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPicture>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "output/report_content.h"
#include "output/report_texts.h"
#include "pages/report/report_heading.h"
#include "pages/report/report_note.h"
#include "pages/report/report_page.h"
#include "records/case_record.h"
#include "tests/pages/page_test_support.h"

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The PDF's text with every run of blanks as one.
QString PdfText(const QString& pdf) { return Run("pdftotext", {"-layout", pdf, "-"}).simplified(); }

// The PDF's page at 30 dots per inch: one pixel for ten report units.
QImage PdfImage(const QString& pdf) {
    const QString stem = pdf + "-page";
    Run("pdftoppm", {"-r", "30", "-png", "-singlefile", pdf, stem});
    const QString shots = qEnvironmentVariable("KINEVO_SHOT_DIR");
    if (!shots.isEmpty())
        Run("pdftoppm", {"-r", "100", "-png", "-singlefile", pdf, shots + "/" + QFileInfo(pdf).baseName()});
    return QImage(stem + ".png");
}

// A graph picture that fills report units x 300-2200, y 700-1400 with blue.
ReportPictures BluePictures() {
    ReportPictures pictures;
    QPainter painter(&pictures.graph);
    painter.fillRect(QRect(300, 700, 1900, 700), QColor(0, 0, 255));
    return pictures;
}

bool Blue(QRgb pixel) { return qBlue(pixel) > 200 && qRed(pixel) < 80 && qGreen(pixel) < 80; }

// Gentamicin, Bayesian set Vd 20 L and Cl 5 L/h (kd 0.25/h, t1/2 2.772 h);
// population Vd 17.5 L and Cl 4 L/h (kd 0.228571/h, t1/2 3.031875 h).
void SetUpGentamicin() {
    CaseRecord& r = TheCase();
    SetUpAdult(r, "gm");
    r.population = {1.0, 17.5, 4.0, 1.0, 0, 0};
    r.bayes = {1.0, 20.0, 5.0, 1.0, 0, 0};
    r.Cur_fit_method = kBayesian;
    ReportRegimen& g = r.reportRegimen;
    g = ReportRegimen{};
    g.fitType = kReportBayesian;
    g.routeCode = 'D';
    g.dose = "120.0", g.doseUnit = "mg", g.interval = "8.00", g.infusionTime = "0.5", g.postTime = "1";
    g.peak = "7.68", g.post = "6.51", g.trough = "1.07", g.average = "3.3", g.auc24 = "79";
}

// Phenytoin on two oral products, population set.
void SetUpPhenytoin() {
    CaseRecord& r = TheCase();
    SetUpAdult(r, "ph");
    r.Albumin = 4.4;
    r.population = {1.0, 49.0, 4.0, 1.0, 4.0, 490.0};
    r.Cur_fit_method = kPopulation;
    ReportRegimen& g = r.reportRegimen;
    g = ReportRegimen{};
    g.routeCode = 'O';
    g.dose = "300", g.doseUnit = "mg", g.interval = "24", g.product = "Capsules(Extended)";
    g.dose2 = "100", g.interval2 = "12", g.product2 = "Suspension";
    g.observedAverage = "12.3", g.adjustedAverage = "11.9";
    g.adjustedRangeLow = "9.7", g.adjustedRangeHigh = "19.4", g.steadyState90Days = "15.2";
}
}  // namespace

class ReportPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<ReportPage> page;

    QString Path(const char* name) const { return Q((env->Dir() / name).string()); }
    QLineEdit* Field(const char* name) const { return page->findChild<QLineEdit*>(name); }
    QCheckBox* Box(const char* name) const { return page->findChild<QCheckBox*>(name); }
    void OpenFrom(ReportSource source) {
        Nav().reportSource = source;
        page->Open();
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        page = std::make_unique<ReportPage>();
    }
    void cleanup() {
        page.reset();
        env.reset();
    }

    void noteJoinsTheCaseNoteWithinItsRoom() {
        const std::string stored120(120, 's'), typed30 = "abcdefghijklmnopqrstuvwxyz0123";
        QCOMPARE(Q(WithReportNote(stored120, typed30)), Q(stored120 + "\r\nReport Note: abcdefghijklmn"));
        const std::string typed140(140, 't');
        QCOMPARE(Q(WithReportNote("", typed140)), Q("Report Note: " + std::string(135, 't')));
        QCOMPARE(Q(WithReportNote(std::string(134, 's'), "more")), Q(std::string(134, 's')));
        QCOMPARE(Q(WithReportNote("", "")), QString("Report Note: "));
        QCOMPARE(Q(WithReportNote("Old", "new")), QString("Old\r\nReport Note: new"));
        // Characters, not bytes: 14 two-byte letters fit after 120 characters, none cut in half.
        std::string accents;
        for (int i = 0; i < 30; ++i) accents += "\xC3\xA9";
        const std::string joined = WithReportNote(stored120, accents);
        QCOMPARE(QString::fromUtf8(joined.c_str()).size(), 120 + 15 + 14);
        QCOMPARE(Q(joined).right(1), QString::fromUtf8("\xC3\xA9"));
    }

    void enteredClearanceAndAgeInMonths() {
        CaseRecord r;
        // An entered clearance stands alone one line down; a baby's age in months.
        r.SCr = 0, r.CrCl = 55, r.Age = 1.5, r.Patient_ID = "B7";
        const ReportContent c =
            ReportContentOf(r, ReportHeadingOf(r, TestMoment()), {}, ReportKind::Population, {}, "", TestMoment());
        QCOMPARE(Q(c.renal + "|" + c.enteredClearance), QString("|Entered CLcr: 55.0 mL/min"));
        QCOMPARE(Q(c.age + "|" + c.patientNumber), QString("Age: 18.0 Months |Patient #B7"));
    }

    void pageOpensAsTheSourceAsks() {
        SetUpGentamicin();
        TheCase().reportRegimen.postTime = "1.50";
        OpenFrom(ReportSource::BayesianResults);
        QCOMPARE(page->findChild<QLabel*>("recommendation")->text(),
                 QString("Dosage Recommendation - Bayes Parameters"));
        QCOMPARE(page->findChild<QGroupBox*>("analysis")->title(), QString("Bayes Parameters: 03/15/2012"));
        QCOMPARE(Field("dose")->text(), QString("120"));
        QCOMPARE(Field("interval")->text(), QString("8"));
        QCOMPARE(Field("peak")->text(), QString("7.7"));
        QCOMPARE(page->findChild<QLabel*>("postLabel")->text(), QString("Post (1.5 hr):"));
        QVERIFY(Field("post")->isVisibleTo(page.get()));
        // Alt+V is the preview's, not a "v" in the Case Note.
        QCOMPARE(page->findChild<QPushButton*>("preview")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_V));
        QCOMPARE(page->findChild<QLabel*>("levels")->text(), QString("Levels (mg/L)"));
        QVERIFY(Field("infusionTime")->isVisibleTo(page.get()));
        QVERIFY(!page->findChild<QLabel*>("uneven")->isVisibleTo(page.get()));
        QCOMPARE(Field("vd")->text(), QString("20.00"));
        QCOMPARE(Field("kdOrVm")->text(), QString("0.25"));
        for (const char* name : {"printGraphics", "printPopulation", "printPeak"})
            QVERIFY(Box(name)->isChecked() && Box(name)->isEnabled());
        QCOMPARE(page->focusWidget(), page->findChild<QWidget*>("caseNote"));

        // A forecast page's population report: no graph, no peak; an unknown fit type keeps the last one.
        TheCase().Cur_fit_method = kPopulation;
        TheCase().reportRegimen.fitType = 7;
        TheCase().reportRegimen.routeCode = 'O';
        TheCase().reportRegimen.unevenDoses = {{100, 8}};
        TheCase().reportRegimen.postTime.clear();
        page->SetFitType(kReportPopulation);
        OpenFrom(ReportSource::OralForecast);
        QCOMPARE(env->prompts.Texts(), QStringList{"Kinevo ERROR: Unrecognized Fit Type"});
        QCOMPARE(page->findChild<QLabel*>("recommendation")->text(),
                 QString("Dosage Recommendation - Population Parameters"));
        QVERIFY(!Box("printGraphics")->isChecked() && !Box("printGraphics")->isEnabled());
        QVERIFY(!Box("printPeak")->isChecked() && !Box("printPeak")->isEnabled());
        QVERIFY(!Box("printPopulation")->isEnabled());
        QVERIFY(!Field("infusionTime")->isVisibleTo(page.get()));
        QVERIFY(page->findChild<QLabel*>("uneven")->isVisibleTo(page.get()));
        // An oral regimen has no post sample: no "Post ( hr):" row.
        QVERIFY(!Field("post")->isVisibleTo(page.get()));
        QVERIFY(!page->findChild<QLabel*>("postLabel")->isVisibleTo(page.get()));

        // Phenytoin: no peak even on a fitted report; the note stops at 150 characters.
        SetUpPhenytoin();
        TheCase().reportRegimen.fitType = kReportLeastSquares;
        TheCase().population.Vm = 5001;  // beyond any patient: shown empty
        OpenFrom(ReportSource::PhenytoinForecast);
        QCOMPARE(Field("clOrKm")->text() + "|" + Field("kdOrVm")->text(), QString("4.00|"));
        QCOMPARE(page->findChild<QGroupBox*>("analysis")->title(), QString("Least Squares Parameters: 03/15/2012"));
        QVERIFY(Box("printGraphics")->isEnabled() && !Box("printPeak")->isEnabled());
        QVERIFY(Field("dose2")->isVisibleTo(page.get()));
        auto* note = page->findChild<QPlainTextEdit*>("caseNote");
        QTest::keyClicks(note, QString(160, 'n'));
        QCOMPARE(note->toPlainText().size(), 150);
        if (!qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) SavePagePicture(*page, "report_page_phenytoin.png");
    }

    void bayesianReportAsPdf() {
        SetUpGentamicin();
        TheCase().Case_Note = "Stored";
        // What the Bayesian set asks to check reaches the page and the paper.
        TheCase().bayesRange.caution = "Bayesian fit: fitted F is 104.0 %, above 100 %.";
        int recorded = 0, askedFor = 0;
        page->SetPictureRecorder([&](int fitMethod) {
            ++recorded;
            askedFor = fitMethod;
            return BluePictures();
        });
        OpenFrom(ReportSource::BayesianResults);
        QCOMPARE(page->findChild<QLabel*>("caution")->text(),
                 QString("Caution: Bayesian fit: fitted F is 104.0 %, above 100 %."));
        page->findChild<QPlainTextEdit*>("caseNote")->setPlainText("Check levels Friday.");
        if (!qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) SavePagePicture(*page, "report_page_gentamicin.png");
        env->prompts.pdfPaths = {Path("missing-folder/x.pdf"), Path("bayes_gentamicin.pdf")};
        Click(page.get(), "savePdf");
        QCOMPARE(env->prompts.Texts().last(),
                 "The report could not be written to " + QDir::toNativeSeparators(Path("missing-folder/x.pdf")) + ".");
        QCOMPARE(Q(TheCase().Case_Note), QString("Stored"));
        Click(page.get(), "savePdf");
        QCOMPARE(Q(TheCase().Case_Note), QString("Stored\r\nReport Note: Check levels Friday."));
        QCOMPARE(askedFor, int(kBayesian));

        const QString text = PdfText(Path("bayes_gentamicin.pdf"));
        for (const QString& expected :
             {QString("THERAPEUTIC DRUG MONITORING REPORT"), QString("Gentamicin"),
              QString("Doe, John Patient #H123 Date: 03/15/2012 10:00"), QString("Pharmacokinetic Parameters"),
              QString("Population Bayesian"), QString("Clearance (L/hr): 4.00 5.00"),
              QString("Time to SS (hr): 12.12 11.08"), QString("Half-Life (hr): 3.03 2.77"),
              QString("Maintenance Dosage Regimen Based on Bayesian Parameters"),
              QString("DOSE: 120 mg every 8 hours as an Intermittent Infusion Infused Over 0.5 Hour(s)."),
              QString("PREDICTED LEVELS (mg/L): Peak: 7.7 Post (1 hr): 6.5 Trough: 1.1"),
              QString::fromUtf8("AUC24: 79 mg\u00b7h/L"), QString("Comments Caution: Bayesian"),
              QString("F is 104.0 %, above 100 %. Check levels Friday."), QString("Signature")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " in: " + text));
        // The evidence follows on a second page; without levels it has no posterior to draw on.
        QVERIFY(Run("pdfinfo", {Path("bayes_gentamicin.pdf")}).contains(QRegularExpression("Pages:\\s+2\\b")));
        const QString evidence = Run("pdftotext", {"-layout", "-f", "2", "-l", "2", Path("bayes_gentamicin.pdf"), "-"});
        for (const QString& expected : {QString("Gentamicin - Evidence for the Recommendation"),
                                        QString("No dosing history entered."), QString("Not computed")})
            QVERIFY2(evidence.contains(expected), qPrintable(expected + " in: " + evidence));
        const QImage image = PdfImage(Path("bayes_gentamicin.pdf"));
        QCOMPARE(image.size(), QSize(255, 330));  // a letter page
        QVERIFY(Blue(image.pixel(125, 105)));     // the graph, report units (1250, 1050)

        // Printed after saving: to the end page as a fitted report, the note kept once.
        env->prompts.printerOutputFile = Path("printed.pdf");
        env->prompts.printerAnswers = {false, true};
        Click(page.get(), "print");
        QCOMPARE(env->prompts.Texts().last(), QString("Print Task canceled."));
        Click(page.get(), "print");
        QCOMPARE(page->result(), code::kEnd);
        QCOMPARE(Nav().endPageSource, EndSource::FittedReportPrinted);
        QCOMPARE(Q(TheCase().Case_Note), QString("Stored\r\nReport Note: Check levels Friday."));
        QCOMPARE(Nav().printedSet, TheCase().bayes);
        const QString info = Run("pdfinfo", {Path("printed.pdf")});
        QVERIFY2(info.contains("Kinevo Report") && info.contains("612 x 792 pts"), qPrintable(info));  // a letter page
        QVERIFY(PdfText(Path("printed.pdf")).contains("Based on Bayesian Parameters"));
        QCOMPARE(recorded, 2);  // the saved and the printed report, each afresh
    }

    void populationReportsHaveNoGraph() {
        SetUpPhenytoin();
        int recorded = 0;
        page->SetPictureRecorder([&](int) {
            ++recorded;
            return BluePictures();
        });
        OpenFrom(ReportSource::PhenytoinForecast);
        page->findChild<QPlainTextEdit*>("caseNote")->setPlainText("Dose raised.");
        env->prompts.pdfPaths = {Path("population_phenytoin.pdf")};
        Click(page.get(), "savePdf");
        const QString text = PdfText(Path("population_phenytoin.pdf"));
        for (const QString& expected :
             {QString("Phenytoin"), QString("Albumin: 4.40 g/dL"), QString("Population Pharmacokinetic Parameters"),
              QString("Vol. of Dist. (L): 49.00"), QString("Vmax (mg/day): 490.00"),
              QString("Adjusted Therapeutic Range (mg/L): 9.7-19.4"), QString("Time to 90% SS (days): 15.2"),
              QString("DOSE: 300 mg every 24 hours as Oral Capsules (Extended) and 100 mg every 12 hours as Oral "
                      "Suspension"),
              QString("PREDICTED LEVELS (mg/L): Observed Average: 12.3 Adjusted Average: 11.9")})
            QVERIFY2(text.contains(expected), qPrintable(expected + " in: " + text));
        QVERIFY(!text.contains("Peak"));
        QVERIFY(Run("pdfinfo", {Path("population_phenytoin.pdf")}).contains(QRegularExpression("Pages:\\s+1\\b")));
        QCOMPARE(recorded, 0);
        QVERIFY(!Blue(PdfImage(Path("population_phenytoin.pdf")).pixel(125, 105)));
        QCOMPARE(Q(TheCase().Case_Note), QString("Report Note: Dose raised."));

        // Printed from the preview: a population report leads on with 91.
        env->prompts.printerOutputFile = Path("preview.pdf");
        env->prompts.previewAnswers = {false, true};
        Click(page.get(), "preview");
        QCOMPARE(page->result(), 0);
        Click(page.get(), "preview");
        QCOMPARE(Nav().endPageSource, EndSource::PopulationReportPrinted);
        QCOMPARE(Q(TheCase().Case_Note), QString("Report Note: Dose raised."));
    }

    void realBoxAndPreview() {
        BoxAnswerer boxes;
        page->SetFitType(kReportLeastSquares);
        page->SetFitType(3);
        QCOMPARE(boxes.seen, QStringList{"Kinevo: Kinevo ERROR: Unrecognized Fit Type"});
        SetUpGentamicin();
        TheCase().reportRegimen.fitType = 5;
        OpenFrom(ReportSource::IvForecast);
        QCOMPARE(page->findChild<QLabel*>("recommendation")->text(),
                 QString("Dosage Recommendation - Least Squares Parameters"));
        // The real preview draws the report; closed without printing, the page stays.
        int drawn = 0;
        page->SetPictureRecorder([&](int) {
            ++drawn;
            return BluePictures();
        });
        QTimer::singleShot(500, [] {
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget()))
                preview->reject();
        });
        Click(page.get(), "preview");
        QVERIFY(drawn > 0);
        QCOMPARE(page->result(), 0);
        QCOMPARE(Q(TheCase().Case_Note), QString());
    }
};

QTEST_MAIN(ReportPageTest)
#include "report_page_test.moc"
