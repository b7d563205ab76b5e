#include "pages/patient/entry_form.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <cmath>

#include "app/kit/clock.h"
#include "pages/patient/birthday_text.h"
#include "pages/widgets/form_keys.h"
#include "records/creatinine_unit.h"
#include "records/entry_limits.h"

namespace {
QLineEdit* Edit(QWidget* parent, const char* name, int maxLength = 32767) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    return edit;
}

QLineEdit* Display(QWidget* parent, const char* name) {
    QLineEdit* edit = Edit(parent, name);
    edit->setReadOnly(true);
    edit->setEnabled(false);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

QRadioButton* Radio(QWidget* parent, const char* caption, const char* name) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    return radio;
}

// Two choices side by side; only one may be set.
QWidget* Pair(QWidget* parent, QRadioButton* first, QRadioButton* second, QWidget* before = nullptr) {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    if (before) {
        row->addWidget(before, 1);
        // Unit choices of one width keep the number fields aligned.
        for (QRadioButton* unit : {first, second}) unit->setMinimumWidth(48);
    }
    row->addWidget(first);
    row->addWidget(second);
    if (!before) row->addStretch(1);
    auto* group = new QButtonGroup(box);
    group->addButton(first);
    group->addButton(second);
    return box;
}

QWidget* WithUnit(QWidget* parent, QWidget* field, const char* unit, const char* unitName = "") {
    auto* box = new QWidget(parent);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(field, 1);
    auto* label = new QLabel(unit, box);
    label->setObjectName(unitName);
    label->setMinimumWidth(52);  // the number fields of the case end in one line
    row->addWidget(label);
    return box;
}

QPlainTextEdit* Note(QWidget* parent, const char* name) {
    auto* note = new QPlainTextEdit(parent);
    note->setObjectName(name);
    note->setTabChangesFocus(true);
    note->setFixedHeight(70);
    return note;
}

// Sets one of two radio buttons, or neither.
void Check(QRadioButton* yes, QRadioButton* no, std::optional<bool> first) {
    QButtonGroup* group = yes->group();
    group->setExclusive(false);
    yes->setChecked(first.value_or(false));
    no->setChecked(first.has_value() && !*first);
    group->setExclusive(true);
}

std::optional<QString> RangeProblem(const QLineEdit* field, std::optional<std::string> (*problem)(double)) {
    if (field->isReadOnly() || !field->isEnabled() || field->text().trimmed().isEmpty()) return std::nullopt;
    if (auto notANumber = NotANumberProblem(field->text())) return notANumber;
    const std::optional<std::string> message = problem(FieldNumber(field->text()).value_or(-1));
    if (!message) return std::nullopt;
    return QString::fromStdString(*message);
}
}  // namespace

EntryForm::EntryForm(bool newPatient, QWidget* parent)
    : QWidget(parent),
      formatMessage_(newPatient ? "Please input the date data in format of 'mm/dd/yyyy' OR 'm/d/yyyy'"
                                : "Please input the date data in format of 'mm/dd/yyyy'") {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->addStretch(1);
    top->addWidget(new QLabel("Today's Date:", this));
    today_ = new QLabel(this);
    today_->setObjectName("today");
    top->addWidget(today_);
    root->addLayout(top);
    auto* columns = new QHBoxLayout;
    auto* patient = new QGroupBox("Patient", this);
    auto* patientGrid = new QGridLayout(patient);
    BuildPatientPart(patientGrid, newPatient);
    auto* kase = new QGroupBox("Case", this);
    auto* caseGrid = new QGridLayout(kase);
    BuildCasePart(caseGrid, newPatient);
    columns->addWidget(patient, 1);
    columns->addWidget(kase, 1);
    root->addLayout(columns);

    for (QWidget* w : {static_cast<QWidget*>(lastName_), static_cast<QWidget*>(firstName_),
                       static_cast<QWidget*>(hospitalId_), static_cast<QWidget*>(birthday_),
                       static_cast<QWidget*>(drug_), static_cast<QWidget*>(weight_), static_cast<QWidget*>(height_),
                       static_cast<QWidget*>(scr_), static_cast<QWidget*>(clcr_), static_cast<QWidget*>(albumin_)})
        w->installEventFilter(this);
    QWidget::setTabOrder(clcr_, albumin_);
    QWidget::setTabOrder(albumin_, caseNote_);
    // The one of SCr and CLcr not in use must look it.
    setStyleSheet("QLineEdit:read-only { background: #e4e4e4; color: #505050; }");
    SetRenalChoice(true);
    UpdateAlbumin();
}

