#pragma once
// The real program's start as a user sees it on an X display: the kinevo
// beside this benchmark, started in a fresh process until its welcome page
// has been painted and saved as a picture (KINEVO_WELCOME_PICTURE), which
// also ends it.
#include <filesystem>
#include <string>

struct ProgramStart {
    bool succeeded = false;
    std::string failure;
    double toPicture = 0;  // s, from just before the start until the picture was written
    double cpu = 0;        // s, CPU time of the whole process
};

// Runs `program` (a copy of kinevo in a folder with its Options.dat) on
// `display`; fails when it does not save its welcome page or says on the
// way that a message box came up.
ProgramStart StartRealProgram(const std::filesystem::path& program, const std::string& display);
