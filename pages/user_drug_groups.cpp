#include "pages/user_drug_groups.h"

#include "records/user_drug.h"

UserDrugGroups CompleteGroups(const UserDrugDefinition& d) {
    UserDrugGroups g;
    g.iv = !d.ivSalt.empty();
    g.im = !d.imKa.empty() && !d.imSalt.empty() && !d.imF.empty();
    g.oral = !d.oralForm.empty() && !d.oralKa.empty() && !d.oralSalt.empty() && !d.oralF.empty();
    return g;
}

bool DefinitionComplete(const UserDrugDefinition& d) {
    const UserDrugGroups g = CompleteGroups(d);
    return !d.drugName.empty() && !d.clearance.empty() && !d.volume.empty() && !d.compliance.empty() &&
           (g.iv || g.im || g.oral);
}
