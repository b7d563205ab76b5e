// The user's choice drug page (139): the checks on leaving a field and the
// padding of salts and ka, the definition applied to the record with its
// conversions, the buttons' messages and codes, and Save followed by the
// stored definition shown again, on a real temporary database.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "app/page_set.h"
#include "records/case_record.h"
#include "records/db/configuration.h"
#include "records/db/database.h"
#include "tests/pages/page_test_support.h"

namespace {
const QString kIncomplete = "Please specify all the values for a dosage form.";
const QString kRequired = "You must fill out all the required fields.";
using Texts = std::map<const char*, const char*>;
}  // namespace

class UserChoicePageTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PageTestEnvironment> env;
    std::unique_ptr<PageSet> pages;
    std::string db;

    UserChoicePage& Page() { return pages->userChoice(); }
    template <class W = QLineEdit>
    W* Field(const char* name) {
        auto* w = Page().findChild<W*>(name);
        if (!w) qFatal("no field %s", name);
        return w;
    }
    void Activate() {
        Page().Open();
        Page().show();
        Page().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Page()));
    }
    // Types into a field as a user would and moves on to the therapeutic
    // minimum, which runs the check made on leaving.
    void TypeAndLeave(const char* name, const QString& text) {
        QLineEdit* field = Field(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, text);
        Field("therapeuticMin")->setFocus();
        QApplication::processEvents();
    }
    void Fill(const Texts& texts) {
        for (const auto& [name, text] : texts) Field(name)->setText(text);
    }
    void Choose(const char* name, const char* text) { Field<QComboBox>(name)->setCurrentText(text); }
    int Press(const char* button) {
        Page().setResult(-1);
        Click(&Page(), button);
        return Page().result();
    }
    QStringList Shown() const { return env->prompts.Texts(); }
    std::int64_t Rows(const char* table) const {
        Database d(db);
        return QueryInt(d, std::string("SELECT COUNT(*) FROM \"") + table + "\"");
    }
    // Name, clearance, volume and compliance with a therapeutic range.
    void FillDrug() {
        Fill({{"drugName", "Tobra-X"},
              {"clearance", "50"},
              {"volume", "0.5"},
              {"compliance", "90"},
              {"therapeuticMin", "5"},
              {"therapeuticMax", "10"}});
    }

