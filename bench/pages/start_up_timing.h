#pragma once
// The child that times the program's start: the steps of the program's own
// main(), watched from outside (an application-wide event filter) until the
// welcome page has been painted, which then closes it.
#include <filesystem>

#include "bench/pages/measurement.h"

// `programDir` holds Options.dat. `started`: when the driver started this
// process; `entered`: the first moment of main(). Reports "before-main",
// "application" (QApplication made), "to-welcome" (from there until the
// welcome page was painted), "start-to-welcome" and "start-to-welcome-cpu"
// (the process's CPU time until then); returns the exit status.
int TimeStartUp(const std::filesystem::path& programDir, BenchClock::time_point started,
                BenchClock::time_point entered);
