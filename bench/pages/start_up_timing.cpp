#include "bench/pages/start_up_timing.h"

#include <QApplication>
#include <cstdio>
#include <optional>

#include "app/first_paint.h"
#include "app/startup.h"
#include "bench/pages/qt_arguments.h"
#include "pages/patient/welcome_page.h"

int TimeStartUp(const std::filesystem::path& programDir, BenchClock::time_point started,
                BenchClock::time_point entered) {
    QApplication app(QtArguments::count, QtArguments::values);
    app.setApplicationName("Kinevo");
    const BenchClock::time_point made = BenchClock::now();
    std::optional<BenchClock::time_point> painted;
    double cpu = 0;
    FirstPaint welcomeShown([](QObject* o) { return qobject_cast<WelcomePage*>(o) != nullptr; },
                            [&painted, &cpu](QWidget* page) {
                                painted = BenchClock::now();
                                cpu = ProcessCpuSeconds();
                                qobject_cast<WelcomePage*>(page)->done(0);
                            });
    app.installEventFilter(&welcomeShown);
    const int status = RunProgram(app, programDir);
    if (status != 0 || !painted) {
        std::fprintf(stderr, "the welcome page was not shown (status %d)\n", status);
        return 1;
    }
    Report("before-main", SecondsBetween(started, entered));
    Report("application", SecondsBetween(entered, made));
    Report("to-welcome", SecondsBetween(made, *painted));
    Report("start-to-welcome", SecondsBetween(started, *painted));
    Report("start-to-welcome-cpu", cpu);
    return 0;
}
