#pragma once

// An installed program run as a process of its own, as the desktop starts it: the built program
// in an installation folder, Qt's offscreen platform, and a test that waits for what the process
// holds before it acts on it.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/fork.h"

namespace support {

namespace fs = std::filesystem;

// Puts the built programs into the installation folder `ordner`: linked where the file system
// allows, copied elsewhere.
inline void programmeEinsetzen(const fs::path& ordner) {
    for (const char* name : {"zuvdesk", "zuvcodex"}) {
        const fs::path quelle = fs::path(ZUV_DIST_DIR) / name, ziel = ordner / name;
        std::error_code ec;
        fs::remove(ziel, ec);
        fs::create_hard_link(quelle, ziel, ec);
        if (ec) fs::copy_file(quelle, ziel);
    }
}

// The program started from its folder, as the desktop would, on Qt's offscreen platform, with
// standard output and error in the file `ausgabe`. SIGTERM, SIGHUP and SIGINT reach it whatever
// this process does with them. A program still running at the end of the test is killed.
class Programmlauf {
public:
    Programmlauf(const fs::path& programm, const fs::path& ausgabe) { m_pid = starten(programm, ausgabe); }
    ~Programmlauf() {
        if (m_pid > 0 && !m_beendet) {
            ::kill(m_pid, SIGKILL);
            ende();
        }
    }
    Programmlauf(const Programmlauf&) = delete;
    Programmlauf& operator=(const Programmlauf&) = delete;

    pid_t pid() const { return m_pid; }
    // Waits until `zustand` holds; false when the program ended first, or when nothing came of it
    // after a minute (a program that hangs).
    bool warteAuf(const std::function<bool()>& zustand) {
        const auto bis = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!zustand()) {
            if (m_beendet || ::waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
                m_beendet = true;
                return false;
            }
            if (std::chrono::steady_clock::now() > bis) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }
    void signal(int sig) { ::kill(m_pid, sig); }
    // Waits for the program to end; its wait status.
    int ende() {
        while (!m_beendet) {
            if (::waitpid(m_pid, &m_status, 0) == m_pid || errno != EINTR) m_beendet = true;
        }
        return m_status;
    }

private:
    static pid_t starten(const fs::path& programm, const fs::path& ausgabe) {
        // Everything the child needs is made before the fork: between fork and exec only calls
        // that are safe in the copy of a process with threads.
        const std::string pfad = programm.string(), ordner = programm.parent_path().string(), aus = ausgabe.string();
        std::vector<std::string> umgebung{"QT_QPA_PLATFORM=offscreen"};
        // The program runs in the test's locale, which the suite sets as the users' desktop does.
        for (const char* name : {"PATH", "HOME", "TMPDIR", "XDG_RUNTIME_DIR", "LANG", "LC_ALL"})
            if (const char* wert = std::getenv(name)) umgebung.push_back(std::string(name) + "=" + wert);
        std::vector<char*> envp;
        for (std::string& e : umgebung) envp.push_back(e.data());
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(pfad.c_str()), nullptr};

        const pid_t pid = forkChild();
        if (pid != 0) return pid;
        struct sigaction standard {};
        standard.sa_handler = SIG_DFL;
        sigemptyset(&standard.sa_mask);
        sigset_t endesignale;
        sigemptyset(&endesignale);
        for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
            ::sigaction(sig, &standard, nullptr);
            sigaddset(&endesignale, sig);
        }
        ::sigprocmask(SIG_UNBLOCK, &endesignale, nullptr);
        const int fd = ::open(aus.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::dup2(fd, 1);
            ::dup2(fd, 2);
        }
        if (::chdir(ordner.c_str()) == 0) ::execve(pfad.c_str(), argv, envp.data());
        ::_exit(127);
    }

    pid_t m_pid = -1;
    int m_status = 0;
    bool m_beendet = false;
};

inline bool endeteDurch(int status, int sig) { return WIFSIGNALED(status) && WTERMSIG(status) == sig; }

}  // namespace support
