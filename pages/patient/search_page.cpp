#include "pages/patient/search_page.h"

#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <vector>

#include "app/kit/clock.h"
#include "app/kit/date_display.h"
#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "pages/patient/list_page.h"
#include "pages/patient/search_date.h"
#include "records/db/patient_search.h"

namespace {
const char* const kWarningHeading = "< WARNING:   READ   THIS   IMPORTANT   INFORMATION   BEFORE   PROCEEDING. >";
const char* const kDisclaimer =
    "Kinevo supports, and does not replace, the judgement of a qualified clinician. Its parameter "
    "estimates, predicted serum levels and dosage recommendations come from population models and "
    "from the data entered, and are only as good as both. Check every entry, and weigh each result "
    "against the patient's clinical condition, renal function and measured serum levels before any "
    "dose is given or changed. The responsibility for every dosing decision stays with the clinician.";

void Hand(const PatientSearch& search) {
    if (auto* list = qobject_cast<ListPage*>(PageById(PageId::List))) list->SetSearch(search);
}
}  // namespace

SearchPage::SearchPage(QWidget* parent) : KinevoPage(PageId::Search, "Patient Search", std::nullopt, parent) {
    auto field = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { KeepOneKindOfSearch(edit); });
        return edit;
    };
    lastName_ = field("lastName");
    patientId_ = field("patientId");
    startDate_ = field("startDate");
    endDate_ = field("endDate");
    for (QLineEdit* date : {startDate_, endDate_}) {
        date->setPlaceholderText("mm/dd/yyyy");
        date->setMaximumWidth(120);
    }
    today_ = new QLabel(this);
    today_->setObjectName("today");

    auto* dates = new QHBoxLayout;
    dates->addWidget(startDate_);
    dates->addWidget(new QLabel("and", this));
    dates->addWidget(endDate_);
    dates->addWidget(new QLabel("(mm/dd/yyyy)", this));
    dates->addStretch(1);
    auto* form = new QFormLayout;
    form->addRow("Today's Date:", today_);
    form->addRow("Last Name:", lastName_);
    form->addRow("Hosp ID:", patientId_);
    form->addRow("Modified Between Dates:", dates);
    Body()->addLayout(form);
    auto* hint = new QLabel(
        "Search by last name, by hospital ID or by the dates a patient was stored. "
        "Leave every field blank and press Next to enter a new patient.",
        this);
    hint->setWordWrap(true);
    Body()->addWidget(hint);
    Body()->addStretch(1);
    Body()->addWidget(MakeWarningNotice());
    AddButton("&Previous", "previous", [this] { Leave(code::kBackToWelcome); });
    AddButton("&Next", "next", [this] { Next(); });
    setTabOrder(lastName_, patientId_);
    setTabOrder(patientId_, startDate_);
    setTabOrder(startDate_, endDate_);
}

QWidget* SearchPage::MakeWarningNotice() {
    auto* notice = new QFrame(this);
    notice->setObjectName("warningNotice");
    notice->setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(notice);
    auto* heading = new QLabel(kWarningHeading, notice);
    heading->setObjectName("warningHeading");
    heading->setTextFormat(Qt::PlainText);
    heading->setAlignment(Qt::AlignCenter);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* text = new QLabel(kDisclaimer, notice);
    text->setObjectName("disclaimer");
    text->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(text);
    return notice;
}

void SearchPage::OnOpen() {
    ResetCaseAndFlags(true);
    ResetAllPages();
    emptying_ = true;
    for (QLineEdit* edit : {lastName_, patientId_, startDate_, endDate_}) edit->clear();
    emptying_ = false;
    today_->setText(QString::fromStdString(DateDisplay(Now())));
    lastName_->setFocus();
}

void SearchPage::KeepOneKindOfSearch(QLineEdit* changed) {
    if (emptying_) return;
    std::vector<QLineEdit*> others;
    if (changed == lastName_ && !patientId_->text().isEmpty()) others = {patientId_, startDate_, endDate_};
    else if (changed == patientId_ && !lastName_->text().isEmpty()) others = {lastName_, startDate_, endDate_};
    else if ((changed == startDate_ || changed == endDate_) && !changed->text().isEmpty())
        others = {lastName_, patientId_};
    emptying_ = true;
    for (QLineEdit* edit : others) edit->clear();
    emptying_ = false;
}

void SearchPage::Next() {
    const QString name = lastName_->text(), id = patientId_->text();
    const QString start = startDate_->text(), end = endDate_->text();
    if (name.isEmpty() && id.isEmpty() && start.isEmpty() && end.isEmpty()) {
        Nav().newPatient = true;
        Leave(code::kNewPatientEntry);
        return;
    }
    Nav().newPatient = false;
    const bool datesEmpty = start.isEmpty() && end.isEmpty();
    if (!name.isEmpty() && id.isEmpty() && datesEmpty) {
        Hand(SearchByLastName(name.toStdString()));
    } else if (!id.isEmpty() && name.isEmpty() && datesEmpty) {
        Hand(SearchById(id.toStdString()));
    } else if (!name.isEmpty() || !id.isEmpty() || end.isEmpty()) {
        // Not one kind of search (a name or ID with dates, a start date
        // alone): the list shows nobody rather than what an earlier search
        // found, which Delete All would otherwise act on.
        Hand(PatientSearch{});
    } else if (!HandDatesToList()) {
        return;
    }
    Leave(code::kList);
}

bool SearchPage::HandDatesToList() {
    std::string start = startDate_->text().toStdString(), end = endDate_->text().toStdString();
    if (!CheckSearchDate(start) || !CheckSearchDate(end)) {
        Warn(this, "Please input the date data in format of 'mm/dd/yyyy' OR 'm/d/yyyy'");
        startDate_->setFocus();
        return false;
    }
    Hand(SearchByDates(IsoOfSearchDate(start), IsoOfSearchDate(end)));
    return true;
}
