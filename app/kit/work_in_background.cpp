#include "app/kit/work_in_background.h"

#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <thread>

namespace {
// Shown only when the work takes longer than this: a quick read flickers nothing.
constexpr int kShowAfterMs = 300;

// No close box, and Esc does nothing: the window goes when the work ends.
class ProgressWindow : public QDialog {
public:
    ProgressWindow(QWidget* parent, const QString& waitingFor)
        : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
        setObjectName(kWorkProgressName);
        setWindowTitle("Kinevo");
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(waitingFor, this));
        auto* bar = new QProgressBar(this);
        bar->setRange(0, 0);  // no end known: the bar moves to show the program is alive
        bar->setMinimumWidth(320);
        layout->addWidget(bar);
    }
    void reject() override {}
};
}  // namespace

bool WorkInBackground(QWidget* parent, const QString& waitingFor, const std::function<void()>& work) {
    static bool underWay = false;
    if (underWay) return false;
    underWay = true;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    ProgressWindow progress(parent, waitingFor);
    QTimer::singleShot(kShowAfterMs, &progress, &QDialog::show);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    underWay = false;
    if (failure) std::rethrow_exception(failure);
    return true;
}
