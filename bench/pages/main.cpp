// Times what a user of the program waits for, each in fresh processes:
// the start until the welcome page is painted (in this program, and the
// real kinevo on an X display), and last-name searches matching 500 and
// 50 000 patients until the patient list is painted. Built with -DKINEVO_BENCH=ON:
//   cmake --build build --target kinevo kinevo-bench-pages && build/bin/kinevo-bench-pages [--runs N] [--searches N]
// The other command lines are the measuring children's.
#include <unistd.h>

#include <string>
#include <vector>

#include "bench/pages/driver.h"
#include "bench/pages/list_timing.h"
#include "bench/pages/measurement.h"
#include "bench/pages/start_up_timing.h"

int main(int argc, char** argv) {
    const BenchClock::time_point entered = BenchClock::now();
    const std::vector<std::string> args(argv + 1, argv + argc);
    // A child stuck behind a message box nobody answers is ended.
    constexpr unsigned kChildSeconds = 120;
    if (args.size() == 3 && args[0] == kStartUpChild) {
        alarm(kChildSeconds);
        return TimeStartUp(args[1], ClockFromText(args[2]), entered);
    }
    if (args.size() == 5 && args[0] == kListChild) {
        alarm(kChildSeconds);
        return TimeSearchAndList(args[1], std::stoi(args[2]), std::stoi(args[3]), args[4] == "1");
    }
    return RunDriver(args);
}
