#pragma once
// The dates of the "Modified Between Dates:" search, typed as mm/dd/yyyy or
// m/d/yyyy.
#include <string>

// Pads a one-digit month and day with "0" (3/5/2012 -> 03/05/2012) and
// tells whether the text is then a real mm/dd/yyyy date. An empty text
// passes: the search page leaves it to the database to refuse.
bool CheckSearchDate(std::string& text);

// mm/dd/yyyy -> yyyy-mm-dd by position; an empty text gives "--".
std::string IsoOfSearchDate(const std::string& checked);