private slots:
    void init() {
        env = std::make_unique<PageTestEnvironment>();
        pages = std::make_unique<PageSet>();
        db = env->MakeDatabase("choice.mdb");
        ConfiguredDatabasePath() = db;
        SetUpAdult(TheCase(), "zz");
    }
    void cleanup() {
        pages.reset();
        env.reset();
    }

    void fieldsAreCheckedAndPaddedOnLeaving() {
        Activate();
        QCOMPARE(QApplication::focusWidget(), Field("drugName"));
        QCOMPARE(Field<QComboBox>("units")->currentText(), QString("mg-mg/L"));
        QCOMPARE(Field<QComboBox>("clearanceUnit")->currentText(), QString("L/h"));
        QCOMPARE(Field<QComboBox>("volumeUnit")->currentText(), QString("L"));
        QCOMPARE(Field("timeLag")->text(), QString("0.00"));

        TypeAndLeave("ivSalt", "0.5");
        TypeAndLeave("imSalt", "1");
        TypeAndLeave("oralKa", "2");
        TypeAndLeave("imKa", "0.0015");
        TypeAndLeave("imF", "");
        QCOMPARE(Field("ivSalt")->text(), QString("0.500"));
        QCOMPARE(Field("imSalt")->text(), QString("1.00"));
        QCOMPARE(Field("oralKa")->text(), QString("2.00"));
        QCOMPARE(Field("imKa")->text(), QString("0.002"));
        QVERIFY(Shown().isEmpty());

        const std::vector<std::pair<const char*, QString>> refused = {
            {"clearance", "-1"}, {"volume", "-0.1"}, {"compliance", "100.5"}, {"ivSalt", "1.5"},     {"imKa", "4.01"},
            {"oralKa", "0"},     {"imF", "0"},       {"oralF", "abc"},        {"oralSalt", "0.0009"}};
        for (const auto& [name, text] : refused) {
            TypeAndLeave(name, text);
            // The text stays as typed and the focus comes back.
            QCOMPARE(Field(name)->text(), text);
            QCOMPARE(QApplication::focusWidget(), Field(name));
            Field(name)->clear();  // an empty field is never checked
        }
        QCOMPARE(Shown(),
                 (QStringList{"Please input a correct Value of CL.", "Please input a correct Value of VD.",
                              "Please input a correct Value of CF.", "Please input a correct Value of salt.",
                              "Please input a correct Value of Ka.", "Please input a correct Value of ka.",
                              "Please input a correct Value of F.",
                              "\"abc\" is not a number. Please type digits only, with a point for decimals (no "
                              "commas, spaces or letters).",
                              "Please input a correct Value of salt."}));
        QCOMPARE(env->prompts.shown.back().title, QString("Warning"));
        QCOMPARE(Field("compliance")->maxLength(), 6);
        QCOMPARE(Field("oralF")->maxLength(), 3);
        QCOMPARE(Field("drugName")->maxLength(), 20);

        // The dosage form completes from the sorted list; a form not in it is refused.
        auto* form = Field<QComboBox>("oralForm");
        QCOMPARE(form->itemText(0), QString("Capsule"));
        QCOMPARE(form->itemText(7), QString("Tablet"));
        env->prompts.shown.clear();
        form->setFocus();
        QTest::keyClicks(form, "sy");
        Field("oralKa")->setFocus();
        QApplication::processEvents();
        QCOMPARE(form->currentText(), QString("Syrup"));
        QVERIFY(Shown().isEmpty());
        form->setFocus();
        form->setEditText("Pill");
        Field("oralKa")->setFocus();
        QApplication::processEvents();
        QCOMPARE(Shown(), QStringList{"Please select a valid dosage form."});
        QCOMPARE(QApplication::focusWidget(), form);
    }

    void upDownAndEnterMoveAlongTheFields() {
        Activate();
        PressKey(Field("drugName"), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Field("clearance"));
        PressKey(Field("clearance"), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Field("volume"));
        PressKey(Field("volume"), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), Field("clearance"));
        Field("timeLag")->setFocus();
        PressKey(Field("timeLag"), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), Field("ivSalt"));
        PressKey(Field("ivSalt"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), Field("imKa"));
        QCOMPARE(Page().result(), 0);
    }

    void applyingConvertsUnitsAndSetsTheModel() {
        Page().Open();
        FillDrug();
        Choose("clearanceUnit", "mL/min");
        Choose("volumeUnit", "L/kg");
        Fill({{"ivSalt", "1.00"}});
        QCOMPARE(Press("levelForecast"), code::kIvForecast);
        const CaseRecord& r = TheCase();
        // 50 mL/min x 60 min/h / 1000 mL/L = 3 L/h; 0.5 L/kg x 70 kg = 35 L.
        QVERIFY(qAbs(r.population.Cl - 3.0) < 1e-12);
        QVERIFY(qAbs(r.population.Vd - 35.0) < 1e-12);
        QCOMPARE(r.population.CF, 0.9);
        QCOMPARE(r.ModelType, 1);
        QCOMPARE(r.DoseUnit, std::string("mg"));
        QCOMPARE(r.ConcUnit, std::string("mg/L"));
        QCOMPARE(r.TherapeuticMin, 5.0);
        QCOMPARE(r.TherapeuticMax, 10.0);
        // Midpoint 7.5 x 0.05; the graph reaches half again above the maximum.
        QVERIFY(qAbs(r.Fixed_err - 0.375) < 1e-12);
        QCOMPARE(r.GraphMax, 15.0);
        QCOMPARE(r.Var_err, 0.1);
        QCOMPARE(r.init_cl_sd, 0.5);

        // Back on the page: the definition as left, now in L/h and L, the name fixed.
        Activate();
        QCOMPARE(Field("clearance")->text(), QString("3"));
        QCOMPARE(Field<QComboBox>("clearanceUnit")->currentText(), QString("L/h"));
        QCOMPARE(Field("volume")->text(), QString("35"));
        QCOMPARE(Field<QComboBox>("volumeUnit")->currentText(), QString("L"));
        QCOMPARE(Field("compliance")->text(), QString("90"));
        QVERIFY(Field("drugName")->isReadOnly());
        QCOMPARE(QApplication::focusWidget(), Field("clearance"));
        QVERIFY(!r.userDrug.held);
        QCOMPARE(r.Cur_fit_method, int(kPopulation));
    }

    void buttonsNeedACompleteDefinition() {
        Page().Open();
        FillDrug();
        // An oral group without its ka is no group; the intramuscular one alone is.
        Choose("oralForm", "Tablet");
        Fill({{"oralSalt", "1.00"}, {"oralF", "80"}, {"imSalt", "1.00"}, {"imF", "90"}});
        QCOMPARE(Press("regimenForecast"), -1);
        QCOMPARE(Press("levelForecast"), -1);
        QCOMPARE(Shown(), (QStringList{kRequired, kIncomplete}));
        QCOMPARE(env->prompts.shown[0].title, QString("Warning"));
        Fill({{"imKa", "1.20"}});
        QCOMPARE(Press("regimenForecast"), code::kOralRegimen);
        QCOMPARE(Press("levelForecast"), code::kOralForecast);

        // A reversed range stops only the analysis.
        env->prompts.shown.clear();
        Fill({{"therapeuticMin", "10"}, {"therapeuticMax", "5"}});
        QCOMPARE(Press("regimenForecast"), code::kOralRegimen);
        QCOMPARE(Press("levelForecast"), code::kOralForecast);
        QCOMPARE(Press("levelAnalysis"), -1);
        QCOMPARE(Shown(), QStringList{"Therapeutic Range is invalid."});
        Fill({{"therapeuticMax", "10"}});
        QCOMPARE(Press("levelAnalysis"), code::kFittingSetUp);

        // Save says the same without a title of its own.
        env->prompts.shown.clear();
        Fill({{"imKa", ""}, {"oralKa", ""}});
        Press("save");
        QCOMPARE(Shown(), QStringList{kIncomplete});
        QCOMPARE(env->prompts.shown[0].title, QString("Kinevo"));
        QCOMPARE(Rows("PatientCase-User Choice"), 0);
    }

    void savedDefinitionComesBackFromTheDatabase() {
        Page().Open();
        FillDrug();
        Choose("units", "mcg-mcg/L");
        Choose("clearanceUnit", "mL/min");
        Fill({{"compliance", "95"}, {"ivSalt", "0.800"}, {"oralKa", "1.50"}, {"oralSalt", "0.900"}, {"oralF", "75"}});
        Choose("oralForm", "SR Tablet");
        Press("save");
        QVERIFY(Shown().isEmpty());
        QCOMPARE(Field<QPushButton>("save")->text(), QString("Data saved"));
        QVERIFY(!Field<QPushButton>("save")->isEnabled());
        QCOMPARE(Rows("PatientBasic"), 1);
        QCOMPARE(Rows("PatientCase"), 1);
        QCOMPARE(Rows("PatientCase-User Choice"), 1);
        QCOMPARE(Rows("PatientCase-parameter"), 1);
        const std::int32_t patient = TheCase().PATIENT_REC_Num, caseNumber = TheCase().Case_number;
        QVERIFY(patient > 0 && caseNumber > 0);

        // Typing again allows another save, into the same two rows.
        Field("therapeuticMax")->selectAll();
        QTest::keyClicks(Field("therapeuticMax"), "12");
        QVERIFY(Field<QPushButton>("save")->isEnabled());
        Press("save");
        QVERIFY(Shown().isEmpty());

        // A later session opens the stored case afresh.
        pages.reset();
        pages = std::make_unique<PageSet>();
        ResetCase(TheCase(), true);
        SetUpAdult(TheCase(), "zz");
        TheCase().PATIENT_REC_Num = patient, TheCase().Case_number = caseNumber;
        Nav().caseExists = true;
        Page().Open();
        const Texts expected = {
            {"drugName", "Tobra-X"}, {"clearance", "3"},       {"volume", "0.5"},   {"compliance", "95.0"},
            {"therapeuticMin", "5"}, {"therapeuticMax", "12"}, {"ivSalt", "0.800"}, {"imKa", ""},
            {"oralKa", "1.50"},      {"oralSalt", "0.900"},    {"oralF", "75"}};
        for (const auto& [name, text] : expected) QCOMPARE(Field(name)->text(), QString(text));
        QCOMPARE(Field<QComboBox>("units")->currentText(), QString("mcg-mcg/L"));
        QCOMPARE(Field<QComboBox>("clearanceUnit")->currentText(), QString("L/h"));
        QCOMPARE(Field<QComboBox>("oralForm")->currentText(), QString("SR Tablet"));
        QVERIFY(Field("drugName")->isReadOnly());
        // Stored once, kept as one row each.
        QCOMPARE(Rows("PatientCase-User Choice"), 1);
        QCOMPARE(Rows("PatientCase-parameter"), 1);
    }

    void theRealBoxShowsAFieldMessage() {
        UsePrompts(nullptr);
        Activate();
        FillDrug();
        Fill({{"ivSalt", "0.800"}, {"imKa", "1.20"}, {"imF", "90"}});
        Choose("oralForm", "Tablet");
        Page().resize(1024, 768);
        QString title, text;
        QTimer::singleShot(200, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            text = box->text();
            // The page with its message over it, for a person to look at.
            QPixmap shot = Page().grab();
            QPainter painter(&shot);
            const QPixmap message = box->grab();
            painter.drawPixmap((shot.width() - message.width()) / 2, (shot.height() - message.height()) / 2, message);
            shot.save(QDir(qEnvironmentVariable("KINEVO_SHOT_DIR")).filePath("user_choice_message.png"));
            box->buttons().first()->click();
        });
        TypeAndLeave("imSalt", "2");
        QCOMPARE(title, QString("Warning"));
        QCOMPARE(text, QString("Please input a correct Value of salt."));
        QCOMPARE(Field("imSalt")->text(), QString("2"));
        QCOMPARE(Page().focusWidget(), Field("imSalt"));
    }
};

QTEST_MAIN(UserChoicePageTest)
#include "user_choice_page_test.moc"
