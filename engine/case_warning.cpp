#include "engine/case_warning.h"

#include "records/case_record.h"

bool LevelDuringInfusion(const History& h) {
    for (int i = 0; i < h.measuredCount && i < static_cast<int>(h.levels.size()); ++i) {
        const double t = h.levels[i].time;
        for (const DoseEvent& e : h.events)
            if (t > e.time && t < e.time + e.infusionTime) return true;
    }
    return false;
}

std::string CaseWarning(const CaseRecord& r, int pageCode) {
    const bool forecastPage = pageCode == 71 || pageCode == 72 || pageCode == 81 || pageCode == 82;
    if (forecastPage) {
        const std::string& d = r.Drug_ID;
        const bool watched = d == "gm" || d == "ak" || d == "tm" || d == "vm";
        const double cl = r.CurrentSet().Cl;
        if (watched && r.Age < 18 && (cl > 6 || cl > 0.1 * r.Age))
            return "Warning: High Clearance. Please recheck data.";
        return {};
    }
    if (pageCode == 12 && LevelDuringInfusion(r.history)) return "Warning: Level Taken During Infusion.";
    return {};
}
