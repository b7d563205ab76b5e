#include "pages/fitting/fitting_setup_page.h"

#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

#include "app/kit/navigation.h"
#include "app/kit/result_codes.h"
#include "pages/fitting/fitting_setup_form.h"
#include "pages/widgets/database_work.h"
#include "records/case_record.h"
#include "records/db/case_reload.h"
#include "records/dosage_form.h"
#include "records/drug_catalogue.h"

FittingSetUpPage::FittingSetUpPage(QWidget* parent)
    : KinevoPage(PageId::FittingSetUp, "Curve Fitting Set-Up", HeaderVariant::FittingSetUp, parent) {
    form_ = new FittingSetUpForm(this);
    Body()->addWidget(form_);
    Body()->addStretch(1);
    SetFieldOrder(form_->EnterOrder());
    AddButton("Import Saved Parameters", "import", [this] { form_->ImportSaved(); });
    AddButton("&Previous", "previous", [this] { Leave(DrugPageCode()); });
    AddButton("No &Fitting", "noFitting", [this] { Leave(code::kEnd); });
    AddButton("&Next", "next", [this] { Next(); });
}

void FittingSetUpPage::Reset() { form_->ShowSaved(std::nullopt, {}); }

// The record holds what the page shows, so a return shows the values as left.
void FittingSetUpPage::OnOpen() {
    CaseRecord& r = TheCase();
    // A case with no product chosen yet starts on the drug's own default.
    if (r.RouteProduct.empty()) {
        const std::string product = DefaultRouteProduct(r.Drug_ID);
        if (!product.empty()) ChooseRouteProduct(r, product);
    }
    form_->Show(r);
    std::optional<ParameterRow> saved;
    if (r.PATIENT_REC_Num != 0 && r.Case_number != 0)
        WithDatabase(this, [&](Database& db) { saved = ReadParameterRow(db, r.PATIENT_REC_Num, r.Case_number); });
    form_->ShowSaved(saved, r.DateText);
    form_->FirstField()->setFocus(Qt::OtherFocusReason);
}

void FittingSetUpPage::Next() {
    if (!form_->Store(TheCase())) return;
    ResetPage(PageId::History);
    Leave(code::kHistory);
}
