#pragma once
// The adult the engine tests and the bench dose: a 40-year-old man of 70 kg
// and 175 cm, serum creatinine 1.0 mg/dL, with the drug's model chosen.
#include <string>

#include "engine/population_models.h"
#include "records/case_record.h"
#include "records/dosage_form.h"
#include "records/drug_catalogue.h"

inline CaseRecord AdultCase(const std::string& drug, const std::string& product, double albumin = 4.0,
                            double height = 175) {
    CaseRecord r;
    r.Age = 40;
    r.SEX = "M";
    r.Wt = 70;
    r.Ht = height;
    r.SCr = 1.0;
    r.Albumin = albumin;
    r.Drug_ID = drug;
    SelectDrugModel(r);
    ChooseRouteProduct(r, product.empty() ? DefaultRouteProduct(drug) : product);
    return r;
}
