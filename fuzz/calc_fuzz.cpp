// libFuzzer target: any bytes as the input text of kinevo-calc. A finding is
// a sanitizer report, a leak, a hang, or a run that breaks the program's
// promise: exit 0 with strict JSON, or exit 2 with one line naming the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/calc.h"
#include "records/calendar.h"

namespace {
// A fixed "now", so that each input runs the same way every time.
const double kNow = MomentOf({2026, 12, 8}, 12);

bool KeepsItsPromise(const CalcOutcome& outcome) {
    if (outcome.exitCode == 0) {
        if (!outcome.error.empty()) return false;
        // The parser takes no NaN, Infinity or number beyond a double.
        return Json::accept(outcome.output);
    }
    return outcome.exitCode == 2 && !outcome.internalFault && outcome.output.empty() && !outcome.error.empty() &&
           outcome.error.find('\n') == std::string::npos;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!KeepsItsPromise(RunCalcText(text, kNow))) std::abort();
    return 0;
}
