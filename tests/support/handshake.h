#pragma once

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

namespace support {

// A test and the child it forks take turns over two pipes, one character at a time. Made before
// the fork. A side hears '?' when the other end is gone, or when nothing came within the
// deadline: both ends stay open on both sides, so a child that crashed or hangs would otherwise
// keep its parent waiting for ever.
class Handshake {
public:
    static constexpr int kFristSekunden = 120;

    Handshake() : m_ok(::pipe(m_toChild) == 0 && ::pipe(m_toParent) == 0) {}
    bool ok() const { return m_ok; }

    void tellChild(char c) { (void)!::write(m_toChild[1], &c, 1); }
    void tellParent(char c) { (void)!::write(m_toParent[1], &c, 1); }
    char childHears() { return hear(m_toChild[0], "the child heard nothing from the test"); }
    char parentHears() { return hear(m_toParent[0], "the test heard nothing from its child"); }

private:
    static char hear(int fd, const char* nothing) {
        using Clock = std::chrono::steady_clock;
        const auto until = Clock::now() + std::chrono::seconds(kFristSekunden);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
            if (left <= 0) {
                std::fprintf(stderr, "%s within %d s\n", nothing, kFristSekunden);
                return '?';
            }
            pollfd p{fd, POLLIN, 0};
            const int n = ::poll(&p, 1, static_cast<int>(left));
            if (n < 0 && errno != EINTR) return '?';
            if (n <= 0) continue;  // interrupted, or the deadline: checked above
            char c = 0;
            return ::read(fd, &c, 1) == 1 ? c : '?';
        }
    }

    int m_toChild[2] = {-1, -1};
    int m_toParent[2] = {-1, -1};
    bool m_ok;
};

}  // namespace support
