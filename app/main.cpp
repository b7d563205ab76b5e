#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/startup.h"
#include "kinevo_version.h"

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("kinevo %s\n", kKinevoVersion);
        return 0;
    }
    QApplication app(argc, argv);
    app.setApplicationName("Kinevo");
    app.setApplicationVersion(kKinevoVersion);
    // Lets the desktop match the window to the menu entry and its icon.
    app.setDesktopFileName("kinevo");
    return RunProgram(app, QCoreApplication::applicationDirPath().toStdString());
}
