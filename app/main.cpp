#include <QApplication>

#include "app/startup.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setApplicationName("Kinevo");
    return RunProgram(app, QCoreApplication::applicationDirPath().toStdString());
}
