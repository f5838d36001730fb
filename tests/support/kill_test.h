#pragma once

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "support/fork.h"

// A program killed with SIGKILL at many moments while it writes: each time a child process is
// forked, does its set-up, says it is ready and writes without end until it is killed a chosen
// time later; then the parent looks at the files. The moments spread evenly over the window, in an
// order fixed by the seed, so that every run kills at the same moments.
namespace support {

struct KillRound {
    int index;          // 0 … rounds-1
    bool killed;        // false when the child ended (or failed) before the kill
    int exitCode;       // the child's exit code when it was not killed
};

// The parent must hold no SQLite connection while it calls this: a connection must not cross a
// fork. `child` gets a function to call once its set-up is done; it should never return while it
// writes (returning ends the child with code 0, an exception with code 3). `check` runs in the
// parent after each round.
inline void killAtManyMoments(int rounds, std::chrono::microseconds window,
                              const std::function<void(const std::function<void()>& ready)>& child,
                              const std::function<void(const KillRound&)>& check, unsigned seed = 14) {
    std::vector<long> moments;
    for (int i = 0; i < rounds; ++i) moments.push_back(window.count() * i / std::max(rounds, 1));
    std::mt19937 order(seed);
    std::shuffle(moments.begin(), moments.end(), order);
    for (int i = 0; i < rounds; ++i) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t pid = support::forkChild();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(fds[0]);
            const int out = fds[1];
            int code = 0;
            try {
                child([out] {
                    const char c = 'r';
                    (void)!::write(out, &c, 1);
                });
            } catch (...) {
                code = 3;
            }
            ::_exit(code);  // no destructors, no test framework: the child only writes
        }
        ::close(fds[1]);
        pollfd p{fds[0], POLLIN, 0};
        const bool ready = ::poll(&p, 1, 20000) == 1;
        char c = 0;
        const bool said = ready && ::read(fds[0], &c, 1) == 1;
        ::close(fds[0]);
        if (said) std::this_thread::sleep_for(std::chrono::microseconds(moments[static_cast<size_t>(i)]));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        EXPECT_TRUE(said) << "round " << i << ": the child never got ready";
        check(KillRound{i, killed, WIFEXITED(status) ? WEXITSTATUS(status) : -1});
        if (::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace support
