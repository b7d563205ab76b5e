#include "app/welcome_picture.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <iostream>

#include "app/first_paint.h"
#include "pages/patient/welcome_page.h"

namespace {
class WelcomePicture : public FirstPaint {
public:
    explicit WelcomePicture(QString path)
        : FirstPaint([](QObject* o) { return qobject_cast<WelcomePage*>(o) || qobject_cast<QMessageBox*>(o); },
                     [this](QWidget* shown) { Shown(shown); }),
          path_(std::move(path)) {}

private:
    void Shown(QWidget* shown) {
        if (auto* box = qobject_cast<QMessageBox*>(shown)) {
            std::cerr << "kinevo: message shown: " << box->text().toStdString() << '\n';
            box->done(QMessageBox::Ok);
            Arm();
            return;
        }
        if (!shown->grab().save(path_, "PNG")) std::cerr << "kinevo: cannot save " << path_.toStdString() << '\n';
        qobject_cast<WelcomePage*>(shown)->done(0);
    }
    QString path_;
};
}  // namespace

std::unique_ptr<QObject> WatchForWelcomePicture(QApplication& app) {
    const char* file = std::getenv("KINEVO_WELCOME_PICTURE");
    if (!file || !*file) return nullptr;
    auto watch = std::make_unique<WelcomePicture>(QString::fromLocal8Bit(file));
    app.installEventFilter(watch.get());
    return watch;
}
