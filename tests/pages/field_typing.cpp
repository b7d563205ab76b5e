#include "tests/pages/field_typing.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "app/kit/page_base.h"
#include "engine/population_models.h"
#include "pages/drug/route_product_list.h"
#include "records/case_record.h"
#include "records/dosage_form.h"
#include "tests/pages/page_test_support.h"

void ShowActive(QWidget* page) {
    page->show();
    QApplication::setActiveWindow(page);
    QVERIFY(QTest::qWaitForWindowActive(page));
}

void OpenActive(KinevoPage& page) {
    page.Open();
    ShowActive(&page);
}

void TypeInto(QWidget* page, const char* name, const QString& text) {
    auto* field = page->findChild<QLineEdit*>(name);
    QVERIFY2(field, name);
    field->setFocus(Qt::TabFocusReason);
    field->selectAll();
    if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Delete);
    else QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

QString FieldText(QWidget* page, const char* name) {
    auto* field = page->findChild<QLineEdit*>(name);
    return field ? field->text() : QString("<no field %1>").arg(name);
}

void SetUpFortyYearOld(const std::string& drug, const std::string& product) {
    CaseRecord& r = TheCase();
    ResetCase(r, true);
    SetUpAdult(r, drug);
    SetBirthday(r, CivilDate{1972, 3, 15}, TestMoment());
    r.Ht = 170;
    SelectDrugModel(r);
    ChooseRouteProduct(r, product);
}

void ChooseProduct(QWidget* page, const QString& product) {
    auto* list = page->findChild<RouteProductList*>();
    QVERIFY(list);
    const int index = list->findText(product);
    QVERIFY2(index >= 0, qPrintable(product));
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void PictureAt1024(QWidget& page, const QString& fileName) {
    if (qEnvironmentVariableIsEmpty("KINEVO_SHOT_DIR")) return;
    page.resize(1024, 768);
    SavePagePicture(page, fileName);
}
