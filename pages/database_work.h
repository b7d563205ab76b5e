#pragma once
// Database work started from a page. Another workstation's lock can hold it
// for seconds, so a wait cursor shows meanwhile; an error of the database is
// shown in an exclamation box with the words it carries.
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

// Runs `work` under a wait cursor; a DbError is shown and gives false.
bool TryDatabaseWork(QWidget* page, const std::function<void()>& work);

// The same on the database at the configured path.
template <class Work>
bool WithDatabase(QWidget* page, Work work) {
    return TryDatabaseWork(page, [&] {
        Database db(ConfiguredDatabasePath());
        work(db);
    });
}
