#pragma once

// One folder that two computers share, on one machine: an sshd of the test's own on 127.0.0.1
// (a free port, a host key and a client key made for it) and two sshfs mounts of one folder, each
// standing for one computer's view of the file server. Nothing of it outlives the object: the
// mounts are unmounted and the sshd ended also when a test fails.

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "support/files.h"

namespace support {

class SharedFolder {
public:
    SharedFolder() {
        m_reason = start();
        m_missing = m_reason.rfind("missing: ", 0) == 0;
    }
    ~SharedFolder() { stop(); }
    SharedFolder(const SharedFolder&) = delete;
    SharedFolder& operator=(const SharedFolder&) = delete;

    // Empty when both mounts stand; otherwise why not.
    const std::string& notPossible() const { return m_reason; }
    // This machine lacks what it takes (no FUSE device, sshd or sshfs not installed): a test
    // skips. Anything else that stops the mounts is a failure.
    bool missing() const { return m_missing; }
    // The shared folder itself, as the file server has it.
    std::string server() const { return (m_root / "server").string(); }
    // The same folder through the first and the second computer's mount.
    std::string first() const { return (m_root / "a").string(); }
    std::string second() const { return (m_root / "b").string(); }

private:
    static int freePort() {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        if (s < 0) return -1;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        int port = -1;
        if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) == 0)
            port = ntohs(a.sin_port);
        ::close(s);
        return port;
    }

    std::string start() {
        if (::access("/dev/fuse", R_OK | W_OK) != 0) return "missing: the FUSE device /dev/fuse";
        for (const char* tool : {"/usr/sbin/sshd", "/usr/bin/sshfs", "/usr/bin/ssh-keygen"})
            if (::access(tool, X_OK) != 0) return std::string("missing: ") + tool + " (packages openssh-server, sshfs)";
        char tmpl[] = "/tmp/zuv-geteilt-XXXXXX";
        if (!::mkdtemp(tmpl)) return "no temporary folder";
        m_root = tmpl;
        fs::create_directories(m_root / "server");
        fs::create_directories(m_root / "a");
        fs::create_directories(m_root / "b");
        // The server's folder is open to the group and others as a practice's share would be.
        fs::permissions(m_root / "server", fs::perms::all);
        const std::string r = m_root.string();
        const RunResult keys = run("ssh-keygen -q -t ed25519 -N '' -f " + shellQuote(r + "/host_key") +
                                   " && ssh-keygen -q -t ed25519 -N '' -f " + shellQuote(r + "/client_key") + " && cp " +
                                   shellQuote(r + "/client_key.pub") + " " + shellQuote(r + "/authorized_keys"));
        if (keys.status != 0) return "ssh-keygen failed: " + keys.output;
        // sshd wants its folder for the separated privileges.
        ::mkdir("/run/sshd", 0755);
        for (int attempt = 0; attempt < 5; ++attempt) {
            const int port = freePort();
            if (port <= 0) return "no free port";
            writeFile(r + "/sshd_config", "Port " + std::to_string(port) + "\nListenAddress 127.0.0.1\nHostKey " + r +
                                              "/host_key\nAuthorizedKeysFile " + r +
                                              "/authorized_keys\nPasswordAuthentication no\n"
                                              "KbdInteractiveAuthentication no\nPermitRootLogin prohibit-password\n"
                                              "UsePAM no\nStrictModes no\nPidFile none\n"
                                              "Subsystem sftp internal-sftp\n");
            m_sshd = ::fork();
            if (m_sshd == 0) {
                ::execl("/usr/sbin/sshd", "/usr/sbin/sshd", "-D", "-f", (r + "/sshd_config").c_str(), "-E",
                        (r + "/sshd.log").c_str(), static_cast<char*>(nullptr));
                ::_exit(127);
            }
            if (m_sshd < 0) return "fork failed";
            std::string failed;
            for (const char* m : {"a", "b"}) {
                failed = mount(port, m_root / m);
                if (!failed.empty()) break;
            }
            if (failed.empty()) return {};
            stop(false);
            m_reason = failed;
        }
        return "sshfs could not mount: " + m_reason + " " + readFile(m_root / "sshd.log");
    }

    // Mounts the server's folder, trying while the sshd is not listening yet.
    std::string mount(int port, const fs::path& at) {
        const char* user = ::getenv("USER");
        const std::string login = (user && *user ? std::string(user) : run("id -un").output);
        std::string name = login;
        while (!name.empty() && name.back() == '\n') name.pop_back();
        const std::string command =
            "sshfs -p " + std::to_string(port) + " -o IdentityFile=" + shellQuote((m_root / "client_key").string()) +
            " -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null -o BatchMode=yes -o ConnectTimeout=5 " +
            shellQuote(name + "@127.0.0.1:" + server()) + " " + shellQuote(at.string());
        RunResult last;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        do {
            last = run(command);
            if (last.status == 0) {
                m_mounted.push_back(at.string());
                return {};
            }
            int status = 0;
            if (::waitpid(m_sshd, &status, WNOHANG) == m_sshd) {
                m_sshd = -1;
                return "sshd ended: " + last.output;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (std::chrono::steady_clock::now() < deadline);
        return last.output;
    }

    void stop(bool removeAll = true) {
        for (const auto& m : m_mounted) {
            // A file still open under it keeps the mount busy for a moment.
            for (int i = 0; i < 50 && run("fusermount -u " + shellQuote(m)).status != 0; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            run("fusermount -u -z " + shellQuote(m));
        }
        m_mounted.clear();
        if (m_sshd > 0) {
            ::kill(m_sshd, SIGTERM);
            ::waitpid(m_sshd, nullptr, 0);
            m_sshd = -1;
        }
        if (removeAll && !m_root.empty()) {
            std::error_code ec;
            fs::remove_all(m_root, ec);
        }
    }

    fs::path m_root;
    pid_t m_sshd = -1;
    std::vector<std::string> m_mounted;
    std::string m_reason;
    bool m_missing = false;
};

}  // namespace support
