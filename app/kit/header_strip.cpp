#include "app/kit/header_strip.h"

#include <QGridLayout>
#include <QLabel>
#include <cmath>

#include "app/kit/date_display.h"
#include "engine/patient_measures.h"
#include "records/case_record.h"
#include "records/creatinine_unit.h"
#include "records/drug_catalogue.h"
#include "records/text_format.h"
#include "records/units.h"

namespace {
constexpr double kOneMonthInYears = 0.083333333333333;

void AgeTexts(double age, HeaderTexts& t) {
    if (age >= 2) {
        t.ageValue = FormatNumber("%.0f", std::floor(age));
        t.ageUnit = "Years ";
    } else if (age >= kOneMonthInYears) {
        t.ageValue = FormatNumber("%.1f", age * 12);
        t.ageUnit = "Months ";
    } else {
        t.ageValue = FormatNumber("%.0f", age * 365);
        t.ageUnit = "Days ";
    }
}

std::string RenalLine(const CaseRecord& r) {
    if (r.SCr == 0) return "Entered CLcr: " + FormatNumber("%.2lf", r.CrCl) + " mL/min";
    std::string line = "Crs=" + ScrText(r.SCr, "%.2lf") + " " + CreatinineUnitText();
    const double estimate = EstimateCrCl(BodyOf(r), r.SCr, 0.0, r.AugmentedCrClCap);
    if (estimate != 0) line += "  Est. CLcr=" + FormatNumber("%.2lf", estimate) + " mL/min";
    return line;
}

std::string DrugLine(const CaseRecord& r, HeaderVariant variant) {
    if (variant == HeaderVariant::NoDrugLine || variant == HeaderVariant::NoDrugNoAlbumin) return {};
    if (r.Drug_ID == "zz") {
        if (variant == HeaderVariant::FittingSetUp) return r.userDrug.drugName + " (one-compartment)";
        return "User's-Choice : " + r.userDrug.drugName;
    }
    const auto drug = FindDrug(r.Drug_ID);
    return drug ? drug->name : std::string();
}
}  // namespace

HeaderTexts HeaderTextsOf(const CaseRecord& r, double now, HeaderVariant variant) {
    HeaderTexts t;
    t.date = DateDisplay(now);
    t.id = r.Patient_ID;
    t.name = r.DisplayName;
    AgeTexts(r.Age, t);
    t.sex = r.SEX == "M" ? "Male " : "Female ";
    t.weight = FormatNumber("%.1lf", r.WtUnit == "lb" ? r.Wt * kLbPerKg : r.Wt) + " " + r.WtUnit;
    t.height = FormatNumber("%.1lf", r.HtUnit == "in" ? r.Ht * kInchPerCm : r.Ht) + " " + r.HtUnit;
    t.renal = RenalLine(r);
    if (r.Drug_ID == "ph" && variant != HeaderVariant::NoDrugNoAlbumin)
        t.albumin = "Albumin: " + FormatNumber("%.2lf", r.Albumin) + " g/dL";
    t.drug = DrugLine(r, variant);
    return t;
}

HeaderStrip::HeaderStrip(HeaderVariant variant, QWidget* parent) : QWidget(parent), variant_(variant) {
    setObjectName("headerStrip");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    // Each field sits after its caption; `span` counts field columns.
    auto field = [this, grid](const char* name, const char* caption, int row, int column, int span) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAutoFillBackground(true);
        label->setBackgroundRole(QPalette::Base);
        label->setMinimumHeight(22);
        auto* title = new QLabel(caption, this);
        title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(title, row, column);
        grid->addWidget(label, row, column + 1, 1, span * 2 - 1);
        return label;
    };
    date_ = field("date", "Date:", 0, 0, 1);
    id_ = field("id", "ID:", 0, 2, 1);
    name_ = field("name", "Name:", 0, 4, 2);
    age_ = field("age", "Age:", 1, 0, 1);
    sex_ = field("sex", "Sex:", 1, 2, 1);
    weight_ = field("weight", "Weight:", 1, 4, 1);
    height_ = field("height", "Height:", 1, 6, 1);
    renal_ = field("renal", "Renal:", 2, 0, 2);
    albumin_ = field("albumin", "", 2, 4, 2);
    drug_ = field("drug", "Drug:", 3, 0, 4);
    for (int column = 1; column < 8; column += 2) grid->setColumnStretch(column, 1);
    showAlbumin_ = variant != HeaderVariant::NoDrugNoAlbumin;
    drug_->setVisible(variant != HeaderVariant::NoDrugLine && variant != HeaderVariant::NoDrugNoAlbumin);
    grid->itemAtPosition(3, 0)->widget()->setVisible(drug_->isVisibleTo(this));
}

void HeaderStrip::Fill(const CaseRecord& r, double now) {
    texts_ = HeaderTextsOf(r, now, variant_);
    auto q = [](const std::string& s) { return QString::fromStdString(s); };
    date_->setText(q(texts_.date));
    id_->setText(q(texts_.id));
    name_->setText(q(texts_.name));
    age_->setText(q(texts_.ageValue + " " + texts_.ageUnit));
    sex_->setText(q(texts_.sex));
    weight_->setText(q(texts_.weight));
    height_->setText(q(texts_.height));
    renal_->setText(q(texts_.renal));
    albumin_->setText(q(texts_.albumin));
    // The albumin field is there only while it has something to say.
    albumin_->setVisible(showAlbumin_ && !texts_.albumin.empty());
    drug_->setText(q(texts_.drug));
}
