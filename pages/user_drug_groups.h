#pragma once
// Which administration groups of the user's own drug are filled in.
struct UserDrugDefinition;

struct UserDrugGroups {
    bool iv = false, im = false, oral = false;
};

UserDrugGroups CompleteGroups(const UserDrugDefinition& d);
// Name, clearance, volume and compliance given, and at least one group complete.
bool DefinitionComplete(const UserDrugDefinition& d);
