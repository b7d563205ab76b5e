#pragma once
// Runs the working pages one at a time, each chosen by the code the last one
// closed with, until a code sends the user back to the welcome page (1) or
// ends the program (0, 2). Returns that code.
#include "app/kit/result_codes.h"

struct PageSet;

int RunPages(PageSet& pages, int firstCode = code::kSearch);
