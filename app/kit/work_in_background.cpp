#include "app/kit/work_in_background.h"

#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

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

void RunWhilePainting(const std::function<void(const WorkProgress&)>& work, const std::function<void(int)>& shown) {
    std::mutex lock;
    std::vector<int> reported;
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work([&](int value) {
                const std::lock_guard<std::mutex> hold(lock);
                reported.push_back(value);
            });
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    const auto look = [&] {
        const bool finished = done;
        std::vector<int> values;
        {
            const std::lock_guard<std::mutex> hold(lock);
            values.swap(reported);
        }
        for (int value : values) shown(value);
        if (finished) loop.quit();
    };
    QObject::connect(&poll, &QTimer::timeout, &loop, look);
    // About a screen refresh: a bar moves smoothly and the poll costs nothing.
    poll.start(15);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    look();
    if (failure) std::rethrow_exception(failure);
}

bool WorkInBackground(QWidget* parent, const QString& waitingFor, const std::function<void()>& work) {
    static bool underWay = false;
    if (underWay) return false;
    underWay = true;
    ProgressWindow progress(parent, waitingFor);
    QTimer::singleShot(kShowAfterMs, &progress, &QDialog::show);
    try {
        RunWhilePainting([&](const WorkProgress&) { work(); }, [](int) {});
    } catch (...) {
        underWay = false;
        throw;
    }
    underWay = false;
    return true;
}
