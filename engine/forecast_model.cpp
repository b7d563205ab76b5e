#include "engine/forecast_model.h"

#include <cmath>

#include "engine/forecast_parameters.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

double ProductSalt(const CaseRecord& r) { return r.RouteCode == 'O' ? r.PO_Salt : r.ParenteralSalt; }

RegimenModel RegimenModelOf(const CaseRecord& r, double F) {
    const ParameterSet& set = r.CurrentSet();
    RegimenModel m;
    m.drug = r.Drug_ID;
    m.modelType = r.ModelType;
    m.F = F;
    m.Vd = set.Vd;
    m.Cl = set.Cl;
    m.CF = set.CF;
    const bool oral = r.RouteCode == 'O';
    m.salt = ProductSalt(r);
    m.ka = oral ? r.PO_Ka : r.RouteCode == 'I' ? r.IM_ka : 0;
    m.vc = r.Vc;
    m.k21 = r.K21;
    return m;
}

double ForecastBioavailability(const std::string& routeProduct, const std::string& fitProduct1,
                               const std::string& fitProduct2, double currentF, double populationF) {
    const bool fitted = !routeProduct.empty() && (routeProduct == fitProduct1 || routeProduct == fitProduct2);
    return fitted ? currentF : populationF;
}

double PhenytoinBioavailability(const std::string& routeProduct, const std::string& fitProduct1, double currentF,
                                double populationF) {
    const bool fitted = !fitProduct1.empty() && RouteCodeOf(routeProduct) == RouteCodeOf(fitProduct1);
    return fitted ? currentF : populationF;
}

std::optional<double> EliminationRate(const RegimenModel& m) { return EliminationConstant(m.Vd, m.Cl); }

std::optional<double> Finite(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool IsOneOf(const std::string& code, std::initializer_list<const char*> codes) {
    for (const char* c : codes)
        if (code == c) return true;
    return false;
}
