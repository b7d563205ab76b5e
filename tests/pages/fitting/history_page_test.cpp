// The dosing and level history page: typing rows as a user would, the
// checks on leaving a cell and on Next, the conversion read back from the
// record, and a history stored through the end page and shown again.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "tests/pages/page_test_support.h"

using Row = std::vector<const char*>;

class HistoryPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;

    HistoryPage& Page() { return pages->history(); }
    void OpenPage() {
        Page().Open();
        Page().show();
        Page().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Page()));
    }
    QLineEdit* Cell(const char* kind, int row, int column) {
        return Page().findChild<QLineEdit*>(QString("%1%2_%3").arg(kind).arg(row).arg(column));
    }
    // Clicks into the cell, types, and leaves it with Tab.
    void Type(const char* kind, int row, int column, const QString& text) {
        QLineEdit* cell = Cell(kind, row, column);
        cell->setFocus();
        cell->setText(text);
        PressKey(cell, Qt::Key_Tab);
    }
    void TypeRow(const char* kind, int row, const Row& texts) {
        for (int c = 0; c < static_cast<int>(texts.size()); ++c)
            if (texts[c]) Type(kind, row, c, texts[c]);
    }
    QStringList RowTexts(const char* kind, int row, int columns) {
        QStringList t;
        for (int c = 0; c < columns; ++c) t << Cell(kind, row, c)->text();
        return t;
    }
    QString LastMessage() { return env->prompts.shown.empty() ? QString() : env->prompts.shown.back().text; }
    QString LastTitle() { return env->prompts.shown.back().title; }
    // Next; the page's result code, 0 while it stays open.
    int Next() {
        Page().setResult(0);
        Click(&Page(), "next");
        return Page().result();
    }
    std::vector<double> EventTimes() {
        std::vector<double> t;
        for (const DoseEvent& e : TheCase().history.events) t.push_back(e.time);
        return t;
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
        ResetCase(TheCase(), true);
        SetUpAdult(TheCase(), "gm");
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void cellRulesOnLeaving() {
        TheCase().Drug_ID = "th";
        OpenPage();
        // An empty year, month and minute in a row in use take today's date
        // (15 March 2012) and ":00"; single digits get their leading zero.
        TypeRow("dose", 1, {nullptr, nullptr, "7", "6", nullptr, "300", "po", "0", "8", "3", "i"});
        for (int column : {0, 1, 4}) Type("dose", 1, column, "");
        QCOMPARE(RowTexts("dose", 1, 11),
                 (QStringList{"2012", "03", "07", "06", "00", "300.00", "O", "", "8.00", "3", "I"}));
        Type("dose", 2, 6, "d");
        QCOMPARE(Cell("dose", 2, 6)->text(), QString("IV"));
        QVERIFY(env->prompts.shown.empty());
        // Moving through an untouched row leaves it blank.
        Type("dose", 3, 0, "");
        Type("dose", 3, 1, "");
        QCOMPARE(Cell("dose", 3, 0)->text(), QString());
        QCOMPARE(Cell("dose", 3, 1)->text(), QString());

        // Range messages keep the text and the focus; IP/OP is emptied.
        const std::vector<std::tuple<int, const char*, const char*>> refused = {
            {1, "13", "Please Input Valid Month Value 1 to 12."},
            {2, "0", "Please Input Valid Day Value 1 to 31."},
            {3, "24", "Please Input Valid Hour Value 0 to 23."},
            {4, "60", "Please Input Valid Minutes Value 0 to 59."},
            {6, "IM", "Please input valid route.(IV or O)"},
        };
        for (const auto& [column, text, message] : refused) {
            Type("dose", 4, column, text);
            QCOMPARE(LastMessage(), QString(message));
            QCOMPARE(LastTitle(), QString("Kinevo"));
            QCOMPARE(Cell("dose", 4, column)->text(), QString(text));
            QCOMPARE(QApplication::focusWidget(), Cell("dose", 4, column));
            Cell("dose", 4, column)->clear();
        }
        Type("dose", 4, 10, "x");
        QCOMPARE(LastMessage(), QString("Please input I or O. "));
        QCOMPARE(Cell("dose", 4, 10)->text(), QString());

        // Year "x" clears its row and every row after it.
        Type("level", 1, 5, "4.5");
        Type("level", 2, 5, "-1");
        Type("dose", 2, 0, "X");
        QCOMPARE(RowTexts("dose", 1, 11).join(""), QString("201203070600300.00O8.003I"));
        for (int row = 2; row <= 10; ++row) QVERIFY(RowTexts("dose", row, 11).join("").isEmpty());
        QCOMPARE(Cell("level", 2, 5)->text(), QString("-1.00"));

        // Arrows move to the neighbouring cell, F2 between the histories.
        Cell("dose", 1, 2)->setFocus();
        PressKey(Cell("dose", 1, 2), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Cell("dose", 2, 2));
        PressKey(Cell("dose", 2, 2), Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), Cell("dose", 2, 3));
        PressKey(Cell("dose", 2, 3), Qt::Key_F2);
        QCOMPARE(QApplication::focusWidget(), Cell("level", 1, 0));
        PressKey(Cell("level", 1, 0), Qt::Key_F2);
        QCOMPARE(QApplication::focusWidget(), Cell("dose", 1, 0));

        // The dose unit button names the column and the case's unit.
        auto* unit = Page().findChild<QPushButton*>("doseUnit");
        QCOMPARE(unit->text(), QString("Dose (mg)"));
        unit->click();
        QCOMPARE(unit->text(), QString("Dose (mcg)"));
        QCOMPARE(TheCase().DoseUnit, std::string("mcg"));
    }

    void routesOfTheUsersChoiceDrug() {
        CaseRecord& r = TheCase();
        r.Drug_ID = "zz";
        r.userDrug.ivSalt = "1";
        OpenPage();
        Type("dose", 1, 6, "iv");
        QVERIFY(env->prompts.shown.empty());
        for (const auto& [text, message] : {std::pair{"IM", "Please input valid route. IM is not valid for this drug"},
                                            {"po", "Please input valid route. O is not valid for this drug"},
                                            {"SC", "Please input valid route.(IM or IV or O)"}}) {
            Type("dose", 1, 6, text);
            QCOMPARE(LastMessage(), QString(message));
        }
    }

    void rowMessagesByPrecedence() {
        OpenPage();
        const Row complete = {"2012", "3", "14", "6", "0", "80", "IV", "0.5", "8", "3", "I"};
        TypeRow("dose", 1, complete);
        Row noInfusion = complete;
        noInfusion[7] = "";
        TypeRow("dose", 2, noInfusion);
        TypeRow("level", 1, {"2012", "3", "14", "", "", "5"});  // no time
        TypeRow("level", 2, {"2012", "3", "14", "13", "30", "5"});
        TypeRow("level", 3, {"2012", "3", "14", "20", "0", ""});  // no level
        // The dose row first, then the last incomplete level row, each
        // titled "Warning" with the focus back in the first cell.
        QCOMPARE(Next(), 0);
        QCOMPARE(LastMessage(), QString(" Error in Dose Entry # 2"));
        QCOMPARE(LastTitle(), QString("Warning"));
        QCOMPARE(QApplication::focusWidget(), Cell("dose", 1, 0));
        Type("dose", 2, 7, "0.5");
        QCOMPARE(Next(), 0);
        QCOMPARE(LastMessage(), QString(" Error in Level Entry # 3"));
        Type("level", 3, 5, "7");
        QCOMPARE(Next(), 0);
        QCOMPARE(LastMessage(), QString(" Error in Level Entry # 1"));
        Type("level", 1, 3, "10");
        // 600 + 401 events are more than 1000.
        Type("dose", 1, 9, "600");
        Type("dose", 2, 9, "401");
        QCOMPARE(Next(), 0);
        QCOMPARE(LastMessage(), QString("Data Entry Not Complete.\nOr \nToo Many Doses Entered."));
        QCOMPARE(LastTitle(), QString("Warning"));
        Type("dose", 2, 9, "400");
        QCOMPARE(Next(), code::kAnalysisGraph);
        QVERIFY(TheCase().history.present);
    }

    void conversionReadBack() {
        OpenPage();
        // Three doses every 8 h from 06:00: 06:00, 14:00 and 22:00.
        TypeRow("dose", 1, {"2012", "3", "14", "6", "0", "80", "IV", "0.5", "8", "3", "I"});
        TypeRow("level", 1, {"2012", "3", "14", "13", "30", "5"});
        QCOMPARE(Next(), code::kAnalysisGraph);
        QCOMPARE(EventTimes(), (std::vector<double>{0, 8, 16}));
        QCOMPARE(TheCase().history.levels.at(0).time, 7.5);
        QCOMPARE(Page().findChild<QLabel*>("timeZero")->text(), QString("Time zero: 03/14 06:00"));

        // A level an hour before the first dose moves time zero to it.
        Type("level", 1, 3, "5");
        Type("level", 1, 4, "0");
        QCOMPARE(Next(), code::kAnalysisGraph);
        QCOMPARE(EventTimes(), (std::vector<double>{1, 9, 17}));
        QCOMPARE(TheCase().history.levels.at(0).time, 0.0);
        QCOMPARE(Page().findChild<QLabel*>("timeZero")->text(), QString("Time zero: 03/14 05:00"));

        // 31 December to 1 January at the same clock time is 24 h, after a
        // common year and after a leap year; 28 February to 1 March of a
        // leap year is 48 h.
        const std::vector<std::tuple<Row, Row, double>> spans = {
            {{"2011", "12", "31"}, {"2012", "1", "1"}, 24},
            {{"2012", "12", "31"}, {"2013", "1", "1"}, 24},
            {{"2012", "2", "28"}, {"2012", "3", "1"}, 48},
        };
        for (const auto& [doseDay, levelDay, hours] : spans) {
            TypeRow("dose", 1, doseDay);
            TypeRow("dose", 1, {nullptr, nullptr, nullptr, "8", "0", nullptr, nullptr, nullptr, nullptr, "1"});
            TypeRow("level", 1, levelDay);
            TypeRow("level", 1, {nullptr, nullptr, nullptr, "8", "0"});
            QCOMPARE(Next(), code::kAnalysisGraph);
            QCOMPARE(TheCase().history.levels.at(0).time, hours);
        }
    }

    void levelDuringAnInfusion() {
        TheCase().Drug_ID = "vm";
        OpenPage();
        TypeRow("dose", 1, {"2012", "3", "14", "8", "0", "1000", "IV", "1", "12", "1", "I"});
        TypeRow("level", 1, {"2012", "3", "14", "8", "30", "20"});
        QCOMPARE(Next(), 0);
        QCOMPARE(LastMessage(), QString("A Level Is Taken During Infusion Of The Dose. Please Check Data Entry."));
        QCOMPARE(LastTitle(), QString("Warning"));
        QVERIFY(!TheCase().history.present);
        Type("level", 1, 3, "9");
        Type("level", 1, 4, "0");
        QCOMPARE(Next(), code::kAnalysisGraph);
    }

    void previousKeepsTheTexts() {
        OpenPage();
        TypeRow("dose", 1, {"2012", "3", "14", "6", "15", "80", "IM"});
        Click(&Page(), "previous");
        QCOMPARE(Page().result(), code::kFittingSetUp);
        ResetPage(PageId::History);  // as the set-up page's Next does on the way back
        OpenPage();
        QCOMPARE(RowTexts("dose", 1, 11), (QStringList{"2012", "03", "14", "06", "15", "80.00", "IM", "", "", "", ""}));
    }

    void storedHistoryIsShownAgain() {
        ConfiguredDatabasePath() = env->MakeDatabase("history.mdb");
        OpenPage();
        const std::vector<Row> doses = {{"2012", "3", "13", "6", "0", "80", "IV", "0.5", "8", "3", "I"},
                                        {"2012", "3", "14", "6", "0", "100", "IM", "", "12", "2", "O"}};
        for (int i = 0; i < 2; ++i) TypeRow("dose", i + 1, doses[i]);
        TypeRow("level", 1, {"2012", "3", "14", "5", "30", "1.2"});
        TypeRow("level", 2, {"2012", "3", "15", "8", "0", "-1"});
        QStringList typed;
        for (int row = 1; row <= 2; ++row) typed << RowTexts("dose", row, 11) << RowTexts("level", row, 6);
        QCOMPARE(Next(), code::kAnalysisGraph);
        // The way on from the analysis results, which showed a set.
        Nav().endPageSource = EndSource::AnalysisResults;
        Nav().shownParameters = PageParameterTexts{"100", "20.5", "4.2", "100", "", "", 1.0, 1.0};
        pages->end().Open();
        Click(&pages->end(), "save");
        QVERIFY(env->prompts.shown.empty());
        QCOMPARE(TheCase().Case_number, 1);
        // Opened again after the rows were dropped from memory.
        TheCase().history = History{};
        ResetPage(PageId::History);
        OpenPage();
        QStringList shown;
        for (int row = 1; row <= 2; ++row) shown << RowTexts("dose", row, 11) << RowTexts("level", row, 6);
        QCOMPARE(shown, typed);
        QVERIFY(RowTexts("dose", 3, 11).join("").isEmpty());
        // Every row deleted stays deleted when the page is shown again.
        Type("dose", 1, 0, "x");
        Type("level", 1, 0, "x");
        Click(&Page(), "previous");
        ResetPage(PageId::History);
        OpenPage();
        QVERIFY(RowTexts("dose", 1, 11).join("").isEmpty());
        QVERIFY(RowTexts("level", 1, 6).join("").isEmpty());
    }

    // The real message box of a route refusal, answered by a timer; its
    // picture is kept over the page's for a person to look at.
    void realRouteMessageBox() {
        UsePrompts(nullptr);
        TheCase().Drug_ID = "vm";
        OpenPage();
        for (int row = 1; row <= 4; ++row)
            TypeRow(
                "dose", row,
                {"2012", "3", QByteArray::number(10 + row).constData(), "8", "0", "1000", "IV", "1", "12", "2", "I"});
        TypeRow("level", 1, {"2012", "3", "12", "7", "30", "8.5"});
        TypeRow("level", 2, {"2012", "3", "14", "19", "0", "24.1"});
        QString boxText;
        QTimer::singleShot(100, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            boxText = box->text();
            QPixmap picture = Page().grab();
            const QPixmap boxPicture = box->grab();
            QPainter painter(&picture);
            painter.drawPixmap((picture.width() - boxPicture.width()) / 2, (picture.height() - boxPicture.height()) / 2,
                               boxPicture);
            painter.end();
            picture.save(QDir(qEnvironmentVariable("KINEVO_SHOT_DIR")).filePath("history-route-message.png"));
            box->buttons().first()->click();
        });
        Type("dose", 5, 6, "po");
        QCOMPARE(boxText, QString("Please input valid route.(IV)"));
        QCOMPARE(Page().focusWidget(), Cell("dose", 5, 6));
        UsePrompts(&env->prompts);
    }
};

QTEST_MAIN(HistoryPageTest)
#include "history_page_test.moc"
