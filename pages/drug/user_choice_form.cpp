#include "pages/drug/user_choice_form.h"

#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "pages/widgets/field_number.h"
#include "pages/widgets/form_keys.h"

namespace {
constexpr const char* kSaltHint = "(0.01 - 1.00)";
constexpr const char* kKaHint = "(0.001-4.00)";

QComboBox* Choice(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

// A labelled row: the field, then its unit, choice or hint beside it.
void AddRow(QGridLayout* grid, const QString& label, QWidget* field, QWidget* beside = nullptr) {
    const int row = grid->rowCount();
    grid->addWidget(new QLabel(label, grid->parentWidget()), row, 0);
    grid->addWidget(field, row, 1);
    if (beside) grid->addWidget(beside, row, 2);
}

QLabel* Note(QWidget* parent, const QString& text) { return new QLabel(text, parent); }

bool Padded(UserDrugField f) {
    switch (f) {
        case UserDrugField::IvSalt:
        case UserDrugField::ImKa:
        case UserDrugField::ImSalt:
        case UserDrugField::OralKa:
        case UserDrugField::OralSalt: return true;
        default: return false;
    }
}

void Choose(QComboBox* box, const std::string& text) { box->setCurrentIndex(std::max(0, box->findText(text.c_str()))); }
}  // namespace

UserChoiceForm::UserChoiceForm(QWidget* parent) : QWidget(parent) {
    auto* columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(BuildDrugPart(), 1);
    columns->addWidget(BuildGroups(), 1);
    for (auto& [edit, field] : checked_) edit->installEventFilter(this);
    for (QLineEdit* e : {name_, min_, max_, lag_}) e->installEventFilter(this);
    oralForm_->installEventFilter(this);
    for (QLineEdit* e : findChildren<QLineEdit*>()) connect(e, &QLineEdit::textEdited, this, &UserChoiceForm::edited);
    for (QComboBox* c : {units_, clearanceUnit_, volumeUnit_, oralForm_})
        connect(c, &QComboBox::currentTextChanged, this, &UserChoiceForm::edited);
    connect(units_, &QComboBox::currentTextChanged, this, [this] { ShowConcentrationUnit(); });
    setStyleSheet("QLineEdit:read-only { background: #e4e4e4; color: #505050; }");
    ShowConcentrationUnit();
}

QLineEdit* UserChoiceForm::Checked(const char* name, UserDrugField field, int maxLength) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    checked_.emplace_back(edit, field);
    return edit;
}

QWidget* UserChoiceForm::BuildDrugPart() {
    auto* box = new QGroupBox("Drug", this);
    auto* grid = new QGridLayout(box);
    name_ = new QLineEdit(box);
    name_->setObjectName("drugName");
    name_->setMaxLength(static_cast<int>(kUserDrugNameLimit));
    units_ = Choice(box, "units", {"mg-mg/L", "mcg-mcg/L"});
    clearance_ = Checked("clearance", UserDrugField::Clearance);
    clearanceUnit_ = Choice(box, "clearanceUnit", {"L/h", "mL/min"});
    volume_ = Checked("volume", UserDrugField::Volume);
    volumeUnit_ = Choice(box, "volumeUnit", {"L", "L/kg"});
    compliance_ = Checked("compliance", UserDrugField::Compliance, 6);
    min_ = new QLineEdit(box);
    min_->setObjectName("therapeuticMin");
    max_ = new QLineEdit(box);
    max_->setObjectName("therapeuticMax");
    lag_ = new QLineEdit(box);
    lag_->setObjectName("timeLag");
    AddRow(grid, "Drug Name:", name_);
    AddRow(grid, "Units (Dose-Concentration):", units_);
    AddRow(grid, "Clearance:", clearance_, clearanceUnit_);
    AddRow(grid, "Volume of Distribution (Vd):", volume_, volumeUnit_);
    AddRow(grid, "Compliance Factor (CF):", compliance_, Note(box, "%"));
    for (auto [label, field] : {std::pair{"Therapeutic Min:", min_}, {"Therapeutic Max:", max_}}) {
        concentrationUnits_.push_back(Note(box, ""));
        AddRow(grid, label, field, concentrationUnits_.back());
    }
    AddRow(grid, "Time Lag:", lag_, Note(box, "hr"));
    grid->setRowStretch(grid->rowCount(), 1);
    return box;
}

