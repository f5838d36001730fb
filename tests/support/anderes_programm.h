#pragma once

// The other program of a test that runs two ZUVDESKs on one data file: a forked child that does
// its work in the program's windows and takes turns with the test over a handshake, and the
// person window's saves both programs make.

#include <signal.h>
#include <sys/wait.h>

#include <functional>
#include <string>

#include "desk/testing/frm_pers.h"
#include "platform/forms/form.h"
#include "platform/forms/host.h"
#include "support/fork.h"
#include "support/handshake.h"
#include "support/scripted_host.h"

namespace support {

class AnderesProgramm {
public:
    AnderesProgramm() = default;
    AnderesProgramm(const AnderesProgramm&) = delete;
    AnderesProgramm& operator=(const AnderesProgramm&) = delete;
    // A child the test left running (a test that failed halfway) is killed.
    ~AnderesProgramm() { toeten(); }

    // Forks the other program: the child runs `kind` and ends with what it returns (3 for an
    // exception), without destructors or the test framework; the test goes on at once. False
    // when no child could be made.
    bool starten(const std::function<int()>& kind) {
        m_kind = forkChild();
        if (m_kind < 0) return false;
        if (m_kind != 0) return true;
        int code = 3;
        try {
            code = kind();
        } catch (...) {
        }
        ::_exit(code);
    }
    pid_t pid() const { return m_kind; }

    // The test hears the child ('?' when it is gone or said nothing within the handshake's deadline).
    char hoeren() { return m_h.parentHears(); }
    // The child tells the test, and waits for the test's word.
    void sagen(char c) { m_h.tellParent(c); }
    char warten() { return m_h.childHears(); }
    // The test lets the child end ('q') and waits for it: its exit code, -1 when it did not end by itself.
    int beenden() {
        m_h.tellChild('q');
        const int status = childEnds(m_kind);
        m_kind = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void toeten() {
        if (m_kind <= 0) return;
        ::kill(m_kind, SIGKILL);
        ::waitpid(m_kind, nullptr, 0);
        m_kind = -1;
    }

private:
    Handshake m_h;
    pid_t m_kind = -1;
};

// One new person saved through the person window; `vorher` runs as the person is typed in (the
// answers the save asks for are queued before).
inline void personSpeichern(const std::string& vorname, const std::string& nachname,
                            const std::function<void()>& vorher = {}) {
    auto& f = forms::Instance<frmpers>();
    f.Show();
    f.Befehl4_Click();
    f.Text1[0].setText(vorname);
    f.Text1[1].setText(nachname);
    if (vorher) vorher();
    f.Befehl5_Click();
}

// New persons saved through the person window, named `name` 1 … `anzahl`, each answered "not now"
// to the test.
inline void personenSpeichern(forms::ScriptedHost& host, const std::string& name, int anzahl) {
    for (int i = 1; i <= anzahl; ++i) {
        host.answer(forms::vbNo);
        personSpeichern(name, std::to_string(i));
    }
}

}  // namespace support
