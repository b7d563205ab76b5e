// The program's real message boxes, answered by a timer as a user would: a
// database error met while no page is on screen (the box is the only window)
// leads back to the welcome page, and the program goes on.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/kit/page_base.h"
#include "app/startup.h"
#include "tests/pages/page_test_support.h"

class ErrorBoxTest : public QObject {
    Q_OBJECT

    // Acts on whatever window is up, every 50 ms, until the welcome page has
    // been seen again after each error; then closes it.
    struct Driver {
        std::vector<QString> searches;  // end dates or last names, one per round
        std::function<void(int)> beforeRound;
        int round = 0;
        bool searching = false;
        QStringList errors;
        int welcomesAfterError = 0;

        // Next is pressed from the event loop, not inside this tick: the page
        // it opens runs its own loop, in which the timer must tick again.
        static void Later(KinevoPage* page) {
            QMetaObject::invokeMethod(
                page, [page] { Click(page, "next"); }, Qt::QueuedConnection);
        }

        void Tick() {
            QWidget* w = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                errors << box->text();
                box->buttons().first()->click();
                return;
            }
            auto* page = qobject_cast<KinevoPage*>(w);
            if (!page || !page->isVisible()) return;
            if (page->DialogId() == PageId::Welcome) {
                if (searching) ++welcomesAfterError, searching = false;
                if (round == static_cast<int>(searches.size())) {
                    page->close();
                    return;
                }
                if (beforeRound) beforeRound(round);
                searching = true;
                Later(page);
            } else if (page->DialogId() == PageId::Search) {
                const QString& text = searches[round++];
                page->findChild<QLineEdit*>(text.contains('/') ? "endDate" : "lastName")->setText(text);
                Later(page);
            }
        }
    };

private slots:
    void databaseErrorsGoBackToTheWelcomePage() {
        PageTestEnvironment env;
        UsePrompts(nullptr);  // the real boxes
        const std::string db = env.MakeDatabase("work.mdb");
        env.WriteFile("Options.dat", db + "\n");
        Driver driver;
        // An end date alone, then a name search after the file was removed.
        driver.searches = {"03/15/2012", "Smith"};
        driver.beforeRound = [&](int round) {
            if (round == 1) std::filesystem::remove(db);
        };
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { driver.Tick(); });
        timer.start(50);
        QTimer::singleShot(60000, [] { QApplication::exit(1); });  // a hang fails, it does not block
        QCOMPARE(RunProgram(*qApp, env.Dir()), 0);
        QCOMPARE(driver.errors.size(), 2);
        QCOMPARE(driver.welcomesAfterError, 2);
    }
};

QTEST_MAIN(ErrorBoxTest)
#include "error_box_test.moc"
