#pragma once
// A check without a person: when KINEVO_WELCOME_PICTURE names a PNG file,
// the program saves its welcome page there as soon as it is shown and ends.
// A message box on the way (a database that is not configured, a missing
// Options.dat) is written to standard error and closed, so the run never
// waits for a click.
#include <memory>

class QApplication;
class QObject;

// Watches `app` when the variable is set; nullptr otherwise. Keep the
// result alive while the program runs.
std::unique_ptr<QObject> WatchForWelcomePicture(QApplication& app);
