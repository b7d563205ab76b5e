#include "bench/pages/program_start_timing.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "bench/pages/measurement.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {
constexpr int kWaitMilliseconds = 120000;

// This process's environment with the display and the picture set.
std::vector<std::string> ChildEnvironment(const std::string& display, const fs::path& picture) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0 &&
            entry.rfind("KINEVO_WELCOME_PICTURE=", 0) != 0)
            env.push_back(entry);
    }
    env.push_back("DISPLAY=" + display);
    env.push_back("QT_QPA_PLATFORM=xcb");
    env.push_back("KINEVO_WELCOME_PICTURE=" + picture.string());
    return env;
}

// Waits until `name` is closed after writing in the watched folder.
bool WaitForWritten(int watch, const std::string& name) {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        pollfd p{watch, POLLIN, 0};
        const int ready = poll(&p, 1, kWaitMilliseconds);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = read(watch, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0 && name == event->name) return true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}
}  // namespace

ProgramStart StartRealProgram(const fs::path& program, const std::string& display) {
    ProgramStart run;
    const fs::path folder = program.parent_path();
    const fs::path picture = folder / "welcome.png";
    const fs::path errors = folder / "kinevo.err";
    fs::remove(picture);
    const int watch = inotify_init1(IN_CLOEXEC);
    if (watch < 0 || inotify_add_watch(watch, folder.c_str(), IN_CLOSE_WRITE) < 0) {
        run.failure = std::string("inotify: ") + std::strerror(errno);
        if (watch >= 0) close(watch);
        return run;
    }
    std::vector<std::string> env = ChildEnvironment(display, picture);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    const BenchClock::time_point started = BenchClock::now();
    const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        close(watch);
        run.failure = std::string("posix_spawn: ") + std::strerror(spawned);
        return run;
    }
    const bool written = WaitForWritten(watch, picture.filename().string());
    const BenchClock::time_point saved = BenchClock::now();
    close(watch);
    if (!written) kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.toPicture = SecondsBetween(started, saved);
    run.cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    std::ostringstream said;
    said << std::ifstream(errors).rdbuf();
    if (!written) run.failure = "no welcome page picture was saved";
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) run.failure = "kinevo did not end normally";
    else if (said.str().find("message shown") != std::string::npos) run.failure = "a message box came up";
    if (!run.failure.empty()) run.failure += ": " + said.str();
    run.succeeded = run.failure.empty();
    return run;
}