QWidget* UserChoiceForm::BuildGroups() {
    auto* column = new QWidget(this);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    auto group = [&](const char* title) {
        auto* box = new QGroupBox(title, column);
        stack->addWidget(box);
        return new QGridLayout(box);
    };
    ivSalt_ = Checked("ivSalt", UserDrugField::IvSalt);
    QGridLayout* iv = group("Intravenous");
    AddRow(iv, "Salt:", ivSalt_, Note(column, kSaltHint));

    imKa_ = Checked("imKa", UserDrugField::ImKa);
    imSalt_ = Checked("imSalt", UserDrugField::ImSalt);
    imF_ = Checked("imF", UserDrugField::ImF, 3);
    QGridLayout* im = group("Intramuscular");
    AddRow(im, "Ka:", imKa_, Note(column, kKaHint));
    AddRow(im, "Salt:", imSalt_, Note(column, kSaltHint));
    AddRow(im, "F:", imF_, Note(column, "%"));

    oralForm_ = new QComboBox(column);
    oralForm_->setObjectName("oralForm");
    oralForm_->setEditable(true);
    oralForm_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& form : UserDrugOralForms()) oralForm_->addItem(QString::fromStdString(form));
    oralForm_->completer()->setCompletionMode(QCompleter::InlineCompletion);
    oralForm_->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    oralKa_ = Checked("oralKa", UserDrugField::OralKa);
    oralSalt_ = Checked("oralSalt", UserDrugField::OralSalt);
    oralF_ = Checked("oralF", UserDrugField::OralF, 3);
    QGridLayout* oral = group("Oral");
    AddRow(oral, "Dosage Form:", oralForm_);
    AddRow(oral, "Ka:", oralKa_, Note(column, kKaHint));
    AddRow(oral, "Salt:", oralSalt_, Note(column, kSaltHint));
    AddRow(oral, "F:", oralF_, Note(column, "%"));
    stack->addStretch(1);
    return column;
}

void UserChoiceForm::ShowConcentrationUnit() {
    const QString unit = units_->currentText() == "mg-mg/L" ? "mg/L" : "mcg/L";
    for (QLabel* label : concentrationUnits_) label->setText(unit);
}

std::vector<UserChoiceForm::TextField> UserChoiceForm::TextFields() const {
    using D = UserDrugDefinition;
    return {
        {name_, &D::drugName},      {clearance_, &D::clearance}, {volume_, &D::volume}, {compliance_, &D::compliance},
        {min_, &D::therapeuticMin}, {max_, &D::therapeuticMax},  {lag_, &D::timeLag},   {ivSalt_, &D::ivSalt},
        {imKa_, &D::imKa},          {imSalt_, &D::imSalt},       {imF_, &D::imF},       {oralKa_, &D::oralKa},
        {oralSalt_, &D::oralSalt},  {oralF_, &D::oralF}};
}

UserDrugDefinition UserChoiceForm::Values() const {
    UserDrugDefinition d;
    for (const auto& [edit, text] : TextFields()) d.*text = edit->text().toStdString();
    d.units = units_->currentText().toStdString();
    d.clearanceUnit = clearanceUnit_->currentText().toStdString();
    d.volumeUnit = volumeUnit_->currentText().toStdString();
    d.oralForm = oralForm_->currentText().toStdString();
    return d;
}

void UserChoiceForm::Show(const UserDrugDefinition& d) {
    for (const auto& [edit, text] : TextFields()) edit->setText(QString::fromStdString(d.*text));
    name_->setReadOnly(!d.drugName.empty());
    name_->setFocusPolicy(d.drugName.empty() ? Qt::StrongFocus : Qt::NoFocus);
    Choose(units_, d.units);
    Choose(clearanceUnit_, d.clearanceUnit);
    Choose(volumeUnit_, d.volumeUnit);
    oralForm_->setCurrentIndex(oralForm_->findText(QString::fromStdString(d.oralForm)));
    oralForm_->setEditText(QString::fromStdString(d.oralForm));
}

