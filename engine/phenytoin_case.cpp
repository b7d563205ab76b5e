#include "engine/phenytoin_case.h"

#include "engine/forecast_model.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

PhenytoinParameters PhenytoinParametersOf(const CaseRecord& r) {
    const ParameterSet& s = r.CurrentSet();
    return {s.Vd, s.Km, s.Vm};
}

bool TakenWhole(const CaseRecord& r) { return r.RouteCode == 'I' || r.RouteCode == 'D'; }

double ProductBioavailability(const CaseRecord& r) {
    if (TakenWhole(r)) return 1.0;
    return PhenytoinBioavailability(r.RouteProduct, r.FitRouteProduct1, r.CurrentSet().F, r.population.F);
}

void ChooseSecondProduct(CaseRecord& r, const std::string& routeProduct) {
    r.RouteProduct2 = routeProduct;
    r.RouteCode2 = RouteCodeOf(routeProduct);
    r.FormName2 = FormNameOf(routeProduct);
    r.Salt2 = SecondRegimenSalt(r.FormName2);
}
