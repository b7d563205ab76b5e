#include "pages/report/end_page.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/kit/clock.h"
#include "app/kit/navigation.h"
#include "app/kit/prompts.h"
#include "app/kit/result_codes.h"
#include "pages/widgets/database_work.h"
#include "records/case_record.h"
#include "records/db/case_save.h"
#include "records/drug_catalogue.h"

namespace {
// Previous goes back to the page named by the end-page source.
int PreviousCode(EndSource source) {
    switch (source) {
        case EndSource::IvRegimen: return code::kIvRegimen;
        case EndSource::OralRegimen: return code::kOralRegimen;
        case EndSource::PhenytoinRegimen: return code::kPhenytoinRegimen;
        case EndSource::IvForecast: return code::kIvForecast;
        case EndSource::OralForecast: return code::kOralForecast;
        case EndSource::PhenytoinForecast: return code::kPhenytoinForecast;
        case EndSource::AnalysisResults: return code::kAnalysisResults;
        default: return -1;
    }
}

bool AfterPrinting(EndSource source) {
    return source == EndSource::PopulationReportPrinted || source == EndSource::FittedReportPrinted;
}

// Whether the page that led here showed parameters; one that showed none
// (its own work not done) leaves nothing to store but the patient and case.
bool ShowedParameters(const Navigation& nav) {
    if (AfterPrinting(nav.endPageSource)) return !(nav.printedSet == ParameterSet{});
    const PageParameterTexts& t = nav.shownParameters;
    return !(t.F.empty() && t.Vd.empty() && t.Cl.empty() && t.CF.empty() && t.Km.empty() && t.Vmax.empty());
}

QPushButton* Big(QPushButton* button) {
    button->setMinimumHeight(34);
    return button;
}
}  // namespace

EndPage::EndPage(QWidget* parent)
    : KinevoPage(PageId::End, "What Would You Like To Do Next?", HeaderVariant::Full, parent) {
    drug_ = new QLabel(this);
    drug_->setObjectName("drugName");
    drug_->setAlignment(Qt::AlignCenter);
    QFont bold = drug_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    drug_->setFont(bold);
    Body()->addWidget(drug_);
    auto* choices = new QVBoxLayout;
    choices->setContentsMargins(160, 8, 160, 8);
    auto choice = [this, choices](const QString& caption, const QString& name, auto handler) {
        auto* button = Big(new QPushButton(caption, this));
        button->setObjectName(name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, handler);
        choices->addWidget(button);
    };
    choice("Save this Case in Database", "save", [this] { Save(); });
    choice("Work on the Same Patient and Same Drug", "sameDrug", [this] { SameDrug(); });
    choice("Work on the Same Patient", "samePatient", [this] { SamePatient(); });
    choice("Work on a New Patient", "newPatient", [this] { NewPatient(); });
    Body()->addLayout(choices);
    saved_ = new QLabel(this);
    saved_->setObjectName("saved");
    saved_->setAlignment(Qt::AlignCenter);
    Body()->addWidget(saved_);
    Body()->addStretch(1);
    previous_ = AddButton("&Previous", "previous", [this] { Previous(); });
    QPushButton* exit = AddButton("E&xit", "exit", [this] { reject(); });
    exit->setDefault(true);
}

void EndPage::OnOpen() {
    const CaseRecord& r = TheCase();
    drug_->setText(QString::fromStdString(r.Drug_ID == "zz" ? r.userDrug.drugName : DrugNameOf(r.Drug_ID)));
    patientKey_ = std::to_string(r.PATIENT_REC_Num);
    caseKey_ = std::to_string(r.Case_number);
    previous_->setEnabled(!AfterPrinting(Nav().endPageSource));
    saved_->clear();
}

void EndPage::reject() {
    if (ConfirmExit()) Leave(code::kEndProgram);
}

void EndPage::SameDrug() {
    ResetAllPages();
    HandKeysToExistingCaseEntry();
    Leave(code::kExistingCaseEntry);
}

void EndPage::SamePatient() {
    ResetCaseAndFlags(false);
    ResetAllPages();
    HandKeysToNewCaseEntry();
    Leave(code::kNewCaseEntry);
}

void EndPage::NewPatient() {
    TheCase().PATIENT_REC_Num = 0;
    TheCase().Case_number = 0;
    ResetCaseAndFlags(true);
    Leave(code::kSearch);
}

void EndPage::Save() {
    Navigation& nav = Nav();
    SaveRequest request;
    request.endPageSource = ShowedParameters(nav) ? nav.endPageSource : EndSource::None;
    request.patientKey = patientKey_;
    request.caseKey = caseKey_;
    request.patientChanged = nav.patientChanged;
    request.patientIdentityChanged = nav.patientIdentityChanged;
    request.caseChanged = nav.caseChanged;
    request.page = nav.shownParameters;
    request.reportSet = nav.printedSet;
    request.now = Now();
    // A line left from an earlier save must not pass for this one's.
    saved_->clear();
    // The save is one transaction: after an error nothing of it is stored.
    if (!TryDatabaseWork(this, [&] { SaveCase(TheCase(), request); })) return;
    patientKey_ = request.patientKey;
    caseKey_ = request.caseKey;
    nav.patientChanged = request.patientChanged;
    nav.patientIdentityChanged = request.patientIdentityChanged;
    nav.caseChanged = request.caseChanged;
    // The save shows no box; the page says what it stored.
    saved_->setText(QString("Case %1 of patient %2 saved.").arg(caseKey_.c_str(), patientKey_.c_str()));
}

void EndPage::Previous() {
    const EndSource source = Nav().endPageSource;
    const int back = PreviousCode(source);
    if (back < 0) return;
    if (source == EndSource::AnalysisResults) Nav().revisitResults = true;
    Nav().endPageSource = EndSource::None;
    Leave(back);
}
