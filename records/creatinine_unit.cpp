#include "records/creatinine_unit.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "records/entry_limits.h"
#include "records/text_format.h"
#include "records/units.h"

namespace {
constexpr const char* kKey = "creatinine:";

std::string Squeezed(const std::string& line) {
    std::string s;
    for (const char c : line)
        if (!std::isspace(static_cast<unsigned char>(c)))
            s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Umol() { return ShownCreatinineUnit() == CreatinineUnit::UmolPerL; }
}  // namespace

CreatinineUnit& ShownCreatinineUnit() {
    static CreatinineUnit unit = CreatinineUnit::MgPerDl;
    return unit;
}

bool IsCreatinineLine(const std::string& line) { return Squeezed(line).rfind(kKey, 0) == 0; }

std::optional<CreatinineUnit> CreatinineUnitOfLine(const std::string& line) {
    const std::string s = Squeezed(line);
    if (s == std::string(kKey) + "umol/l") return CreatinineUnit::UmolPerL;
    if (s == std::string(kKey) + "mg/dl") return CreatinineUnit::MgPerDl;
    return std::nullopt;
}

const char* CreatinineUnitText() { return Umol() ? "umol/L" : "mg/dL"; }

double ShownScr(double mgPerDl) { return Umol() ? mgPerDl * kCreatinineUmolPerMgDl : mgPerDl; }

// Three decimals of mg/dL (0.0005 mg/dL is 0.044 umol/L) bring the typed
// tenth of a umol/L back, and read as a plain number where mg/dL is shown.
double StoredScr(double shown) { return Umol() ? std::round(shown / kCreatinineUmolPerMgDl * 1000) / 1000 : shown; }

std::string ScrText(double mgPerDl, const char* mgFormat) {
    return FiniteNumber(Umol() ? "%.1f" : mgFormat, ShownScr(mgPerDl));
}

std::optional<std::string> ShownScrProblem(double shown) {
    if (!Umol()) return ScrProblem(shown);
    if (shown >= 8 && shown <= 1326) return std::nullopt;
    return "Please input a correct Value of SCr. Acceptable range is 8 to 1326 umol/L";
}
