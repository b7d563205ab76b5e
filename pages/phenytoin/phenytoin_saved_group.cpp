#include "pages/phenytoin/phenytoin_saved_group.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/forecast_parameters.h"
#include "pages/patient/entry_values.h"
#include "pages/widgets/database_work.h"
#include "pages/widgets/field_rows.h"
#include "records/case_record.h"
#include "records/db/case_reload.h"

namespace {
void ShowWithPerKilogram(QLineEdit* field, const QString& text, const char* perKgUnit, double weight) {
    const double value = FieldNumber(text).value_or(0);
    field->setText(text + " " + QString::fromStdString(PerKilogramText(value, weight, perKgUnit)));
}
}  // namespace

PhenytoinSavedGroup::PhenytoinSavedGroup(QWidget* parent) : QGroupBox(parent) {
    setObjectName("savedParameters");
    auto* grid = new QGridLayout(this);
    vd_ = AddFieldRow(this, grid, 0, "Vd:", "savedVd", "", true).field;
    km_ = AddFieldRow(this, grid, 1, "Km:", "savedKm", "mg/L", true).field;
    vm_ = AddFieldRow(this, grid, 2, "Vmax:", "savedVmax", "", true).field;
    f_ = AddFieldRow(this, grid, 3, "F:", "savedF", "", true).field;
    albumin_ = AddFieldRow(this, grid, 4, "Albumin:", "savedAlbumin", "g/dL", true).field;
    for (QLineEdit* wide : {vd_, vm_}) wide->setMaximumWidth(220);
    auto* import = new QPushButton("Import Saved Parameters", this);
    import->setObjectName("importSaved");
    import->setAutoDefault(false);
    grid->addWidget(import, 5, 0, 1, 3);
    connect(import, &QPushButton::clicked, this, [this] { Import(); });
    hide();
}

void PhenytoinSavedGroup::Load(const CaseRecord& r) {
    row_.reset();
    hide();
    if (r.PATIENT_REC_Num == 0 || r.Case_number == 0) return;
    std::optional<PatientCaseRow> caseRow;
    const bool read = WithDatabase(this, [&](Database& db) {
        row_ = ReadParameterRow(db, r.PATIENT_REC_Num, r.Case_number);
        caseRow = ReadCaseRow(db, r.PATIENT_REC_Num, r.Case_number);
    });
    if (!read || !row_) return row_.reset();
    setTitle(QString::fromStdString("Parameters Saved On " + r.DateText));
    ShowWithPerKilogram(vd_, QString::fromStdString(row_->Vd), "L/kg", r.Wt);
    km_->setText(QString::number(row_->Km));
    ShowWithPerKilogram(vm_, QString::number(row_->Vm), "mg/day/kg", r.Wt);
    f_->setText("1.00");
    albumin_->setText(caseRow ? QString::fromStdString(caseRow->Albumin) : QString());
    show();
}

void PhenytoinSavedGroup::Import() {
    if (!row_) return;
    ParameterSet& s = TheCase().CurrentSet();
    s.Vd = FieldNumber(QString::fromStdString(row_->Vd)).value_or(0);
    s.Km = s.Cl = row_->Km;
    s.Vm = row_->Vm;
    emit imported();
}
