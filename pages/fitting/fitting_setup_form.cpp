#include "pages/fitting/fitting_setup_form.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

#include "app/kit/prompts.h"
#include "engine/dose_expansion.h"
#include "engine/forecast_model.h"
#include "engine/forecast_parameters.h"
#include "engine/user_drug.h"
#include "pages/drug/saved_parameters.h"
#include "pages/patient/entry_values.h"
#include "records/case_record.h"
#include "records/db/stored_text.h"
#include "records/drug_catalogue.h"
#include "records/text_format.h"

namespace {
constexpr const char* kFormats[] = {"%.2f", "%.2f", "%.3f", "%.2f", "%.2f"};
constexpr const char* kNames[] = {"F", "Vd", "Cl", "CF", "Vm"};

QString Text(const char* format, double value) { return QString::fromStdString(FormatNumber(format, value)); }

QLineEdit* Edit(QWidget* parent, const QString& name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setFixedWidth(90);
    return edit;
}

QLabel* Shown(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(90);
    return label;
}

bool Phenytoin(const std::string& drug) { return drug == "ph"; }
bool TwoProducts(const std::string& drug) { return drug == "th" || drug == "qd" || drug == "ph"; }

std::vector<std::string> ProductsOf(const CaseRecord& r) {
    return r.Drug_ID == "zz" ? UserDrugRouteProducts(r.userDrug) : RouteProductsOf(r.Drug_ID);
}

void Fill(QComboBox* list, const std::vector<std::string>& products, const std::string& chosen) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string& p : products) list->addItem(QString::fromStdString(p));
    list->setCurrentIndex(std::max(list->findText(QString::fromStdString(chosen)), 0));
}
}  // namespace

FittingSetUpForm::FittingSetUpForm(QWidget* parent) : QWidget(parent) {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    auto* initial = new QGroupBox("Initial Pharmacokinetic Parameters :", this);
    auto* grid = new QGridLayout(initial);
    savedTitle_ = Shown(initial, "savedTitle");
    grid->addWidget(savedTitle_, 0, 6);
    const char* labels[] = {"F:", "Vd:", "Cl:", "CF:", "Vm:"};
    const char* units[] = {"%", "L", "L/hr", "%", "mg/day"};
    for (int p = 0; p < kParameters; ++p) {
        const int row = p + 1;
        auto* label = new QLabel(labels[p], initial);
        if (p == kCl) clLabel_ = label;
        grid->addWidget(label, row, 0);
        auto* unit = new QLabel(units[p], initial);
        auto* plusMinus = new QLabel("+/-", initial);
        auto* spreadUnit = new QLabel(units[p], initial);
        values_[p] = Edit(initial, kNames[p]);
        spreads_[p] = Edit(initial, QString(kNames[p]) + "Sd");
        saved_[p] = Shown(initial, QString("saved") + kNames[p]);
        grid->addWidget(values_[p], row, 1);
        grid->addWidget(unit, row, 2);
        grid->addWidget(plusMinus, row, 3);
        grid->addWidget(spreads_[p], row, 4);
        grid->addWidget(spreadUnit, row, 5);
        if (p == kCl) clUnits_ = {unit, spreadUnit};
        if (p == kVm) vmRow_ = {label, values_[p], unit, plusMinus, spreads_[p], spreadUnit, saved_[p]};
        grid->addWidget(saved_[p], row, 6);
        for (QLineEdit* e : {values_[p], spreads_[p]}) e->installEventFilter(this);
        connect(values_[p], &QLineEdit::editingFinished, this, [this, p] {
            // A refused value shows no kd or t1/2 worked from another.
            if (CheckParameterField(values_[p])) ParameterLeft(p);
            else UpdateDerived();
        });
        connect(spreads_[p], &QLineEdit::editingFinished, this, [this, p] {
            if (CheckParameterField(spreads_[p])) SpreadLeft(p);
        });
    }
    perKg_ = Shown(initial, "perKg");
    grid->addWidget(perKg_, kVd + 1, 7);
    kd_ = Shown(initial, "kd");
    halfLife_ = Shown(initial, "halfLife");
    derivedRows_ = {new QLabel("kd:", initial),   kd_,       new QLabel("1/hr", initial),
                    new QLabel("t1/2:", initial), halfLife_, new QLabel("hr", initial)};
    for (int i = 0; i < 6; ++i) grid->addWidget(derivedRows_[i], 6 + i / 3, i % 3);
    grid->setColumnStretch(8, 1);
    root->addWidget(initial);

    auto* routes = new QGroupBox("Route - Product", this);
    auto* routeRows = new QVBoxLayout(routes);
    auto productRow = [&](QComboBox*& list, QLabel*& salt, QLabel*& f, const char* name) {
        auto* box = new QWidget(routes);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        list = new QComboBox(box);
        list->setObjectName(name);
        list->setMinimumContentsLength(30);
        salt = Shown(box, QString(name) + "Salt");
        f = Shown(box, QString(name) + "F");
        row->addWidget(list);
        row->addWidget(new QLabel("Salt:", box));
        row->addWidget(salt);
        row->addWidget(new QLabel("F:", box));
        row->addWidget(f);
        row->addStretch(1);
        routeRows->addWidget(box);
        connect(list, &QComboBox::currentIndexChanged, this, [this] { ProductChosen(true); });
        return box;
    };
    productRow(product1_, salt1_, f1_, "product1");
    secondProduct_ = productRow(product2_, salt2_, f2_, "product2");
    root->addWidget(routes);

    auto* factors = new QGroupBox("Curve Fitting Factors:", this);
    factors_ = factors;
    auto* fgrid = new QGridLayout(factors);
    timeWeight_ = Edit(factors, "timeWeight");
    fixedError_ = Edit(factors, "fixedError");
    fgrid->addWidget(new QLabel("Time Weighting Factor:", factors), 0, 0);
    fgrid->addWidget(timeWeight_, 0, 1);
    fgrid->addWidget(new QLabel("Outpatient: (1 - 1.005)", factors), 0, 2);
    fgrid->addWidget(new QLabel("Inpatient: (1.01 - 1.015)", factors), 0, 3);
    fixedErrorRow_ = {new QLabel("Bayes Fixed Error:", factors), fixedError_, new QLabel("% (5 - 20)", factors)};
    for (int i = 0; i < 3; ++i) fgrid->addWidget(fixedErrorRow_[i], 1, i);
    fgrid->setColumnStretch(4, 1);
    for (QLineEdit* e : {timeWeight_, fixedError_}) {
        e->installEventFilter(this);
        connect(e, &QLineEdit::editingFinished, this, [this, e] { CheckFactor(e); });
    }
    root->addWidget(factors);
}

