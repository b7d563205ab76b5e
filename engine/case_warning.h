#pragma once
#include <string>

struct CaseRecord;
struct History;

// The warning a page shows for the case: the high-clearance warning on the
// forecast and regimen pages (codes 71, 72, 81, 82), the level-during-infusion
// warning for the history (code 12); otherwise empty.
std::string CaseWarning(const CaseRecord& r, int pageCode);

// True when a measured level lies strictly inside a dose's infusion.
bool LevelDuringInfusion(const History& h);
