#pragma once
// The child that times a last-name search of the filled database as a user
// waits for it: from the search page's Next until the patient list has been
// painted with its grid filled, `searches` times in one process.
#include <string>

// Reports, per search, "first-search" (the first in this process) or
// "later-search" with the matching "...-built" (Next until the list page
// was built, before it was shown) and "...-cpu" (the process's CPU time
// for the whole wait), then "query" and "query-cpu" (the database search
// alone, outside the pages) as often. Fails (returns 1) unless every search listed
// `expectedRows` grid rows and no message was shown but, when `overLimit`,
// the one that more than 500 patients were found.
int TimeSearchAndList(const std::string& database, int searches, int expectedRows, bool overLimit);