void EntryForm::BuildPatientPart(QGridLayout* grid, bool newPatient) {
    QWidget* self = grid->parentWidget();
    lastName_ = Edit(self, "lastName", 20);
    firstName_ = Edit(self, "firstName", 20);
    hospitalId_ = Edit(self, "hospitalId");
    birthday_ = Edit(self, "birthday");
    male_ = Radio(self, "Male", "male");
    female_ = Radio(self, "Female", "female");
    patientUpdated_ = Display(self, "patientUpdated");
    patientNote_ = Note(self, "patientNote");
    int row = 0;
    auto add = [&](const QString& label, QWidget* field) {
        grid->addWidget(new QLabel(label, self), row, 0);
        grid->addWidget(field, row++, 1);
    };
    add("Last:", lastName_);
    add("First:", firstName_);
    add("Hosp ID:", hospitalId_);
    add("Birthday:", WithUnit(self, birthday_, "(mm/dd/yyyy)"));
    add("Sex:", Pair(self, male_, female_));
    add("Updated:", patientUpdated_);
    grid->addWidget(new QLabel(newPatient ? "Patient Note: (Size Limit 150)" : "Patient Note:", self), row++, 0, 1, 2);
    grid->addWidget(patientNote_, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
}

void EntryForm::BuildCasePart(QGridLayout* grid, bool newPatient) {
    QWidget* self = grid->parentWidget();
    drug_ = new QComboBox(self);
    drug_->setObjectName("drug");
    drug_->setEditable(true);
    drug_->setInsertPolicy(QComboBox::NoInsert);
    drug_->addItems(EntryDrugNames());
    drug_->completer()->setCompletionMode(QCompleter::InlineCompletion);
    drug_->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    weight_ = Edit(self, "weight");
    pounds_ = Radio(self, "lb", "pounds");
    kilograms_ = Radio(self, "kg", "kilograms");
    height_ = Edit(self, "height");
    inches_ = Radio(self, "in", "inches");
    centimetres_ = Radio(self, "cm", "centimetres");
    crs_ = Radio(self, "Crs:", "crsChoice");
    clcrChoice_ = Radio(self, "CLcr:", "clcrChoice");
    scr_ = Edit(self, "scr");
    clcr_ = Edit(self, "clcr");
    albumin_ = Edit(self, "albumin");
    caseUpdated_ = Display(self, "caseUpdated");
    caseNote_ = Note(self, "caseNote");
    int row = 0;
    auto add = [&](QWidget* label, QWidget* field) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    };
    auto text = [self](const QString& caption) { return new QLabel(caption, self); };
    add(text("Drug:"), drug_);
    add(text("Weight:"), Pair(self, pounds_, kilograms_, weight_));
    add(text("Height:"), Pair(self, inches_, centimetres_, height_));
    add(crs_, WithUnit(self, scr_, CreatinineUnitText(), "scrUnit"));
    add(clcrChoice_, WithUnit(self, clcr_, "mL/min"));
    add(text("Albumin:"), WithUnit(self, albumin_, "g/dL"));
    add(text("Updated:"), caseUpdated_);
    grid->addWidget(text(newPatient ? "Case Note: (Size Limit 150)" : "Case Note:"), row++, 0, 1, 2);
    grid->addWidget(caseNote_, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    // The clearance choice belongs with its field, not with the unit groups.
    auto* renal = new QButtonGroup(self);
    renal->addButton(crs_);
    renal->addButton(clcrChoice_);

    connect(drug_, &QComboBox::activated, this, [this] { emit drugChosen(drug_->currentText()); });
    connect(drug_, &QComboBox::editTextChanged, this, [this] { UpdateAlbumin(); });
    connect(crs_, &QRadioButton::clicked, this, [this] { ChooseRenal(true, true); });
    connect(clcrChoice_, &QRadioButton::clicked, this, [this] { ChooseRenal(false, true); });
    // A case has either a creatinine or an entered clearance, never both.
    connect(scr_, &QLineEdit::textEdited, clcr_, &QLineEdit::clear);
    connect(clcr_, &QLineEdit::textEdited, scr_, &QLineEdit::clear);
}

void EntryForm::SetToday(const QString& text) { today_->setText(text); }

void EntryForm::FixDrug(bool fixed) { drug_->setEnabled(!fixed); }

void EntryForm::ChooseRenal(bool crs, bool focus) {
    // A bad value in the field given up is told by that field's leaving
    // check, which only looks at a field in use: the choice waits for it.
    QLineEdit* givenUp = crs ? clcr_ : scr_;
    if (!givenUp->isReadOnly() && ProblemOf(givenUp)) {
        Check(crs_, clcrChoice_, !crs);
        return;
    }
    SetRenalChoice(crs);
    if (focus) (crs ? scr_ : clcr_)->setFocus(Qt::OtherFocusReason);
}

void EntryForm::SetRenalChoice(bool crs) {
    Check(crs_, clcrChoice_, crs);
    scr_->setReadOnly(!crs);
    clcr_->setReadOnly(crs);
    // The read-only one is out of the Tab order; a click still chooses it.
    scr_->setFocusPolicy(crs ? Qt::StrongFocus : Qt::ClickFocus);
    clcr_->setFocusPolicy(crs ? Qt::ClickFocus : Qt::StrongFocus);
}

void EntryForm::UpdateAlbumin() {
    const bool phenytoin = drug_->currentText() == kPhenytoin;
    albumin_->setEnabled(phenytoin);
    // A value the user cannot see must not reach the record.
    if (!phenytoin) albumin_->clear();
}

EntryValues EntryForm::Values() const {
    EntryValues v;
    v.lastName = lastName_->text();
    v.firstName = firstName_->text();
    v.hospitalId = hospitalId_->text();
    v.birthday = birthday_->text();
    v.sex = male_->isChecked() ? "M" : female_->isChecked() ? "F" : "";
    v.patientNote = patientNote_->toPlainText();
    v.patientUpdated = patientUpdated_->text();
    v.drug = drug_->currentText();
    v.weight = weight_->text();
    v.pounds = pounds_->isChecked();
    v.height = height_->text();
    v.inches = inches_->isChecked();
    v.crsChosen = crs_->isChecked();
    v.scr = scr_->text();
    v.clcr = clcr_->text();
    v.albumin = albumin_->text();
    v.caseNote = caseNote_->toPlainText();
    v.caseUpdated = caseUpdated_->text();
    return v;
}

void EntryForm::Show(const EntryValues& v) {
    lastName_->setText(v.lastName);
    firstName_->setText(v.firstName);
    hospitalId_->setText(v.hospitalId);
    birthday_->setText(v.birthday);
    Check(male_, female_, v.sex.isEmpty() ? std::nullopt : std::optional<bool>(v.sex == "M"));
    patientNote_->setPlainText(v.patientNote);
    patientUpdated_->setText(v.patientUpdated);
    const int index = drug_->findText(v.drug);
    drug_->setCurrentIndex(index);
    drug_->setEditText(v.drug);  // a netilmicin case shows its drug though the list lacks it
    weight_->setText(v.weight);
    Check(pounds_, kilograms_, v.pounds);
    height_->setText(v.height);
    Check(inches_, centimetres_, v.inches);
    SetRenalChoice(v.crsChosen);
    scr_->setText(v.scr);
    clcr_->setText(v.clcr);
    albumin_->setText(v.albumin);
    caseNote_->setPlainText(v.caseNote);
    caseUpdated_->setText(v.caseUpdated);
}

void EntryForm::ShowUpdated(const EntryValues& v) {
    patientUpdated_->setText(v.patientUpdated);
    caseUpdated_->setText(v.caseUpdated);
}

bool EntryForm::Complete() const {
    QLineEdit* renal = crs_->isChecked() ? scr_ : clcr_;
    for (const QLineEdit* field : {birthday_, weight_, height_, renal})
        if (field->text().trimmed().isEmpty()) return false;
    return !drug_->currentText().isEmpty() && (male_->isChecked() || female_->isChecked());
}

bool EntryForm::PhenytoinWithoutAlbumin() const {
    return drug_->currentText() == kPhenytoin && FieldNumber(albumin_->text()).value_or(0) == 0;
}

std::optional<QString> EntryForm::ProblemOf(QWidget* field) const {
    if (field == birthday_) {
        const long today = static_cast<long>(std::floor(Now()));
        const BirthdayReading r =
            ReadBirthday(PaddedBirthday(birthday_->text().toStdString()), today, formatMessage_.toStdString());
        if (r.problem) return QString::fromStdString(*r.problem);
        return std::nullopt;
    }
    if (field == drug_) {
        const QString name = drug_->currentText();
        if (!drug_->isEnabled() || name.isEmpty() || drug_->findText(name, Qt::MatchExactly) >= 0) return std::nullopt;
        return QString("Please select a valid drug name.");
    }
    if (field == weight_) return RangeProblem(weight_, WeightProblem);
    if (field == height_) return RangeProblem(height_, HeightProblem);
    if (field == scr_) return RangeProblem(scr_, ShownScrProblem);
    if (field == clcr_) return RangeProblem(clcr_, CrClProblem);
    if (field == albumin_) return RangeProblem(albumin_, AlbuminProblem);
    return std::nullopt;
}

std::optional<FieldProblem> EntryForm::FirstProblem() const {
    for (QWidget* field : {static_cast<QWidget*>(birthday_), static_cast<QWidget*>(drug_),
                           static_cast<QWidget*>(weight_), static_cast<QWidget*>(height_), static_cast<QWidget*>(scr_),
                           static_cast<QWidget*>(clcr_), static_cast<QWidget*>(albumin_)})
        if (auto message = ProblemOf(field)) return FieldProblem{field, *message};
    return std::nullopt;
}

void EntryForm::Refuse(const FieldProblem& problem) { warnings_.Refuse(problem); }

void EntryForm::CheckOnLeaving(QWidget* field) {
    if (warnings_.Showing()) return;
    if (field == birthday_) birthday_->setText(QString::fromStdString(PaddedBirthday(birthday_->text().toStdString())));
    if (field == drug_) LeaveDrugList();
    if (auto message = ProblemOf(field)) Refuse({field, *message});
}

void EntryForm::LeaveDrugList() {
    if (!drug_->isEnabled()) return;
    // Typed in another case, a name still picks its entry.
    const int index = drug_->findText(drug_->currentText(), Qt::MatchFixedString);
    if (index < 0) return;
    drug_->setCurrentIndex(index);
    drug_->setEditText(drug_->itemText(index));
    emit drugLeft(drug_->currentText());
}

std::vector<QWidget*> EntryForm::EnterOrder() const {
    std::vector<QWidget*> order;
    for (QWidget* w : {static_cast<QWidget*>(lastName_), static_cast<QWidget*>(firstName_),
                       static_cast<QWidget*>(hospitalId_), static_cast<QWidget*>(birthday_),
                       static_cast<QWidget*>(drug_), static_cast<QWidget*>(weight_), static_cast<QWidget*>(height_),
                       static_cast<QWidget*>(scr_), static_cast<QWidget*>(clcr_), static_cast<QWidget*>(albumin_)})
        // The one of SCr and CLcr not in use is skipped: entering it would choose it.
        if (w->isEnabled() && !(qobject_cast<QLineEdit*>(w) && static_cast<QLineEdit*>(w)->isReadOnly()))
            order.push_back(w);
    return order;
}

void EntryForm::MoveVertically(QWidget* from, bool down) {
    // Screen order of the typed fields; the birthday is followed by the weight.
    const std::vector<QWidget*> order{lastName_, firstName_, hospitalId_, birthday_, weight_,
                                      height_,   scr_,       clcr_,       albumin_};
    auto it = std::find(order.begin(), order.end(), from);
    if (it == order.end()) return;
    while (true) {
        if (down ? std::next(it) == order.end() : it == order.begin()) return;
        it = down ? std::next(it) : std::prev(it);
        if ((*it)->isEnabled()) break;
    }
    (*it)->setFocus(Qt::OtherFocusReason);
}

bool EntryForm::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QWidget*>(watched);
    // The list keeps its arrows for its entries.
    if (const int step = VerticalStep(event); step != 0 && field != drug_) {
        MoveVertically(field, step > 0);
        return true;
    }
    switch (event->type()) {
        case QEvent::FocusOut:
            if (LeftByUser(event))
                QMetaObject::invokeMethod(
                    this, [this, field] { CheckOnLeaving(field); }, Qt::QueuedConnection);
            break;
        case QEvent::FocusIn:
            if (field == scr_ && !crs_->isChecked()) ChooseRenal(true, false);
            if (field == clcr_ && crs_->isChecked()) ChooseRenal(false, false);
            break;
        case QEvent::MouseButtonPress: pressedWithFocus_ = field->hasFocus() ? field : nullptr; break;
        case QEvent::MouseButtonRelease:
            // A click into the field being typed in goes on at the end of its text.
            if (auto* edit = qobject_cast<QLineEdit*>(field); edit && pressedWithFocus_ == edit) edit->end(false);
            break;
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}
