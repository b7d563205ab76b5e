#include "bench/pages/x_display.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

XDisplay::XDisplay() {
    if (const char* own = std::getenv("DISPLAY"); own && *own) {
        name_ = own;
        return;
    }
    // Xvfb writes its display number on descriptor 3 once it accepts clients.
    int ready[2];
    if (pipe(ready) != 0) {
        failure_ = std::string("pipe: ") + std::strerror(errno);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The reading end first: it may itself be descriptor 3.
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    posix_spawn_file_actions_adddup2(&actions, ready[1], 3);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>("Xvfb"),      const_cast<char*>("-displayfd"), const_cast<char*>("3"),
                    const_cast<char*>("-screen"),   const_cast<char*>("0"),          const_cast<char*>("1280x1024x24"),
                    const_cast<char*>("-nolisten"), const_cast<char*>("tcp"),        nullptr};
    const int spawned = posix_spawnp(&server_, "Xvfb", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    if (spawned != 0) {
        close(ready[0]);
        server_ = 0;
        failure_ = std::string("cannot start Xvfb: ") + std::strerror(spawned);
        return;
    }
    std::string number;
    char c;
    for (ssize_t n; (n = read(ready[0], &c, 1)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || c == '\n') break;
        number += c;
    }
    close(ready[0]);
    if (number.empty()) failure_ = "Xvfb did not start";
    else name_ = ":" + number;
}

XDisplay::~XDisplay() {
    if (server_ <= 0) return;
    kill(server_, SIGTERM);
    while (waitpid(server_, nullptr, 0) < 0 && errno == EINTR) {
    }
}
