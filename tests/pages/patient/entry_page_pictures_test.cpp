// Pictures of the new-patient entry page refusing a weight: the page, the
// message box, and the box over the page, written as PNG files into $KINEVO_SHOT_DIR for a
// person to look at.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/kit/institution.h"
#include "app/page_set.h"
#include "app/startup.h"
#include "records/db/configuration.h"
#include "tests/pages/page_test_support.h"

class EntryPagePicturesTest : public QObject {
    Q_OBJECT
    static QString ShotPath(const QString& name) {
        return QDir(qEnvironmentVariable("KINEVO_SHOT_DIR")).filePath(name);
    }

private slots:
    void grabNewPatientPageWithAFieldMessage() {
        if (qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) QSKIP("KINEVO_SHOT_DIR not set");
        SetDialogColours(*qobject_cast<QApplication*>(QApplication::instance()));
        PageTestEnvironment env;
        InstitutionName() = "St. Mary's Hospital Pharmacy";
        ConfiguredDatabasePath() = env.MakeDatabase("work.mdb");
        PageSet pages;
        EntryPage& page = pages.newPatient();
        page.Open();
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        auto set = [&page](const char* name, const QString& text) { page.findChild<QLineEdit*>(name)->setText(text); };
        set("lastName", "Smith");
        set("firstName", "Anna");
        set("hospitalId", "H77");
        set("birthday", "1/5/1950");
        page.findChild<QRadioButton*>("female")->setChecked(true);
        page.findChild<QComboBox*>("drug")->setCurrentText("Phenytoin");
        set("height", "165");
        set("scr", "0.9");
        set("albumin", "3.6");
        // Leaving the birthday pads it; leaving the weight refuses 1200.
        page.findChild<QLineEdit*>("birthday")->setFocus();
        page.findChild<QLineEdit*>("weight")->setFocus();
        QTest::keyClicks(page.findChild<QLineEdit*>("weight"), "1200");
        page.findChild<QLineEdit*>("height")->setFocus();
        QApplication::processEvents();
        QCOMPARE(env.prompts.Texts().size(), 1);
        QCOMPARE(page.findChild<QLineEdit*>("birthday")->text(), QString("01/05/1950"));
        page.UpdateButtons();

        QMessageBox box(QMessageBox::Warning, env.prompts.shown[0].title, env.prompts.shown[0].text, QMessageBox::Ok,
                        &page);
        box.show();
        QApplication::processEvents();
        const QPixmap boxPicture = box.grab();
        QVERIFY(boxPicture.save(ShotPath("entry_page_message_box.png")));
        QPixmap picture = page.grab();
        QVERIFY(picture.save(ShotPath("entry_page.png")));
        {
            // The box as the window system frames it: a title bar with its title.
            QPainter painter(&picture);
            const int titleHeight = 24;
            const QRect frame((picture.width() - boxPicture.width()) / 2,
                              (picture.height() - boxPicture.height() - titleHeight) / 2, boxPicture.width(),
                              boxPicture.height() + titleHeight);
            painter.fillRect(frame, QColor(60, 60, 90));
            painter.setPen(Qt::white);
            painter.drawText(frame.adjusted(8, 0, 0, 0).topLeft() + QPoint(0, 17), box.windowTitle());
            painter.drawPixmap(frame.left(), frame.top() + titleHeight, boxPicture);
            painter.setPen(QColor(60, 60, 90));
            painter.drawRect(frame.adjusted(0, 0, -1, -1));
        }
        QVERIFY(picture.save(ShotPath("entry_page_message.png")));
        InstitutionName().clear();
    }

    void disabledButtonsLookDisabled() {
        SetDialogColours(*qobject_cast<QApplication*>(QApplication::instance()));
        PageTestEnvironment env;
        PageSet pages;
        EntryPage& page = pages.newPatient();
        page.Open();
        page.show();
        QApplication::processEvents();
        // The darkest pixel of a caption: black when in use, grey when not.
        auto darkest = [&page](const char* name) {
            auto* button = page.findChild<QPushButton*>(name);
            const QImage image = button->grab().toImage();
            int least = 255;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) least = std::min(least, qGray(image.pixel(x, y)));
            return std::pair{button->isEnabled(), least};
        };
        QCOMPARE(darkest("previous"), std::pair(true, 0));
        for (const char* name : {"save", "next"}) {
            const auto [enabled, least] = darkest(name);
            QVERIFY(!enabled);
            QVERIFY2(least > 90, name);
        }
        if (!qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR"))
            QVERIFY(page.grab().save(ShotPath("entry_page_disabled_buttons.png")));
    }
};

QTEST_MAIN(EntryPagePicturesTest)
#include "entry_page_pictures_test.moc"
