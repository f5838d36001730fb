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
// order fixed by the seed, so that every run kills at the same moments. However slow the machine,
// the last round lets the child first get as far as the test counts on (it says so through
// `done`) and kills it right after: the test's checks never depend on how much a child got done
// in its moment.
namespace support {

struct KillRound {
    int index;     // 0 … rounds (the last one the round that waited for `done`)
    bool killed;   // false when the child ended (or failed) before the kill
    int exitCode;  // the child's exit code when it was not killed
};

// The parent must hold no SQLite connection while it calls this: a connection must not cross a
// fork. `child` gets a function to call once its set-up is done and one to call when its work has
// come as far as the test's final checks count on (later calls of either do nothing); it should
// never return while it writes (returning ends the child with code 0, an exception with code 3).
// `check` runs in the parent after each round.
inline void killAtManyMoments(
    int rounds, std::chrono::microseconds window,
    const std::function<void(const std::function<void()>& ready, const std::function<void()>& done)>& child,
    const std::function<void(const KillRound&)>& check, unsigned seed = 14) {
    std::vector<long> moments;
    for (int i = 0; i < rounds; ++i) moments.push_back(window.count() * i / std::max(rounds, 1));
    std::mt19937 order(seed);
    std::shuffle(moments.begin(), moments.end(), order);
    moments.push_back(0);
    for (int i = 0; i <= rounds; ++i) {
        const bool last = i == rounds;
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t pid = support::forkChild();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(fds[0]);
            const int out = fds[1];
            int code = 0;
            // Each says its word once: the parent reads no more than these two.
            auto say = [out](char c) {
                return [out, c, said = false]() mutable {
                    if (said) return;
                    said = true;
                    (void)!::write(out, &c, 1);
                };
            };
            try {
                child(say('r'), say('d'));
            } catch (...) {
                code = 3;
            }
            ::_exit(code);  // no destructors, no test framework: the child only writes
        }
        ::close(fds[1]);
        // Waits for the child's word; a child that ended closed the pipe. Two minutes at most, for
        // a child that hangs.
        auto hear = [&](char expected) {
            pollfd p{fds[0], POLLIN, 0};
            char c = 0;
            return ::poll(&p, 1, 120000) == 1 && ::read(fds[0], &c, 1) == 1 && c == expected;
        };
        const bool ready = hear('r');
        const bool far = ready && (!last || hear('d'));
        if (far) std::this_thread::sleep_for(std::chrono::microseconds(moments[static_cast<size_t>(i)]));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(fds[0]);
        const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        EXPECT_TRUE(ready) << "round " << i << ": the child never got ready";
        EXPECT_TRUE(far) << "round " << i << ": the child never got as far as the test counts on";
        check(KillRound{i, killed, WIFEXITED(status) ? WEXITSTATUS(status) : -1});
        if (::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace support
