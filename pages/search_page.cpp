#include "pages/search_page.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/kit/clock.h"
#include "app/kit/date_display.h"
#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"

SearchPage::SearchPage(QWidget* parent) : KinevoPage(132, "Patient Search", std::nullopt, parent) {
    today_ = new QLabel(this);
    today_->setObjectName("today");
    auto* form = new QFormLayout;
    auto field = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        return edit;
    };
    lastName_ = field("lastName");
    patientId_ = field("patientId");
    startDate_ = field("startDate");
    endDate_ = field("endDate");
    form->addRow("Today's Date:", today_);
    form->addRow("Last Name:", lastName_);
    form->addRow("Hosp ID:", patientId_);
    form->addRow("Modified Between Dates:", startDate_);
    form->addRow("and (mm/dd/yyyy):", endDate_);
    Body()->addLayout(form);
    Body()->addStretch(1);
    AddButton("&Previous", "previous", [this] { Leave(code::kBackToWelcome); });
    AddButton("&Next", "next", [this] { Next(); });
}

void SearchPage::OnOpen() {
    ResetCaseAndFlags(true);
    ResetAllPages();
    for (QLineEdit* edit : {lastName_, patientId_, startDate_, endDate_}) edit->clear();
    today_->setText(QString::fromStdString(DateDisplay(Now())));
    lastName_->setFocus();
}

void SearchPage::Next() {
    const bool blank = lastName_->text().isEmpty() && patientId_->text().isEmpty() &&
                       startDate_->text().isEmpty() && endDate_->text().isEmpty();
    Nav().newPatient = blank;
    Leave(blank ? code::kNewPatientEntry : code::kList);
}
