#include "engine/population_models.h"

#include "engine/drug_models.h"
#include "engine/patient_measures.h"
#include "records/case_record.h"
#include "records/drug_catalogue.h"

void SetDrugDefaults(CaseRecord& r, double varErr, double fixedErr, double timeWt, double graphMax, double minLevel,
                     double maxLevel) {
    r.Var_err = varErr;
    r.Fixed_err = fixedErr;
    r.Time_wt = timeWt;
    r.GraphMax = graphMax;
    r.TherapeuticMin = minLevel;
    r.TherapeuticMax = maxLevel;
    r.TherapeuticRangeSet = true;
}

void SelectDrugModel(CaseRecord& r) {
    const std::string code = ToLower(r.Drug_ID);
    if (code == "zz") return;
    const auto drug = FindDrug(code);
    if (!drug) return;
    r.DoseUnit = drug->doseUnit;
    r.ConcUnit = drug->concUnit;
    r.ModelType = drug->modelType;

    // The augmented cap belongs to the burn-patient question of the
    // aminoglycosides and vancomycin; any other drug or answer clears it, so
    // a cap left from an earlier drug never shapes this one's clearance.
    const bool burns = (code == "gm" || code == "ak" || code == "tm" || code == "nm" || code == "vm");
    r.AugmentedCrClCap = burns && r.Factor(2);
    RefreshCrCl(r);

    // F stays as the dosage form last set it, unless the drug's model sets it.
    r.population = ParameterSet{r.population.F, 0, 0, 1.0, 0, 0};
    r.init_cf_sd = 0.5;
    r.init_vm_sd = 0;
    r.Vc = r.K21 = 0;

    if (burns && code != "vm") AminoglycosideModel(r);
    else if (code == "vm") VancomycinModel(r);
    else if (code == "dg") DigoxinModel(r);
    else if (code == "pb") PhenobarbitalModel(r);
    else if (code == "qd") QuinidineModel(r);
    else if (code == "th") TheophyllineModel(r);
    else if (code == "li") LithiumModel(r);
    else if (code == "fc") FlucytosineModel(r);
    else if (code == "cx") CiprofloxacinModel(r);
    else if (code == "ox") LevofloxacinModel(r);
    else if (code == "pc") ProcainamideModel(r);
    else if (code == "ph") PhenytoinModel(r);
}
