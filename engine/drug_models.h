#pragma once
// The per-drug population models behind SelectDrugModel. Each sets the drug's
// defaults, then Vd and Cl (and their relative SDs) on the population set.
struct CaseRecord;

void AminoglycosideModel(CaseRecord& r);
void VancomycinModel(CaseRecord& r);
void DigoxinModel(CaseRecord& r);
void PhenobarbitalModel(CaseRecord& r);
void QuinidineModel(CaseRecord& r);
void TheophyllineModel(CaseRecord& r);
void LithiumModel(CaseRecord& r);
void FlucytosineModel(CaseRecord& r);
void CiprofloxacinModel(CaseRecord& r);
void LevofloxacinModel(CaseRecord& r);
void ProcainamideModel(CaseRecord& r);
void PhenytoinModel(CaseRecord& r);

// Error model, time weighting, graph top and therapeutic range in one call.
void SetDrugDefaults(CaseRecord& r, double varErr, double fixedErr, double timeWt, double graphMax, double minLevel,
                     double maxLevel);
