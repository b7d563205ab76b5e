#pragma once
// What the program tells the kit about its pages, so the kit itself knows
// none. Pages are made on first use: PageById makes a page not made yet
// through the maker, when one is set; ResetPage leaves a page not made yet
// alone (it shows nothing to clear).
#include <functional>
#include <vector>

#include "records/navigation_codes.h"

class KinevoPage;

// Makes the page of a dialog number (nullptr for a number it has no page
// for). An empty maker makes none.
void SetPageMaker(std::function<KinevoPage*(PageId id)> maker);

// The pages ResetAllPages resets, in that order; none until set.
void SetPagesToReset(std::vector<PageId> pages);
