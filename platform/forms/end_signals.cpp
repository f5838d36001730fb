#include "platform/forms/end_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/forms/form.h"
#include "platform/forms/host.h"

namespace forms {

namespace {

int g_pipe[2] = {-1, -1};

// All a signal handler may safely do: the signal's number goes through a pipe to the event loop,
// which does the real work on the program's own thread.
void noteSignal(int sig) {
    const int saved = errno;
    const unsigned char c = static_cast<unsigned char>(sig);
    (void)!::write(g_pipe[1], &c, 1);
    errno = saved;
}

// Nobody is there to answer while the desktop ends the program, and the desktop does not wait
// for ever: what would be asked is settled at once, and what would be said goes to standard error.
class UnattendedHost : public Host {
public:
    explicit UnattendedHost(Host& previous) : m_previous(previous) {}

    int msgBox(const std::string& prompt, int style, const std::string& title) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), prompt.c_str());
        return msgBoxDefaultAnswer(style);
    }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    bool fileDialog(FileDialogRequest&) override { return false; }
    bool fontDialog(FontChoice&, int) override { return false; }
    bool colorDialog(int32_t&, int) override { return false; }
    bool printerDialog(PrinterChoice&, int) override { return false; }
    int64_t shell(const std::string& path) override { return m_previous.shell(path); }
    bool openUrl(const std::string& url) override { return m_previous.openUrl(url); }
    void showHelp(const std::string&, const std::string&) override {}

private:
    Host& m_previous;
};

// Ends the process by the signal itself, so that whoever started it sees why it ended.
[[noreturn]] void endBy(int sig) {
    std::fflush(nullptr);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(sig, &standard, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(sig);
    ::_exit(128 + sig);
}

}  // namespace

void endOnSignals(std::function<void()> shutdown) {
    if (g_pipe[0] >= 0 || !QCoreApplication::instance()) return;
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, shutdown = std::move(shutdown)] {
        unsigned char sig = 0;
        if (::read(g_pipe[0], &sig, 1) != 1) return;
        // A second signal while the first one's shutdown runs changes nothing.
        notifier->setEnabled(false);
        // The shutdown may run inside the loop of a box that waits for an answer: the code that
        // waits there is not taken up again, since the program ends right after it.
        UnattendedHost unattended(host());
        setHost(&unattended);
        runHandler(shutdown);
        endBy(sig);
    });
    for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
        struct sigaction before {};
        if (::sigaction(sig, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        struct sigaction note {};
        note.sa_handler = noteSignal;
        sigemptyset(&note.sa_mask);
        note.sa_flags = SA_RESTART;
        ::sigaction(sig, &note, nullptr);
    }
}

}  // namespace forms
