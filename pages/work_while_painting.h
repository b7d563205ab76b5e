#pragma once
// Long work started from a page, done on a thread of its own while the
// window's thread keeps painting: the window never freezes, and user input
// waits until the work is done.
//
//   RunWhilePainting([&](const WorkProgress& report) { fits = RunAnalysisFits(copy, report); },
//                    [&](int value) { bar->setValue(value); });
#include <functional>

// Called by the work, from its own thread, with how far it has got.
using WorkProgress = std::function<void(int)>;

// Returns once `work` has returned (an exception it throws is thrown here).
// `shown` is called on the window's thread with every value reported, in
// order, a screen refresh at most after it was reported.
void RunWhilePainting(const std::function<void(const WorkProgress&)>& work, const std::function<void(int)>& shown);