double FittingSetUpForm::Scale(int p) const { return p == kF || p == kCF ? 100.0 : 1.0; }

void FittingSetUpForm::Show(const CaseRecord& r) {
    drug_ = r.Drug_ID;
    weight_ = r.Wt;
    therapeuticRange_ = {r.TherapeuticMin, r.TherapeuticMax};
    const bool ph = Phenytoin(drug_);
    clLabel_->setText(ph ? "Km:" : "Cl:");
    for (QLabel* unit : clUnits_) unit->setText(ph ? "mg/L" : "L/hr");
    for (QWidget* w : vmRow_) w->setVisible(ph);
    for (QWidget* w : derivedRows_) w->setVisible(!ph);
    const ParameterSet& s = r.population;
    const std::array<double, kParameters> value = {s.F, s.Vd, ph ? s.Km : s.Cl, s.CF, s.Vm};
    const std::array<double, kParameters> sd = {r.Init_f_sd, r.init_vd_sd, r.init_cl_sd, r.init_cf_sd, r.init_vm_sd};
    for (int p = 0; p < kParameters; ++p) {
        relative_[p] = sd[p];
        values_[p]->setText(Text(kFormats[p], value[p] * Scale(p)));
        spreads_[p]->setText(Text(kFormats[p], sd[p] * value[p] * Scale(p)));
    }
    const auto products = ProductsOf(r);
    Fill(product1_, products, r.RouteProduct);
    Fill(product2_, products, r.FitRouteProduct2.empty() ? r.RouteProduct : r.FitRouteProduct2);
    secondProduct_->setVisible(TwoProducts(drug_));
    factors_->setVisible(drug_ == "zz" || ph);
    for (QWidget* w : fixedErrorRow_) w->setVisible(drug_ == "zz");
    lastTimeWeight_ = r.Time_wt;
    timeWeight_->setText(Text("%.3f", r.Time_wt));
    lastFixedError_ = FixedErrorPercent(r.Fixed_err, r.TherapeuticMin, r.TherapeuticMax);
    fixedError_->setText(Text("%.2f", lastFixedError_));
    ProductChosen(false);
    UpdateDerived();
}

