#pragma once
// Work that may take a while (a fit, a database wait) runs on a thread of its
// own while the window's thread keeps painting. The user's clicks and keys
// wait until the work is done, so no second piece of work starts underneath
// the first, and the work cannot be cancelled: it is waited out.
//
//   RunWhilePainting([&](const WorkProgress& report) { fits = RunAnalysisFits(copy, report); },
//                    [&](int value) { bar->setValue(value); });
//   if (!WorkInBackground(this, "Saving the case ...", [&] { SaveCase(...); })) return;
#include <functional>

class QString;
class QWidget;

// Called by the work, from its own thread, with how far it has got.
using WorkProgress = std::function<void(int)>;

// Returns once `work` has returned (an exception it throws is thrown here).
// `shown` is called on the window's thread with every value reported, in
// order, a screen refresh at most after it was reported.
void RunWhilePainting(const std::function<void(const WorkProgress&)>& work, const std::function<void(int)>& shown);

// Work that reports no progress: after a moment a small window says what is
// being waited for, with a moving bar. Returns true once `work` has ended;
// returns false at once, without running it, while other work of this kind
// is under way.
bool WorkInBackground(QWidget* parent, const QString& waitingFor, const std::function<void()>& work);

// The object name of the progress window, for tests.
inline constexpr const char* kWorkProgressName = "workProgress";
