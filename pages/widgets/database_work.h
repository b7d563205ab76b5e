#pragma once
// Database work started from a page. Another workstation's lock can hold it
// for seconds, so it runs off the window's thread with a wait cursor and,
// when it lasts, a progress window (WorkInBackground); an error of the
// database is shown in an exclamation box with the words it carries.
//
//   if (!WithDatabase(this, [&](Database& db) { SearchPatients(db, search); })) return;
#include <functional>

#include "records/db/configuration.h"
#include "records/db/database.h"

class QWidget;

// The wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Runs `work` as said above; a DbError is shown and gives false, and so
// does other database work under way (nothing is run or shown then).
bool TryDatabaseWork(QWidget* page, const std::function<void()>& work);

// The same on the database at the configured path.
template <class Work>
bool WithDatabase(QWidget* page, Work work) {
    return TryDatabaseWork(page, [&] {
        Database db(ConfiguredDatabasePath());
        work(db);
    });
}
