#pragma once
// The command line the measured QApplication sees: the program's name
// alone, as when a user starts it (the benchmark's own arguments stay out).
namespace QtArguments {
inline int count = 1;
inline char name[] = "kinevo";
inline char* values[] = {name, nullptr};
}  // namespace QtArguments
