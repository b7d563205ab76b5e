#pragma once
// The program's start: colours, Options.dat, the database test, then the
// welcome page until it closes.
#include <filesystem>

class QApplication;

// Pale yellow pages with black text for every dialog of the program.
void SetDialogColours(QApplication& app);

// Reads `optionsFile` and tests the database it names. When the file cannot
// be read, says so and returns false: the program must end.
bool ReadStartUpConfiguration(const std::filesystem::path& optionsFile);

// The whole run of the program in `programDir`, with Options.dat where
// SetUpProgramFiles puts it; returns the process exit status.
int RunProgram(QApplication& app, const std::filesystem::path& programDir);
