#include "pages/work_while_painting.h"

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <exception>
#include <thread>

void RunWhilePainting(const std::function<void(const WorkProgress&)>& work, const std::function<void(int)>& shown) {
    constexpr int kNotYet = -1;
    std::atomic<int> latest{kNotYet};
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work([&](int value) { latest = value; });
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    int last = kNotYet;
    const auto look = [&] {
        if (const int value = latest; value != last) {
            last = value;
            shown(value);
        }
        if (done) loop.quit();
    };
    QObject::connect(&poll, &QTimer::timeout, &loop, look);
    // About a screen refresh: the bar moves smoothly and the poll costs nothing.
    poll.start(15);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    look();
    if (failure) std::rethrow_exception(failure);
}
