#include "pages/drug/saved_parameters.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/forecast_parameters.h"
#include "pages/widgets/database_work.h"
#include "pages/widgets/field_watch.h"
#include "pages/widgets/page_widgets.h"
#include "records/case_record.h"
#include "records/db/case_reload.h"
#include "records/db/stored_text.h"
#include "records/text_format.h"

QString SavedOnCaption(int fitMethod, const std::string& dateText) {
    const char* fit = fitMethod == kLeastSquares ? "LS" : fitMethod == kBayesian ? "Bayesian" : "Population";
    return QString("%1 Parameters Saved On %2").arg(fit, QString::fromStdString(dateText));
}

SavedParameters::SavedParameters(QWidget* parent) : QGroupBox(parent) {
    setObjectName("savedParameters");
    vd_ = OutputField(this, "savedVd");
    cl_ = OutputField(this, "savedCl");
    cf_ = OutputField(this, "savedCf");
    kd_ = OutputField(this, "savedKd");
    halfLife_ = OutputField(this, "savedHalfLife");
    f_ = OutputField(this, "savedF");
    perKg_ = new QLabel(this);
    perKg_->setObjectName("savedVdPerKg");
    auto* grid = new QGridLayout(this);
    FieldRows rows(grid);
    rows.Add("Vd:", vd_, "L");
    grid->addWidget(perKg_, rows.Row(), 1, 1, 2);
    rows.Skip();
    rows.Add("Cl:", cl_, "L/hr");
    rows.Add("CF:", cf_, "%");
    rows.Add("kd:", kd_, "1/hr");
    rows.Add("t1/2:", halfLife_, "hr");
    rows.Add("F:", f_, "");
    auto* import = new QPushButton("Import Saved Parameters", this);
    import->setObjectName("importSaved");
    import->setAutoDefault(false);
    grid->addWidget(import, rows.Row(), 0, 1, 3);
    connect(import, &QPushButton::clicked, this, &SavedParameters::importRequested);
    hide();
}

void SavedParameters::Load(const CaseRecord& r) {
    saved_.reset();
    hide();
    if (r.PATIENT_REC_Num == 0 || r.Case_number == 0) return;
    std::optional<ParameterRow> row;
    if (!WithDatabase(window(), [&](Database& db) { row = ReadParameterRow(db, r.PATIENT_REC_Num, r.Case_number); }))
        return;
    if (!row) return;
    ParameterSet set;
    set.Vd = TextNumber(row->Vd);
    set.Cl = TextNumber(row->Cl);
    set.CF = StoredPercent(row->CF) / 100;
    saved_ = set;
    setTitle(SavedOnCaption(row->Cur_fit_method, r.DateText));
    vd_->setText(QString::fromStdString(row->Vd));
    perKg_->setText(
        QString::fromStdString("(" + FormatNumber("%.3f", PerKilogram(set.Vd, r.Wt).value_or(0)) + " L/kg)"));
    cl_->setText(QString::fromStdString(row->Cl));
    cf_->setText(QString::number(set.CF * 100));
    ShowValue(kd_, EliminationConstant(set.Vd, set.Cl), "%.3lf");
    ShowValue(halfLife_, HalfLife(set.Vd, set.Cl), "%.3lf");
    f_->setText("1.00");
    show();
}
