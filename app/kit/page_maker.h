#pragma once
// Pages made on first use: PageById makes a page not made yet through the
// maker, when one is set; ResetPage leaves a page not made yet alone (it
// shows nothing to clear).
#include <functional>

class KinevoPage;

// Makes the page of a dialog number (nullptr for a number it has no page
// for). An empty maker makes none.
void SetPageMaker(std::function<KinevoPage*(int dialogId)> maker);
