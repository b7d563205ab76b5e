#pragma once
// The institution's name, shown on the welcome page and in the title line of
// the working pages; empty when none is configured.
#include <string>

std::string& InstitutionName();
