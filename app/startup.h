#pragma once
// The program's start: colours, Options.dat, the database test, then the
// welcome page until it closes.
#include <filesystem>

class QApplication;

// Pale yellow pages with black text for every dialog of the program.
void SetDialogColours(QApplication& app);

// Reads Options.dat in `programDir` and tests the database it names. When the
// file cannot be read, says so and returns false: the program must end.
bool ReadStartUpConfiguration(const std::filesystem::path& programDir);

// The whole run; returns the process exit status.
int RunProgram(QApplication& app, const std::filesystem::path& programDir);
