// The exit question on Esc and the close box, the pages that differ from it,
// the Enter key, and the window state carried from page to page.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "pages/patient/welcome_page.h"
#include "records/case_record.h"
#include "tests/pages/page_test_support.h"

namespace {
// A data-entry page with three fields in its Enter order.
class ThreeFieldPage : public KinevoPage {
public:
    // A number no page of the program has, so none of theirs is displaced.
    ThreeFieldPage() : KinevoPage(static_cast<PageId>(901), "fields", std::nullopt) {
        for (QLineEdit*& f : fields) {
            f = new QLineEdit(this);
            Body()->addWidget(f);
        }
        SetFieldOrder({fields[0], fields[1], fields[2]});
    }
    QLineEdit* fields[3];

protected:
    void OnEnter() override { FocusNextField(); }
};
}  // namespace

class ExitAndKeysTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;

    static void Show(KinevoPage& page) {
        page.Open();
        page.show();
        page.setResult(-1);
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

    void cancelLeavesThePageAsItWas() {
        SearchPage& search = pages->search();
        Show(search);
        search.findChild<QLineEdit*>("lastName")->setText("Smith");
        env->prompts.answers = {false, false};
        PressKey(&search, Qt::Key_Escape);
        search.close();
        QCOMPARE(env->prompts.Texts(),
                 (QStringList{"Are you sure you want to exit Kinevo?", "Are you sure you want to exit Kinevo?"}));
        QCOMPARE(env->prompts.shown[0].kind, ShownPrompt::OkCancel);
        QCOMPARE(env->prompts.shown[0].title, QString("Kinevo"));
        QVERIFY(search.isVisible());
        QCOMPARE(search.result(), -1);
        QCOMPARE(search.findChild<QLineEdit*>("lastName")->text(), QString("Smith"));
    }

    void okEndsTheProgram() {
        for (KinevoPage* page :
             {static_cast<KinevoPage*>(&pages->factors()), static_cast<KinevoPage*>(&pages->history()),
              static_cast<KinevoPage*>(&pages->report())}) {
            Show(*page);
            env->prompts.answers = {true};
            PressKey(page, Qt::Key_Escape);
            QVERIFY(!page->isVisible());
            QCOMPARE(page->result(), code::kExitConfirmed);
        }
    }

    void graphPageEscOnlyRedraws() {
        AnalysisGraphPage& graph = pages->analysisGraph();
        Show(graph);
        PressKey(&graph, Qt::Key_Escape);
        QCOMPARE(graph.Redraws(), 1);
        QVERIFY(env->prompts.shown.empty());
        QVERIFY(graph.isVisible());
        env->prompts.answers = {true};
        graph.close();  // the close box redraws, then asks
        QCOMPARE(graph.Redraws(), 2);
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(graph.result(), code::kExitConfirmed);
    }

    void endPageAsksOnEnterAndEndsWithZero() {
        EndPage& end = pages->end();
        Show(end);
        end.setFocus();
        env->prompts.answers = {false};
        PressKey(&end, Qt::Key_Return);  // Exit is the default button
        QCOMPARE(env->prompts.Texts(), QStringList{"Are you sure you want to exit Kinevo?"});
        QVERIFY(end.isVisible());
        env->prompts.answers = {true};
        end.close();
        QCOMPARE(end.result(), code::kEndProgram);
    }

    void welcomePageClosesWithoutAQuestion() {
        for (int key : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
            WelcomePage welcome(ProgramFiles::In(env->Dir()), [](int) { return 1; });
            Show(welcome);
            welcome.setFocus();
            PressKey(&welcome, key);
            QVERIFY(!welcome.isVisible());
            QCOMPARE(welcome.result(), code::kEndProgram);
        }
        QCOMPARE(env->prompts.Texts(),
                 (QStringList{"Your database is not configured. \n Please press the Configure Database button.",
                              "Your database is not configured. \n Please press the Configure Database button."}));
    }

    void enterNeverClosesADataEntryPage() {
        for (KinevoPage* page :
             {static_cast<KinevoPage*>(&pages->factors()), static_cast<KinevoPage*>(&pages->ivForecast()),
              static_cast<KinevoPage*>(&pages->newPatient()), static_cast<KinevoPage*>(&pages->userChoice())}) {
            Show(*page);
            page->setFocus();
            PressKey(page, Qt::Key_Return);
            QVERIFY(page->isVisible());
            QCOMPARE(page->result(), -1);
            page->hide();
        }
    }

    void enterMovesAlongTheFieldsAndWraps() {
        ThreeFieldPage page;
        Show(page);
        QApplication::setActiveWindow(&page);
        page.fields[0]->setFocus();
        for (int expected : {1, 2, 0}) {
            PressKey(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), page.fields[expected]);
        }
        QVERIFY(page.isVisible());
    }

    void enterOnTheSearchPageActsAsNext() {
        Show(pages->search());
        pages->search().findChild<QLineEdit*>("patientId")->setText("H1");
        PressKey(pages->search().findChild<QLineEdit*>("patientId"), Qt::Key_Return);
        QCOMPARE(pages->search().result(), code::kList);
    }

    void windowStateCarriesOver() {
        Show(pages->factors());
        pages->factors().showMaximized();
        Click(&pages->factors(), "previous");
        QVERIFY(Nav().maximized);
        pages->newPatient().Open();
        QVERIFY(pages->newPatient().windowState() & Qt::WindowMaximized);
        pages->newPatient().show();
        pages->newPatient().showNormal();
        Click(&pages->newPatient(), "previous");
        QVERIFY(!Nav().maximized);
        pages->search().Open();
        QVERIFY(!(pages->search().windowState() & Qt::WindowMaximized));
    }

    void everyPageIsTitledKinevo() {
        for (int c : {222, 32, 41, 42, 43, 5, 6, 71, 72, 73, 81, 82, 83, 9, 10, 12, 13, 14, 15})
            QCOMPARE(pages->ForCode(c)->windowTitle(), QString("Kinevo"));
    }
};

QTEST_MAIN(ExitAndKeysTest)
#include "exit_and_keys_test.moc"
