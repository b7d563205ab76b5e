#pragma once
// A patient database filled the way a busy ward's would be: patients whose
// last names share one prefix, each with the same number of saved cases.
#include <filesystem>

// Every last name starts with this, so one last-name search lists them all.
inline constexpr const char* kSharedLastNamePrefix = "Mar";

// Creates `path` (which must not exist) through the program's own save.
void MakeFilledDatabase(const std::filesystem::path& path, int patients, int casesEach);
