#pragma once

// What a practitioner's computer has and a test run as root does not: a folder this account cannot
// write (a read-only bind mount, which holds for root too) and a second account on the same
// computer (a child process that has dropped to it).

#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "support/files.h"
#include "support/fork.h"

namespace support {

// `quelle` seen once more, read-only, under a folder of its own; removed with the object.
class NurLesbareAnsicht {
public:
    explicit NurLesbareAnsicht(const fs::path& quelle) : m_pfad(makeTempDir("zuv-nurlesen")) {
        if (::mount(quelle.c_str(), m_pfad.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            m_fehler = std::string("mount --bind: ") + std::strerror(errno);
            return;
        }
        m_gebunden = true;
        if (::mount(nullptr, m_pfad.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            m_fehler = std::string("mount -o remount,ro,bind: ") + std::strerror(errno);
    }
    ~NurLesbareAnsicht() {
        if (m_gebunden) ::umount2(m_pfad.c_str(), MNT_DETACH);
        std::error_code ec;
        fs::remove(m_pfad, ec);
    }
    NurLesbareAnsicht(const NurLesbareAnsicht&) = delete;
    NurLesbareAnsicht& operator=(const NurLesbareAnsicht&) = delete;

    // Empty when the view stands; else why the machine cannot make it (no right to mount).
    const std::string& fehler() const { return m_fehler; }
    const fs::path& pfad() const { return m_pfad; }

private:
    fs::path m_pfad;
    std::string m_fehler;
    bool m_gebunden = false;
};

// The second account of the computer: "nobody" with its own group.
struct Konto {
    uid_t uid = 0;
    gid_t gid = 0;
};

// "nobody"; empty text when it can be used, else why not (this process is not root, no such account).
inline std::string zweitesKonto(Konto& k) {
    if (::geteuid() != 0) return "the test must run as root to act as a second account";
    const passwd* pw = ::getpwnam("nobody");
    if (!pw) return "the machine has no account \"nobody\"";
    k.uid = pw->pw_uid;
    k.gid = pw->pw_gid;
    return {};
}

// Runs `schritt` in a child process under the account `k` (its group only, umask `maske`); the
// child's result (0..255), or -1 when it ended otherwise.
inline int alsKonto(const Konto& k, mode_t maske, const std::function<int()>& schritt) {
    const pid_t pid = forkChild();
    if (pid == 0) {
        ::umask(maske);
        if (::setgroups(0, nullptr) != 0 || ::setgid(k.gid) != 0 || ::setuid(k.uid) != 0) ::_exit(120);
        int r = 121;
        try {
            r = schritt();
        } catch (...) {
            r = 122;
        }
        std::fflush(nullptr);
        ::_exit(r);
    }
    const int status = childEnds(pid);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The permission bits of a file.
inline unsigned rechte(const fs::path& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 ? static_cast<unsigned>(st.st_mode & 07777) : 0u;
}

// Sets the umask for the life of the object.
class Umask {
public:
    explicit Umask(mode_t maske) : m_alt(::umask(maske)) {}
    ~Umask() { ::umask(m_alt); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t m_alt;
};

}  // namespace support
