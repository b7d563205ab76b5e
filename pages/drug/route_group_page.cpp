#include "pages/drug/route_group_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include "app/kit/navigation.h"
#include "pages/drug/parameter_panel.h"
#include "pages/drug/route_product_list.h"
#include "pages/drug/saved_parameters.h"
#include "pages/widgets/field_watch.h"
#include "records/case_record.h"
#include "records/dosage_form.h"

RouteGroupPage::RouteGroupPage(PageId id, const QString& heading, bool intravenous, int twinCode, int pageCode,
                               QWidget* parent)
    : KinevoPage(id, heading, HeaderVariant::Full, parent), intravenous_(intravenous), twinCode_(twinCode) {
    products_ = new RouteProductList(this);
    panel_ = new ParameterPanel(pageCode, this);
    watch_ = new FieldWatch(
        this, [this](const QSet<int>& groups) { Run(groups); }, [this] { ClearResults(); });
    panel_->Watch(*watch_, kParameterGroup);
    saved_ = new SavedParameters(this);
    connect(saved_, &SavedParameters::importRequested, this, [this] { ImportSaved(); });
    auto* productRow = new QHBoxLayout;
    productRow->addWidget(new QLabel("Route - Product:", this));
    productRow->addWidget(products_);
    productRow->addStretch(1);
    Body()->addLayout(productRow);
    columns_ = new QHBoxLayout;
    right_ = new QVBoxLayout;
    right_->addWidget(panel_, 1);
    right_->addWidget(saved_);
    columns_->addLayout(right_);
    Body()->addLayout(columns_, 1);
    connect(products_, &QComboBox::activated, this, [this](int index) { ProductChosen(products_->itemText(index)); });
}

void RouteGroupPage::AddUnderParameters(QWidget* part) { right_->insertWidget(1, part); }

void RouteGroupPage::SetForm(QWidget* form) {
    columns_->insertWidget(0, form, 1);
    // Tab goes from the product to the page's own fields, then to the parameters.
    QWidget* previous = products_;
    for (QWidget* part : {form, static_cast<QWidget*>(panel_)})
        for (QLineEdit* field : part->findChildren<QLineEdit*>()) {
            QWidget::setTabOrder(previous, field);
            previous = field;
        }
}

void RouteGroupPage::OnOpen() {
    products_->Fill(TheCase(), intravenous_);
    // The page works on the product it shows.
    if (!products_->currentText().isEmpty() && products_->currentText().toStdString() != TheCase().RouteProduct)
        ChooseRouteProduct(TheCase(), products_->currentText().toStdString());
    panel_->Show(TheCase());
    saved_->Load(TheCase());
    ShowCase(TheCase());
}

void RouteGroupPage::ComputeAll() {
    if (panel_->CanCompute(TheCase())) Compute({kParameterGroup});
}

void RouteGroupPage::ImportSaved() {
    const std::optional<ParameterSet> stored = saved_->Saved();
    if (!stored) return;
    ParameterSet& set = TheCase().CurrentSet();
    set.Vd = stored->Vd;
    set.Cl = stored->Cl;
    set.CF = stored->CF;
    panel_->Show(TheCase());
    ComputeAll();
}

void RouteGroupPage::OnEnter() {
    watch_->RunPending();
    focusNextChild();
}

void RouteGroupPage::mousePressEvent(QMouseEvent* event) {
    watch_->RunPending();
    KinevoPage::mousePressEvent(event);
}

void RouteGroupPage::Run(const QSet<int>& groups) {
    CaseRecord& r = TheCase();
    if (groups.contains(kParameterGroup)) panel_->Apply(r);
    // Parameters that describe no model leave the results as they were.
    if (!panel_->CanCompute(r)) return;
    Compute(groups);
}

void RouteGroupPage::ProductChosen(const QString& product) {
    const std::string chosen = product.toStdString();
    // A refused value keeps the page, and its product, until it is mended.
    if (IsIntravenous(chosen) != intravenous_ && !watch_->Settle()) {
        products_->setCurrentText(QString::fromStdString(TheCase().RouteProduct));
        return;
    }
    ChooseRouteProduct(TheCase(), chosen);
    if (IsIntravenous(chosen) != intravenous_) {
        KeepState();
        Leave(twinCode_);
        return;
    }
    panel_->Show(TheCase());
    ShowCase(TheCase());
    ComputeAll();
}

bool RouteGroupPage::KeepState() {
    // A button pressed straight after typing still leaves the results of what was typed.
    if (!watch_->Settle()) return false;
    Keep();
    Nav().shownParameters = panel_->Texts();
    return true;
}
