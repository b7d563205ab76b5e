#include "app/kit/institution.h"

std::string& InstitutionName() {
    static std::string name;
    return name;
}
