#include "app/kit/header_strip.h"

#include <QGridLayout>
#include <QLabel>
#include <cmath>

#include "app/kit/date_display.h"
#include "app/kit/text_format.h"
#include "engine/patient_measures.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

namespace {
constexpr double kOneMonthInYears = 0.083333333333333;
constexpr double kKgToLb = 2.2046001186074866;
constexpr double kCmToIn = 0.39371628804283637;

void AgeTexts(double age, HeaderTexts& t) {
    if (age >= 2) {
        t.ageValue = Formatted("%.0f", std::floor(age));
        t.ageUnit = "Years ";
    } else if (age >= kOneMonthInYears) {
        t.ageValue = Formatted("%.1f", age * 12);
        t.ageUnit = "Months ";
    } else {
        t.ageValue = Formatted("%.0f", age * 365);
        t.ageUnit = "Days ";
    }
}

std::string RenalLine(const CaseRecord& r) {
    if (r.SCr == 0) return "Entered CLcr: " + Formatted("%.2lf", r.CrCl) + " mL/min";
    std::string line = "Crs=" + Formatted("%.2lf", r.SCr) + " mg/dL";
    const double estimate = EstimateCrCl(BodyOf(r), r.SCr, 0.0, r.AugmentedCrClCap);
    if (estimate != 0) line += "  Est. CLcr=" + Formatted("%.2lf", estimate) + " mL/min";
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
    t.weight = Formatted("%.1lf", r.WtUnit == "lb" ? r.Wt * kKgToLb : r.Wt) + " " + r.WtUnit;
    t.height = Formatted("%.1lf", r.HtUnit == "in" ? r.Ht * kCmToIn : r.Ht) + " " + r.HtUnit;
    t.renal = RenalLine(r);
    if (r.Drug_ID == "ph" && variant != HeaderVariant::NoDrugNoAlbumin)
        t.albumin = "Albumin: " + Formatted("%.2lf", r.Albumin) + " g/dL";
    t.drug = DrugLine(r, variant);
    return t;
}

HeaderStrip::HeaderStrip(HeaderVariant variant, QWidget* parent) : QWidget(parent), variant_(variant) {
    setObjectName("headerStrip");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    auto field = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAutoFillBackground(true);
        label->setBackgroundRole(QPalette::Base);
        label->setMinimumHeight(22);
        return label;
    };
    date_ = field("date");
    id_ = field("id");
    name_ = field("name");
    age_ = field("age");
    sex_ = field("sex");
    weight_ = field("weight");
    height_ = field("height");
    renal_ = field("renal");
    albumin_ = field("albumin");
    drug_ = field("drug");
    grid->addWidget(date_, 0, 0);
    grid->addWidget(id_, 0, 1);
    grid->addWidget(name_, 0, 2, 1, 2);
    grid->addWidget(age_, 0, 4);
    grid->addWidget(sex_, 0, 5);
    grid->addWidget(weight_, 1, 0);
    grid->addWidget(height_, 1, 1);
    grid->addWidget(renal_, 1, 2, 1, 2);
    grid->addWidget(albumin_, 1, 4, 1, 2);
    grid->addWidget(drug_, 2, 0, 1, 6);
    albumin_->setVisible(variant != HeaderVariant::NoDrugNoAlbumin);
    drug_->setVisible(variant != HeaderVariant::NoDrugLine && variant != HeaderVariant::NoDrugNoAlbumin);
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
    drug_->setText(q(texts_.drug));
}
