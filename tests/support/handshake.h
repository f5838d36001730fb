#pragma once

#include <unistd.h>

namespace support {

// A test and the child it forks take turns over two pipes, one character at a time. Made before
// the fork; a side whose other end is gone hears '?'.
class Handshake {
public:
    Handshake() : m_ok(::pipe(m_toChild) == 0 && ::pipe(m_toParent) == 0) {}
    bool ok() const { return m_ok; }

    void tellChild(char c) { (void)!::write(m_toChild[1], &c, 1); }
    void tellParent(char c) { (void)!::write(m_toParent[1], &c, 1); }
    char childHears() { return hear(m_toChild[0]); }
    char parentHears() { return hear(m_toParent[0]); }

private:
    static char hear(int fd) {
        char c = 0;
        return ::read(fd, &c, 1) == 1 ? c : '?';
    }

    int m_toChild[2] = {-1, -1};
    int m_toParent[2] = {-1, -1};
    bool m_ok;
};

}  // namespace support
