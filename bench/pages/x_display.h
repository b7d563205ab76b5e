#pragma once
// The X display the real program is started on: the caller's own when
// DISPLAY is set, otherwise a virtual one (Xvfb) started for the benchmark
// and stopped with this object.
#include <sys/types.h>

#include <string>

class XDisplay {
public:
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;
    // ":N"; empty when no display could be had (the failure says why).
    const std::string& Name() const { return name_; }
    const std::string& Failure() const { return failure_; }

private:
    std::string name_, failure_;
    pid_t server_ = 0;
};
