#pragma once
// Work that may take a while (a database wait, a long computation) runs off
// the window's thread while the windows keep painting; after a moment a small
// window says what is being waited for, with a moving bar. It cannot be
// cancelled: the work is waited out. The user's clicks and keys wait too, so
// no second piece of work starts underneath the first.
//
//   if (!WorkInBackground(this, "Saving the case ...", [&] { SaveCase(...); })) return;
#include <functional>

class QString;
class QWidget;

// Runs `work` and returns true once it has ended; an exception it throws is
// thrown here. Returns false at once, without running it, while other work
// of this kind is under way.
bool WorkInBackground(QWidget* parent, const QString& waitingFor, const std::function<void()>& work);

// The object name of the progress window, for tests.
inline constexpr const char* kWorkProgressName = "workProgress";
