#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cerrno>

#include <QThreadPool>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace support {

// Whether a thread of Qt's pool is still there. waitForDone() returns once the pool's threads
// have finished their work, while they may still be ending: freeing their stacks and their
// thread-local data under the loader's and the sanitizer allocator's locks.
inline bool poolThreadsLeft() {
    std::error_code ec;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ec)) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name == "Thread (pooled)") return true;
    }
    return false;
}

// A forked child has only the thread that forked, and every lock another thread held at that
// moment stays held in the child for ever. Once the test process has painted, Qt's thread pool
// counts helper threads that the child does not have, and the child's next large fill waits for
// them; so the pool is emptied first, and the child starts threads of its own. The fork also
// waits until those threads have really ended. Threads that stay (the shared-folder releaser)
// wait idle, and hand their lock over through their own fork handlers.
inline pid_t forkChild() {
    QThreadPool::globalInstance()->waitForDone();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (poolThreadsLeft()) {
        if (std::chrono::steady_clock::now() > until)
            throw std::runtime_error("the thread pool's threads did not end within 30 s; no fork");
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::fflush(nullptr);
    return ::fork();
}

// Waits for a child that ends by itself; its wait status. One still there after `seconds` hangs:
// it is named on stderr and killed, so that the test fails on its status instead of waiting
// for ever.
inline int childEnds(pid_t pid, int seconds = 120) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    for (;;) {
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) return status;
        if (r < 0 && errno != EINTR) return -1;
        if (std::chrono::steady_clock::now() > until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::fprintf(stderr, "child %d did not end within %d s; killed\n", static_cast<int>(pid), seconds);
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace support
