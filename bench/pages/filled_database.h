#pragma once
// A patient database filled the way a busy ward's would be: patients whose
// last names share one prefix, each with the same number of saved cases.
#include <filesystem>

#include "records/db/database.h"

// Every last name starts with this, so one last-name search lists them all.
inline constexpr const char* kSharedLastNamePrefix = "Mar";

// Creates `path` (which must not exist) through the program's own save.
void MakeFilledDatabase(const std::filesystem::path& path, int patients, int casesEach);

// Adds `copies` copies of each of the `patients` patients of `db` (numbered
// 1..patients) and of their cases, as far as the patient list reads them:
// same names, numbers and IDs of their own. A last-name search then matches
// (copies + 1) x patients, far more than the list shows.
void AddMatchingCopies(Database& db, int patients, int copies);
