#include "cli/calc_fhir.h"

#include "fhir/fhir_bundle.h"
#include "fhir/json_input.h"

namespace {
std::string Report(const FhirImport& import) {
    std::string name = import.familyName;
    if (!import.givenNames.empty()) name += (name.empty() ? "" : ", ") + import.givenNames;
    if (!import.identifier.empty()) name += (name.empty() ? "(" : " (") + import.identifier + ")";
    std::string report = "patient: " + (name.empty() ? "no name or identifier in the bundle" : OneLine(name)) + "\n";
    for (const FhirUnused& u : import.unused)
        report += "not used: " + OneLine(u.where) + ": " + OneLine(u.reason) + "\n";
    for (const std::string& c : import.checks) report += "check: " + OneLine(c) + "\n";
    return report;
}
}  // namespace

FhirOutcome RunFhirText(const std::string& text, long long nowUtcMinute, double systemNow, const std::string& drug,
                        bool run) noexcept {
    try {
        const FhirImport import = ImportFhirBundle(ParseInput(text), nowUtcMinute, drug);
        const std::string caseText = import.caseInput.dump(2) + "\n";
        return {run ? RunCalcText(caseText, systemNow) : CalcOutcome{0, caseText, {}}, Report(import)};
    } catch (const BadInput& e) {
        return {{2, {}, std::string("bundle: ") + e.what()}, {}};
    } catch (const FhirBundleError& e) {
        return {{2, {}, "bundle: " + OneLine(e.what())}, {}};
    } catch (const std::bad_alloc&) {
        return {{2, {}, "kinevo-calc: out of memory", true}, {}};
    } catch (const std::exception& e) {
        return {{2, {}, "kinevo-calc: internal error: " + OneLine(e.what()), true}, {}};
    }
}