void FittingSetUpForm::ShowSaved(const std::optional<ParameterRow>& row, const std::string& dateText) {
    savedRow_ = row;
    const bool shown = row && row->Cur_fit_method >= 1 && row->Cur_fit_method <= 3;
    savedTitle_->setText(shown ? SavedOnCaption(row->Cur_fit_method, dateText) : QString());
    for (QLabel* l : saved_) l->clear();
    if (!shown) return;
    const bool ph = Phenytoin(drug_);
    saved_[kVd]->setText(QString::fromStdString(row->Vd));
    saved_[kCl]->setText(ph ? QString::number(row->Km) : QString::fromStdString(row->Cl));
    saved_[kCF]->setText(QString::number(StoredPercent(row->CF)));
    if (ph) saved_[kVm]->setText(QString::number(row->Vm));
}

// Vd, Cl (or Km and Vm) and CF; CF is shown in percent.
void FittingSetUpForm::ImportSaved() {
    if (saved_[kVd]->text().isEmpty()) return;
    for (int p : {kVd, kCl, kCF, kVm}) {
        const auto value = FieldNumber(saved_[p]->text());
        if (!value || values_[p]->isHidden()) continue;
        values_[p]->setText(Text(kFormats[p], *value));
        ParameterLeft(p);
    }
}

void FittingSetUpForm::ParameterLeft(int p) {
    const auto value = FieldNumber(values_[p]->text());
    if (value) spreads_[p]->setText(Text(kFormats[p], relative_[p] * *value));
    UpdateDerived();
}

void FittingSetUpForm::SpreadLeft(int p) {
    const auto value = FieldNumber(values_[p]->text());
    const auto spread = FieldNumber(spreads_[p]->text());
    if (value && spread && *value > 0 && *spread >= 0) relative_[p] = *spread / *value;
}

void FittingSetUpForm::UpdateDerived() {
    const auto vd = FieldNumber(values_[kVd]->text());
    const auto perKg = vd ? PerKilogram(*vd, weight_) : std::nullopt;
    perKg_->setText(perKg ? "(" + Text("%.3f", *perKg) + " L/kg)" : QString("(0.00 L/kg)"));
    const auto cl = FieldNumber(values_[kCl]->text());
    const bool derived = !Phenytoin(drug_) && vd && cl;
    const auto kd = derived ? EliminationConstant(*vd, *cl) : std::nullopt;
    const auto halfLife = derived ? HalfLife(*vd, *cl) : std::nullopt;
    kd_->setText(kd ? Text("%.3f", *kd) : QString());
    halfLife_->setText(halfLife ? Text("%.3f", *halfLife) : QString());
}

std::vector<std::string> FittingSetUpForm::Products() const {
    std::vector<std::string> products;
    if (product1_->currentIndex() >= 0) products.push_back(product1_->currentText().toStdString());
    if (TwoProducts(drug_) && product2_->currentIndex() >= 0)
        products.push_back(product2_->currentText().toStdString());
    return products;
}

// The salt and F each chosen product gives; a new choice also puts the F the
// doses by mouth will take into the F field.
void FittingSetUpForm::ProductChosen(bool takeF) {
    const std::vector<std::string> products = Products();
    CaseRecord trial = TheCase();
    auto show = [&](const std::string& product, QLabel* salt, QLabel* f) {
        CaseRecord one = trial;
        ApplyFitRouteProducts(one, {product});
        salt->setText(Text("%.2f", ProductSalt(one)));
        f->setText(Text("%.2f", one.population.F));
    };
    if (!products.empty()) show(products[0], salt1_, f1_);
    if (products.size() > 1) show(products[1], salt2_, f2_);
    ApplyFitRouteProducts(trial, products);
    if (takeF && !products.empty()) {
        // The product's F comes with its own spread.
        relative_[kF] = trial.Init_f_sd;
        values_[kF]->setText(Text(kFormats[kF], trial.population.F * 100));
        ParameterLeft(kF);
    }
}