void UserChoiceForm::FocusFirstField() { (name_->isReadOnly() ? clearance_ : name_)->setFocus(Qt::OtherFocusReason); }

std::optional<QString> UserChoiceForm::ProblemOf(QWidget* field) const {
    std::optional<std::string> problem;
    if (field == oralForm_) {
        problem = UserDrugFieldProblem(UserDrugField::OralForm, oralForm_->currentText().toStdString());
    } else {
        const auto it =
            std::find_if(checked_.begin(), checked_.end(), [field](const auto& c) { return c.first == field; });
        if (it == checked_.end() || it->first->isReadOnly()) return std::nullopt;
        if (auto notANumber = NotANumberProblem(it->first->text())) return notANumber;
        problem = UserDrugFieldProblem(it->second, it->first->text().trimmed().toStdString());
    }
    if (!problem) return std::nullopt;
    return QString::fromStdString(*problem);
}

std::optional<FieldProblem> UserChoiceForm::FirstProblem() const {
    for (const auto& [edit, kind] : checked_) {
        if (kind == UserDrugField::OralKa) {
            // The dosage form sits above its ka on the screen.
            if (auto message = ProblemOf(oralForm_)) return FieldProblem{oralForm_, *message};
        }
        if (auto message = ProblemOf(edit)) return FieldProblem{edit, *message};
    }
    return std::nullopt;
}

void UserChoiceForm::Refuse(const FieldProblem& problem) { warnings_.Refuse(problem); }

void UserChoiceForm::CheckOnLeaving(QWidget* field) {
    if (warnings_.Showing()) return;
    if (field == oralForm_) {
        // Typed in another case, a form still picks its entry.
        const int index = oralForm_->findText(oralForm_->currentText(), Qt::MatchFixedString);
        if (index >= 0) {
            oralForm_->setCurrentIndex(index);
            oralForm_->setEditText(oralForm_->itemText(index));
        }
    }
    if (auto message = ProblemOf(field)) return Refuse({field, *message});
    const auto it = std::find_if(checked_.begin(), checked_.end(), [field](const auto& c) { return c.first == field; });
    if (it != checked_.end() && Padded(it->second) && !it->first->text().trimmed().isEmpty())
        it->first->setText(QString::fromStdString(PaddedRateText(it->first->text().toStdString())));
}

std::vector<QWidget*> UserChoiceForm::EnterOrder() const {
    std::vector<QWidget*> order;
    for (QWidget* w : std::initializer_list<QWidget*>{name_, units_, clearance_, clearanceUnit_, volume_, volumeUnit_,
                                                      compliance_, min_, max_, lag_, ivSalt_, imKa_, imSalt_, imF_,
                                                      oralForm_, oralKa_, oralSalt_, oralF_})
        if (w->focusPolicy() != Qt::NoFocus) order.push_back(w);
    return order;
}

void UserChoiceForm::MoveVertically(QWidget* from, bool down) {
    // The typed fields in screen order: the drug column, then the groups.
    std::vector<QWidget*> order = EnterOrder();
    std::erase_if(order, [this](QWidget* w) { return w == units_ || w == clearanceUnit_ || w == volumeUnit_; });
    auto it = std::find(order.begin(), order.end(), from);
    if (it == order.end()) return;
    if (down ? std::next(it) == order.end() : it == order.begin()) return;
    (*(down ? std::next(it) : std::prev(it)))->setFocus(Qt::OtherFocusReason);
}

bool UserChoiceForm::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QWidget*>(watched);
    // The list keeps its arrows for its entries.
    if (const int step = VerticalStep(event); step != 0 && field != oralForm_) {
        MoveVertically(field, step > 0);
        return true;
    }
    if (LeftByUser(event))
        QMetaObject::invokeMethod(
            this, [this, field] { CheckOnLeaving(field); }, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}
