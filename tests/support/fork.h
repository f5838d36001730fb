#pragma once

#include <unistd.h>

#include <QThreadPool>

#include <cstdio>

namespace support {

// A forked child has only the thread that forked. Once the test process has painted, Qt's thread
// pool counts helper threads that the child does not have, and the child's next large fill waits
// for them for ever; so the pool is emptied first, and the child starts threads of its own.
inline pid_t forkChild() {
    QThreadPool::globalInstance()->waitForDone();
    std::fflush(nullptr);
    return ::fork();
}

}  // namespace support