bool FittingSetUpForm::CheckFactor(QLineEdit* field) {
    if (messageOpen_ || factors_->isHidden() || field->isHidden()) return true;
    const bool twf = field == timeWeight_;
    double& last = twf ? lastTimeWeight_ : lastFixedError_;
    if (field->text().trimmed().isEmpty()) {
        field->setText(Text(twf ? "%.3f" : "%.2f", last));
        return true;
    }
    const auto value = FieldNumber(field->text());
    const bool inRange = value && (twf ? *value >= 1 && *value <= 1.015 : *value >= 5 && *value <= 20);
    if (inRange) {
        last = *value;
        return true;
    }
    const char* message = !twf ? "Variable Error is beyond its range, please input it again."
                          : Phenytoin(drug_)
                              ? "Time Weighting Factor is beyond its range (1 - 1.015), please input it again."
                              : "Time Weighting Factor is beyond its range, please input it again.";
    messageOpen_ = true;
    Tell(this, message);
    messageOpen_ = false;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

std::optional<QString> FittingSetUpForm::ParameterProblem(const QLineEdit* field) const {
    if (const auto message = NotANumberProblem(field->text())) return message;
    const auto v = FieldNumber(field->text());
    if (!v) return std::nullopt;
    const auto spread = std::find(spreads_.begin(), spreads_.end(), field);
    if (spread == spreads_.end()) {
        if (*v <= 0) return QString("Please enter a value above 0.");
        return std::nullopt;
    }
    if (*v <= 0) return QString("Please enter a +/- value above 0.");
    // A spread wider than its parameter would let the fit take it anywhere.
    const auto value = FieldNumber(values_[spread - spreads_.begin()]->text());
    if (value && *value > 0 && *v > *value) return QString("Please enter a +/- value no larger than its parameter.");
    return std::nullopt;
}

bool FittingSetUpForm::CheckParameterField(QLineEdit* field) {
    if (messageOpen_) return false;
    // What the page showed itself (a drug's own spread of 0) is not the user's to mend.
    if (!field->isModified()) return true;
    const auto message = ParameterProblem(field);
    if (!message) return true;
    messageOpen_ = true;
    Warn(this, *message);
    messageOpen_ = false;
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

bool FittingSetUpForm::CheckField(QLineEdit* field) {
    return field == timeWeight_ || field == fixedError_ ? CheckFactor(field) : CheckParameterField(field);
}

bool FittingSetUpForm::Store(CaseRecord& r) {
    for (QLineEdit* f : {timeWeight_, fixedError_})
        if (!CheckFactor(f)) return false;
    std::array<double, kParameters> value{};
    for (int p = 0; p < kParameters; ++p) {
        if (values_[p]->isHidden()) continue;
        if (!CheckParameterField(values_[p]) || !CheckParameterField(spreads_[p])) return false;
        SpreadLeft(p);
        const auto v = FieldNumber(values_[p]->text());
        if (!v || *v <= 0) {
            Warn(this, "Please enter a value above 0.");
            values_[p]->setFocus(Qt::OtherFocusReason);
            return false;
        }
        value[p] = *v / Scale(p);
    }
    const std::vector<std::string> products = Products();
    ApplyFitRouteProducts(r, products);
    r.FitRouteProduct1 = products.empty() ? std::string() : products[0];
    r.FitRouteProduct2 = products.size() > 1 ? products[1] : std::string();
    ParameterSet& s = r.population;
    s.F = value[kF], s.Vd = value[kVd], s.CF = value[kCF];
    s.Cl = value[kCl];
    if (Phenytoin(drug_)) s.Km = value[kCl], s.Vm = value[kVm];
    r.Init_f_sd = relative_[kF], r.init_vd_sd = relative_[kVd], r.init_cl_sd = relative_[kCl];
    r.init_cf_sd = relative_[kCF], r.init_vm_sd = relative_[kVm];
    if (!factors_->isHidden()) r.Time_wt = lastTimeWeight_;
    const auto [low, high] = therapeuticRange_;
    if (drug_ == "zz") r.Fixed_err = FixedErrorOfPercent(lastFixedError_, low, high);
    return true;
}

// Enter on a refused field must not let the page move the focus on.
bool FittingSetUpForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !CheckField(static_cast<QLineEdit*>(watched)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

QLineEdit* FittingSetUpForm::FirstField() const { return values_[kF]; }

std::vector<QWidget*> FittingSetUpForm::EnterOrder() const {
    std::vector<QWidget*> order;
    for (int p = 0; p < kParameters; ++p) order.insert(order.end(), {values_[p], spreads_[p]});
    order.insert(order.end(), {product1_, product2_, timeWeight_, fixedError_});
    return order;
}
