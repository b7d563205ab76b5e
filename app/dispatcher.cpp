#include "app/dispatcher.h"

#include "app/page_set.h"

int RunPages(PageSet& pages, int firstCode) {
    int c = firstCode;
    for (;;) {
        if (c == code::kBackToWelcome || c == code::kEndProgram || c == code::kExitConfirmed) return c;
        KinevoPage* page = pages.ForCode(c);
        // A code no page answers to is a fault of the program, not the user's:
        // go back to the welcome page rather than end with work unsaved.
        if (!page) return code::kBackToWelcome;
        c = page->Run();
    }
}
