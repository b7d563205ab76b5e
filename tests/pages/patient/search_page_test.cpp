// The search page: blank fields for a new patient, one kind of search kept
// while typing, the date check and what each search hands to the list.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/kit/institution.h"
#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "pages/patient/search_date.h"
#include "records/db/configuration.h"
#include "tests/pages/page_test_support.h"

namespace {
const QString kDateMessage = "Please input the date data in format of 'mm/dd/yyyy' OR 'm/d/yyyy'";
}

class SearchPageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;

    SearchPage& Search() { return pages->search(); }
    QLineEdit* Field(const char* name) { return Search().findChild<QLineEdit*>(name); }
    QString Text(const char* name) { return Field(name)->text(); }
    void Type(const char* name, const QString& text) { QTest::keyClicks(Field(name), text); }
    // Opens the page, fills the fields and presses Next. The dates go in
    // first: a date typed empties the name and the ID.
    int Next(const QString& name, const QString& id, const QString& start, const QString& end) {
        Search().Open();
        Search().setResult(-1);
        Field("startDate")->setText(start);
        Field("endDate")->setText(end);
        Field("lastName")->setText(name);
        Field("patientId")->setText(id);
        Click(&Search(), "next");
        return Search().result();
    }
    const PatientSearch& Handed() { return pages->list().Search(); }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void blankFieldsStartANewPatient() {
        pages->list().SetSearch(SearchByLastName("Smith"));
        QCOMPARE(Next("", "", "", ""), code::kNewPatientEntry);
        QVERIFY(Nav().newPatient);
        QVERIFY(env->prompts.shown.empty());
        Click(&Search(), "previous");
        QCOMPARE(Search().result(), code::kBackToWelcome);
    }

    void typingOneKindOfSearchEmptiesTheOthers() {
        Search().Open();
        Type("lastName", "Smi");
        Type("patientId", "H1");
        QCOMPARE(Text("lastName"), QString());
        QCOMPARE(Text("patientId"), QString("H1"));
        Type("startDate", "3/5/2012");
        QCOMPARE(Text("patientId"), QString());
        QCOMPARE(Text("startDate"), QString("3/5/2012"));
        // A name typed after the dates leaves them (no ID to empty) ...
        Type("lastName", "D");
        QCOMPARE(Text("startDate"), QString("3/5/2012"));
        // ... an ID typed beside a name empties the name and the dates, and
        // the emptying itself takes nothing more away.
        Type("endDate", "3/9/2012");
        QCOMPARE(Text("lastName"), QString());
        Type("lastName", "Do");
        Type("patientId", "7");
        QCOMPARE(Text("lastName"), QString());
        QCOMPARE(Text("startDate"), QString());
        QCOMPARE(Text("endDate"), QString());
        QCOMPARE(Text("patientId"), QString("7"));
        Type("lastName", "E");
        QCOMPARE(Text("lastName"), QString("E"));
        QCOMPARE(Text("patientId"), QString());
    }

    void aNameOrAnIdIsHandedToTheList() {
        QCOMPARE(Next("O'Br%", "", "", ""), code::kList);
        QVERIFY(!Nav().newPatient);
        QCOMPARE(Handed().mode, SearchMode::LastName);
        QCOMPARE(Handed().text, std::string("O'Br%"));
        QCOMPARE(Next("", "H-10", "", ""), code::kList);
        QCOMPARE(Handed().mode, SearchMode::PatientId);
        QCOMPARE(Handed().text, std::string("H-10"));
    }

    void datesAreNormalisedToIso() {
        QCOMPARE(Next("", "", "3/5/2012", "03/05/2012"), code::kList);
        QCOMPARE(Handed().mode, SearchMode::Dates);
        QCOMPARE(Handed().startDate, std::string("2012-03-05"));
        QCOMPARE(Handed().endDate, std::string("2012-03-05"));
        QCOMPARE(Next("", "", "12/31/2011", "1/15/2012"), code::kList);
        QCOMPARE(Handed().startDate, std::string("2011-12-31"));
        QCOMPARE(Handed().endDate, std::string("2012-01-15"));
        QVERIFY(env->prompts.shown.empty());
    }

    void badDatesAreRefusedWithTheFocusOnTheStartDate() {
        Search().show();
        QVERIFY(QTest::qWaitForWindowActive(&Search()));
        struct Refused {
            const char *start, *end;
        };
        for (const Refused& r : {Refused{"13/01/2012", "03/15/2012"}, Refused{"3/5/12", "03/15/2012"},
                                 Refused{"03/05/2012", "13/01/2012"}, Refused{"02/30/2012", "03/15/2012"},
                                 Refused{"03/05/20x2", "03/15/2012"}, Refused{"3-5-2012", "03/15/2012"}}) {
            env->prompts.shown.clear();
            pages->list().SetSearch(SearchByLastName("Smith"));
            QCOMPARE(Next("", "", r.start, r.end), -1);
            QCOMPARE(env->prompts.shown.size(), std::size_t(1));
            QCOMPARE(env->prompts.shown[0].title, QString("Warning"));
            QCOMPARE(env->prompts.shown[0].text, kDateMessage);
            QCOMPARE(Search().focusWidget(), Field("startDate"));
            QCOMPARE(Text("startDate"), QString(r.start));  // the page keeps what was typed
            QCOMPARE(Handed().mode, SearchMode::LastName);  // the list's search is untouched
        }
    }

    void theDateCheckByItself() {
        std::string text = "1/2/2013";
        QVERIFY(CheckSearchDate(text));
        QCOMPARE(text, std::string("01/02/2013"));
        text = "11/2/2013";
        QVERIFY(CheckSearchDate(text));
        QCOMPARE(text, std::string("11/02/2013"));
        text = "";
        QVERIFY(CheckSearchDate(text));
        QCOMPARE(IsoOfSearchDate(""), std::string("--"));
        for (const char* refused : {"00/10/2012", "10/00/2012", "10/32/2012", "02/29/2013", "1/2/3/2012"}) {
            text = refused;
            QVERIFY2(!CheckSearchDate(text), refused);
        }
        text = "02/29/2012";  // a leap day
        QVERIFY(CheckSearchDate(text));
    }

    void mixedKindsListNobody() {
        pages->list().SetSearch(SearchByLastName("Smith"));
        QCOMPARE(Next("Smith", "", "03/01/2012", "03/15/2012"), code::kList);
        QCOMPARE(Handed().mode, SearchMode::None);
        pages->list().SetSearch(SearchByLastName("Smith"));
        QCOMPARE(Next("", "", "03/01/2012", ""), code::kList);
        QCOMPARE(Handed().mode, SearchMode::None);
    }

    void anEndDateAloneShowsTheEngineErrorAndGoesBack() {
        ConfiguredDatabasePath() = env->MakeDatabase("search.mdb");
        const ChainResult r = RunChain(*pages, code::kSearch, {{PageId::Search, [](KinevoPage& p) {
                                                                    auto* end = p.findChild<QLineEdit*>("endDate");
                                                                    end->setText("3/15/2012");
                                                                    PressKey(end, Qt::Key_Return);
                                                                }}});
        QCOMPARE(r.visited, (std::vector<PageId>{PageId::Search, PageId::List}));
        QCOMPARE(r.code, code::kBackToWelcome);
        QCOMPARE(Handed().startDate, std::string("--"));
        QCOMPARE(Handed().endDate, std::string("2012-03-15"));
        QCOMPARE(env->prompts.shown.size(), std::size_t(1));
        QCOMPARE(env->prompts.shown[0].icon, PromptIcon::Exclamation);
        QVERIFY(env->prompts.shown[0].text.contains("--"));
    }

    void pictureOfTheSearchPage() {
        if (qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) QSKIP("KINEVO_SHOT_DIR not set");
        InstitutionName() = "St. Mary's Hospital Pharmacy";
        Search().Open();
        Type("lastName", "Smi");
        SavePagePicture(Search(), "search_page.png");
        InstitutionName().clear();
    }
};

QTEST_MAIN(SearchPageTest)
#include "search_page_test.moc"
