// Pictures of the welcome page and the end page as a user sees them, written
// as PNG files into $KINEVO_SHOT_DIR for a person to look at.
#include <QApplication>
#include <QTest>

#include "app/kit/institution.h"
#include "app/kit/navigation.h"
#include "app/page_set.h"
#include "app/startup.h"
#include "pages/patient/welcome_page.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "tests/pages/page_test_support.h"

class PagePicturesTest : public QObject {
    Q_OBJECT
private slots:
    void grabWelcomeAndEndPages() {
        if (qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) QSKIP("KINEVO_SHOT_DIR not set");
        SetDialogColours(*qobject_cast<QApplication*>(QApplication::instance()));
        PageTestEnvironment env;
        InstitutionName() = "St. Mary's Hospital Pharmacy";
        ConfiguredDatabasePath() = env.MakeDatabase("work.mdb");
        WelcomePage welcome(ProgramFiles::In(env.Dir()), [](int) { return 1; });
        welcome.Open();
        SavePagePicture(welcome, "welcome_page.png");

        SetUpAdult(TheCase(), "vm");
        TheCase().PATIENT_REC_Num = 12;
        TheCase().Case_number = 2;
        Nav().endPageSource = EndSource::IvForecast;
        PageSet pages;
        pages.end().Open();
        SavePagePicture(pages.end(), "end_page.png");
        InstitutionName().clear();
    }
};

QTEST_MAIN(PagePicturesTest)
#include "page_pictures_test.moc"
