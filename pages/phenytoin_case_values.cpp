#include "pages/phenytoin_case_values.h"

#include <QLineEdit>

#include "engine/forecast_model.h"
#include "engine/patient_measures.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"
#include "records/text_format.h"

namespace {
// The answers "Is valproic acid concentration > 70 mg/L ?" and "Is the
// patient's bilirubin > 6 mg/dL ?" of the phenytoin factor list.
constexpr int kValproate = 2, kBilirubin = 3;
}  // namespace

PhenytoinParameters PhenytoinParametersOf(const CaseRecord& r) {
    const ParameterSet& s = r.CurrentSet();
    return {s.Vd, s.Km, s.Vm};
}

double ProductSalt(const CaseRecord& r) { return r.RouteCode == 'O' ? r.PO_Salt : r.ParenteralSalt; }

bool TakenWhole(const CaseRecord& r) { return r.RouteCode == 'I' || r.RouteCode == 'D'; }

double ProductBioavailability(const CaseRecord& r) {
    if (TakenWhole(r)) return 1.0;
    return PhenytoinBioavailability(r.RouteProduct, r.FitRouteProduct1, r.CurrentSet().F, r.population.F);
}

double CurrentFreeFraction(const CaseRecord& r) {
    return FreeFraction(BodyOf(r), r.Albumin, r.CrCl, r.Factor(kValproate), r.Factor(kBilirubin));
}

void ChooseSecondProduct(CaseRecord& r, const std::string& routeProduct) {
    r.RouteProduct2 = routeProduct;
    r.RouteCode2 = RouteCodeOf(routeProduct);
    r.FormName2 = FormNameOf(routeProduct);
    r.Salt2 = SecondRegimenSalt(r.FormName2);
}

void ShowNumber(QLineEdit* field, const std::optional<double>& value, const char* format) {
    field->setText(value ? QString::fromStdString(FormatNumber(format, *value)) : QString());
}

void ShowRange(QLineEdit* low, QLineEdit* high, double freeFraction) {
    const auto range = AdjustedRange(freeFraction);
    ShowNumber(low, range ? std::optional(range->low) : std::nullopt, "%1.1f");
    ShowNumber(high, range ? std::optional(range->high) : std::nullopt, "%1.1f");
}
