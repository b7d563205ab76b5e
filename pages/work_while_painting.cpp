#include "pages/work_while_painting.h"

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

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
    // About a screen refresh: the bar moves smoothly and the poll costs nothing.
    poll.start(15);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    look();
    if (failure) std::rethrow_exception(failure);
}
