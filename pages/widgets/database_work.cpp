#include "pages/widgets/database_work.h"

#include <QApplication>

#include "app/kit/prompts.h"
#include "app/kit/work_in_background.h"
#include "records/db/db_error.h"

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

bool TryDatabaseWork(QWidget* page, const std::function<void()>& work) {
    try {
        // The cursor is back before any message box opens.
        WaitCursor wait;
        return WorkInBackground(page, "Waiting for the patient database ...", work);
    } catch (const DbError& e) {
        ThePrompts().Tell(page, kProgramTitle, QString::fromStdString(e.what()), PromptIcon::Exclamation);
        return false;
    }
}
