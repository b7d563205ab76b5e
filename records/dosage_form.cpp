#include "records/dosage_form.h"

#include <cstdlib>
#include <optional>

#include "records/case_record.h"
#include "records/drug_catalogue.h"

namespace {

// One row of the dosage-form table; an empty field is left as it was.
struct FormRow {
    std::optional<double> S, F, fSd, ka;
};

double Number(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

bool IsAminoglycoside(const std::string& c) { return c == "gm" || c == "ak" || c == "tm" || c == "nm"; }

FormRow RowFor(const CaseRecord& r, char route, const std::string& form) {
    const std::string& c = r.Drug_ID;
    if (IsAminoglycoside(c) && (route == 'D' || route == 'I')) return {1.0, 1.0, {}, {}};
    if (c == "vm" && route == 'D') return {1.0, 1.0, {}, {}};
    if (c == "dg") {
        if (route == 'O') {
            if (form == "Tablets") return {1.0, 0.7, 0.14285714285714285, 1.5};
            if (form == "Capsules") return {1.0, 0.95, 0.05263157894736842, 1.5};
            return {{}, 0.775, 0.0967741935483871, 1.5};
        }
        if (route == 'D') return {1.0, 1.0, 0.05, {}};
    }
    if (c == "pb") {
        if (route == 'O' && form == "Tablets") return {1.0, 1.0, {}, 1.5};
        if (route == 'O' && form == "Elixir") return {1.0, 1.0, {}, 7.2};
        if (route == 'I') return {0.91, 1.0, {}, 1.1};
        if (route == 'D') return {0.91, 1.0, {}, {}};
    }
    if (c == "qd") {
        if (route == 'O') {
            if (form == "Sustained - Release (Gluconate)") return {0.625, 0.8, 0.15, 1.8};
            if (form == "Immediate - Release Tablets (Sulfate)") return {0.83, 0.8, 0.15, 1.8};
            if (form == "Tablets (Cardioquin)") return {0.6, 0.8, 0.15, 1.15};
            if (form == "Dura - Tabs Tablets (Quinaglute)") return {0.625, 0.8, 0.15, 0.7};
            return {{}, {}, 0.15, {}};
        }
        const double gluconateSalt = form == "Injection(Gluconate)" ? 0.625 : 0.83;
        if (route == 'D') return {0.625, 1.0, 0.5, {}};
        if (route == 'C') return {gluconateSalt, 1.0, 0.5, {}};
        if (route == 'I') return {gluconateSalt, 0.875, 0.25, 0.77};
    }
    if (c == "th") {
        if (route == 'O') {
            if (form == "Liquids") return {1.0, 1.0, 0.1, 2.3};
            if (form == "Liquids(Aminophylline)") return {0.86, 1.0, 0.1, 2.3};
            if (form == "Tablets") return {1.0, 1.0, 0.1, 2.4};
            if (form == "Tablets (Aminophylline)") return {0.8, 0.94, 0.1, 2.4};
            if (form == "Capsules(Slo - Phylline Gyrocaps)") return {1.0, 0.985, 0.14, 0.41};
            if (form == "Tablets (Aminophylline Phyllocontin)") return {0.79, 0.95, {}, {}};
            if (form == "Tablets (Quibron - T/SR)") return {1.0, 0.98, 0.15, 0.25};
            if (form == "Tablets (Theo - dur 100 mg)") return {1.0, 1.0, 0.15, 0.17};
            if (form == "Tablets (Theo - dur 200,300 mg)") return {1.0, 0.97, 0.15, 0.125};
            if (form == "Capsules" || form == "Capsules(Slo - bid Gyrocaps)") return {1.0, 1.0, 0.11, 0.13};
        }
        if (route == 'D' || route == 'C') return {form == "Injection(Aminophylline)" ? 0.79 : 1.0, 1.0, 0.05, {}};
    }
    if (c == "li" && route == 'O') {
        if (form == "Syrup") return {1.0, 1.0, 0.1, 3.6};
        if (form == "Capsules" || form == "Tablets") return {1.0, 1.0, 0.1, 1.2};
        return {1.0, 0.97, 0.1, 0.5};
    }
    if (c == "fc") {
        if (route == 'O') return {1.0, 0.84, 0.15, 1.1};
        if (route == 'D') return {1.0, 1.0, 0.05, {}};
    }
    if (c == "cx") {
        if (route == 'O' && form == "Tablets") return {1.0, r.Age > 60 ? 0.7 * 1.25 : 0.7, 0.1, 1.5};
        if (route == 'D') return {1.0, 1.0, 0.05, {}};
    }
    if (c == "ox") {
        if (route == 'O') return {1.0, 1.0, 0.1, 3.0};
        if (route == 'D') return {1.0, 1.0, 0.05, {}};
    }
    if (c == "pc") {
        if (route == 'O') return {0.87, 0.83, 0.166, form == "Fast - Release Capsules" ? 2.0 : 0.4};
        if (route == 'D' || route == 'C') return {0.87, 1.0, 0.05, {}};
        if (route == 'I') return {0.87, 1.0, {}, {}};
    }
    if (c == "ph") {
        const double f = r.Age > 0.083 ? 1.0 : 0.9;
        if (route == 'O') {
            if (form == "Capsules") return {0.92, f, {}, 0.15};
            if (form == "Tablets" || form == "Suspension") return {1.0, f, {}, 0.15};
            return {{}, f, {}, {}};
        }
        if (route == 'D') return {0.92, f, {}, form == "Injection (Fosphenytoin)" ? std::optional(3.6) : std::nullopt};
        if (route == 'I') return {0.92, f, {}, 2.5};
        return {{}, f, {}, {}};
    }
    if (c == "zz") {
        const UserDrugDefinition& u = r.userDrug;
        if (route == 'O') return {Number(u.oralSalt), Number(u.oralF) / 100.0, {}, Number(u.oralKa)};
        if (route == 'I') return {Number(u.imSalt), Number(u.imF) / 100.0, {}, Number(u.imKa)};
        return {Number(u.ivSalt), 1.0, {}, {}};
    }
    return {};
}

// Factor multipliers on F and ka; each acts only when its row set that value.
void ApplyFactorEffects(CaseRecord& r, const FormRow& row) {
    const std::string& c = r.Drug_ID;
    const bool oral = r.RouteCode == 'O';
    double* ka = oral ? &r.PO_Ka : &r.IM_ka;
    auto scaleF = [&](double m, std::optional<double> sd = std::nullopt) {
        if (row.F) r.population.F *= m;
        if (sd) r.Init_f_sd = *sd;
    };
    if (c == "dg" && r.Factor(4) && oral) {
        if (r.FormName == "Tablets") r.population.F = 0.875;
        else if (r.FormName != "Capsules") r.population.F = 0.96875;
    }
    if (c == "qd") {
        if (r.Factor(1) && row.ka) *ka *= r.RouteCode == 'I' ? 0.44 : 0.55;
        if (r.Factor(7) && oral) scaleF(0.59);
    }
    if (c == "cx" && oral) {
        static const double multipliers[] = {0, 0.4, 0.53, 1.4, 0.02, 0.5, 0.4, 0.5};
        for (int i = 1; i <= 7; ++i)
            if (r.Factor(i)) scaleF(multipliers[i], i == 2 || i == 3 ? std::nullopt : std::optional(0.2));
    }
    if (c == "ox") {
        if (r.Factor(1)) {
            if (oral && row.ka) r.PO_Ka *= 0.67;
            scaleF(0.55, 0.2);
        }
        if (r.Factor(2)) scaleF(0.825, 0.15);
        if (r.Factor(3)) scaleF(0.39, 0.2);
    }
    if (c == "ph" && r.Factor(5)) {
        r.Init_f_sd = 0.3;
        if (oral) scaleF(0.6);
    }
}

// The oral ka of the drug's default product, when that product is oral.
std::optional<double> DefaultOralKa(const CaseRecord& r) {
    const std::string product = DefaultRouteProduct(r.Drug_ID);
    if (product.empty() || RouteCodeOf(product) != 'O') return std::nullopt;
    return RowFor(r, 'O', FormNameOf(product)).ka;
}

}  // namespace

void ApplyDosageForm(CaseRecord& r) {
    const FormRow row = RowFor(r, r.RouteCode, r.FormName);
    const bool oral = r.RouteCode == 'O';
    if (row.S) (oral ? r.PO_Salt : r.ParenteralSalt) = *row.S;
    if (row.F) r.population.F = *row.F;
    if (row.fSd) r.Init_f_sd = *row.fSd;
    if (row.ka) (oral ? r.PO_Ka : r.IM_ka) = *row.ka;
    // A row without ka keeps the ka in force, and a new case has none yet.
    if (oral && !row.ka && !(r.PO_Ka > 0)) r.PO_Ka = DefaultOralKa(r).value_or(0);
    if (r.Drug_ID == "dg") r.PO_Ka = 1.5;
    if (r.Drug_ID == "zz") {
        const bool mg = r.userDrug.units == "mg-mg/L";
        r.DoseUnit = mg ? "mg" : "mcg";
        r.ConcUnit = mg ? "mg/L" : "mcg/L";
    }
    ApplyFactorEffects(r, row);
}

void ChooseRouteProduct(CaseRecord& r, const std::string& routeProduct) {
    r.RouteProduct = routeProduct;
    r.RouteCode = RouteCodeOf(routeProduct);
    r.FormName = FormNameOf(routeProduct);
    ApplyDosageForm(r);
}
