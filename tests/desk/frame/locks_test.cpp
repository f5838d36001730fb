// A practitioner's day with the real main window and Qt's real file dialog: between the changes
// to the open data file come a backup, a compaction, the import dialog, the data file offered as
// an XML person file, "Neu" over an existing file and a printout into a PDF file, and an outside
// sqlite3 reads the file. The program runs in a child process and is killed with SIGKILL at the
// end. At every step the program holds its lock on the open file and its journal stays; after the
// kill every change is in the file.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QPrinterInfo>

#include <cstdio>
#include <set>
#include <sstream>

#include "desk/testing/frm_pers.h"
#include "desk/testing/testverwaltung.h"
#include "frame_fixture.h"
#include "support/data_file.h"
#include "support/echter_dateidialog.h"
#include "support/files.h"
#include "support/fork.h"

using namespace frame_test;

namespace {

std::string sqlite(const std::string& file, const std::string& statement) {
    return support::run("sqlite3 " + support::shellQuote(file) + " " + support::shellQuote(statement)).output;
}

// Whether process `pid` holds a lock on the file. The kernel is asked which lock stands in the
// way of writing all of it: a POSIX lock names its process, a lock on an open file description
// (the engine's) none, so that one counts while `pid` has the file open. /proc/locks comes a page
// at a time, and on a busy machine a lock taken or let go elsewhere between two pages lets a line
// slip past the reader.
bool haeltSperre(pid_t pid, const std::string& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) return false;
    bool offen = false;
    for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
        struct stat fd;
        if (::stat(e.path().c_str(), &fd) == 0 && fd.st_ino == st.st_ino && fd.st_dev == st.st_dev) offen = true;
    }
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock l {};
    l.l_type = F_WRLCK;
    l.l_whence = SEEK_SET;
    const bool gefragt = ::fcntl(fd, F_OFD_GETLK, &l) == 0;
    ::close(fd);
    if (!gefragt || l.l_type == F_UNLCK) return false;
    return l.l_pid == pid || (l.l_pid == -1 && offen);
}

// What stands of the file's locks and of `pid`'s descriptors of it, for a failure to name.
std::string sperrBefund(pid_t pid, const std::string& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) return "the file is gone";
    std::string befund = "descriptors of the file in " + std::to_string(pid) + ":";
    for (const auto& e : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd")) {
        struct stat fd;
        if (::stat(e.path().c_str(), &fd) == 0 && fd.st_ino == st.st_ino && fd.st_dev == st.st_dev)
            befund += " " + e.path().filename().string();
    }
    befund += "; its lines of /proc/locks:";
    const std::string inode = ":" + std::to_string(st.st_ino) + " ";
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);)
        if ((line + " ").find(inode) != std::string::npos) befund += " [" + line + "]";
    return befund;
}

// The child waits on its pipe while the parent looks, so its locks stand still: a look that finds
// none is made again a few times before it counts, and one that finds the lock only later is
// told on stderr with what the first look saw.
bool haeltSperreBeimHinsehen(pid_t pid, const std::string& file) {
    if (haeltSperre(pid, file)) return true;
    const std::string zuerst = sperrBefund(pid, file);
    for (int i = 0; i < 10; ++i) {
        ::usleep(50000);
        if (haeltSperre(pid, file)) {
            std::fprintf(stderr, "lock of %d on %s seen only on look %d; first: %s\n", static_cast<int>(pid),
                         file.c_str(), i + 2, zuerst.c_str());
            return true;
        }
    }
    return false;
}

// The child's side of a run: a step done is reported with a line of facts, and the child goes on
// once the parent has looked.
class Kind {
public:
    Kind(int an, int von) : m_an(an), m_von(von) {}
    void schritt(const std::string& name) {
        std::string zeile = name + "|" + (gDateiOffen ? "offen" : "zu") + "|" + gDatenbankName + "|";
        const auto meldungen = host.messages();
        for (size_t i = m_gemeldet; i < meldungen.size(); ++i) zeile += meldungen[i] + " / ";
        m_gemeldet = meldungen.size();
        for (char& c : zeile)
            if (c == '\n' || c == '\r') c = ' ';
        zeile += "\n";
        (void)!::write(m_an, zeile.data(), zeile.size());
        char c = 0;
        if (::read(m_von, &c, 1) != 1) ::_exit(4);
    }
    support::HostMitEchtemDateidialog host;

private:
    int m_an, m_von;
    size_t m_gemeldet = 0;
};

// What the child reported of one step.
struct Schritt {
    std::string name, zustand, datei, meldungen;
    bool offen() const { return zustand == "offen"; }
};

class Sperren : public FrameTest {
protected:
    void SetUp() override {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) GTEST_SKIP() << "this machine has a printer";
        FrameTest::SetUp();
    }
    std::vector<std::string> nachnamen(const std::string& datei) {
        return support::lines(sqlite(datei, "select nachname from persdat order by personid"));
    }

    // A person saved through the person window, as a person enters one.
    static void personSpeichern(Kind& k, const std::string& nachname) {
        PersonendatenAnzeigen();
        auto& f = forms::Instance<frmpers>();
        f.Befehl4_Click();
        f.Text1[0].setText("Vor");
        f.Text1[1].setText(nachname);
        k.host.answer(forms::vbNo);  // no test now
        f.Befehl5_Click();
    }

    // The day: the program starts on the file of the recent list, a person is saved, then
    // `befehl` runs (it ends with a data file open again, that one unless it says otherwise), a
    // person is saved, sqlite3 reads the file, another person is saved, and the program is
    // killed. At each step with the file open the parent finds the lock and the journal; `pruefe`
    // sees every step too. Returns the steps as the child reported them.
    std::vector<Schritt> tag(const std::function<void(Kind&)>& befehl,
                             const std::function<void(const Schritt&)>& pruefe = {}) {
        std::vector<Schritt> schritte;
        int zumKind[2], zumTest[2];
        EXPECT_EQ(::pipe(zumKind), 0);
        EXPECT_EQ(::pipe(zumTest), 0);
        const pid_t pid = support::forkChild();
        if (pid == 0) {
            ::close(zumKind[1]);
            ::close(zumTest[0]);
            Kind k(zumTest[1], zumKind[0]);
            forms::setHost(&k.host);
            if (!starte()) ::_exit(2);
            k.schritt("gestartet");
            personSpeichern(k, "Vorher");
            k.schritt("vorher gespeichert");
            befehl(k);
            k.schritt("befehl");
            personSpeichern(k, "Nachher");
            k.schritt("nachher gespeichert");
            personSpeichern(k, "Gelesen");
            k.schritt("nach dem Lesen gespeichert");
            k.schritt("ende");
            ::pause();
            ::_exit(0);
        }
        ::close(zumKind[0]);
        ::close(zumTest[1]);
        std::string puffer;
        auto naechsteZeile = [&](std::string& zeile) {
            for (;;) {
                if (const auto nl = puffer.find('\n'); nl != std::string::npos) {
                    zeile = puffer.substr(0, nl);
                    puffer.erase(0, nl + 1);
                    return true;
                }
                pollfd p{zumTest[0], POLLIN, 0};
                if (::poll(&p, 1, 30000) != 1) return false;
                char b[4096];
                const ssize_t n = ::read(zumTest[0], b, sizeof b);
                if (n <= 0) return false;
                puffer.append(b, static_cast<size_t>(n));
            }
        };
        for (std::string zeile; naechsteZeile(zeile);) {
            Schritt s;
            std::istringstream z(zeile);
            std::getline(z, s.name, '|');
            std::getline(z, s.zustand, '|');
            std::getline(z, s.datei, '|');
            std::getline(z, s.meldungen);
            schritte.push_back(s);
            SCOPED_TRACE(s.name + ": " + s.meldungen);
            if (s.name == "ende") break;
            // The day's own steps leave the file open; a command's steps inside may have closed it.
            static const std::set<std::string> offen{"gestartet", "vorher gespeichert", "befehl", "nachher gespeichert",
                                                     "nach dem Lesen gespeichert"};
            if (offen.count(s.name)) {
                EXPECT_TRUE(s.offen());
            }
            if (s.offen()) {
                EXPECT_TRUE(haeltSperreBeimHinsehen(pid, s.datei))
                    << "no lock on " << s.datei << "; " << sperrBefund(pid, s.datei);
                EXPECT_TRUE(fs::exists(s.datei + "-wal"));
            }
            if (s.name == "nachher gespeichert") {
                EXPECT_EQ(sqlite(s.datei, "select count(*) from PersDat where nachname = 'Nachher'"), "1\n");
                EXPECT_TRUE(haeltSperreBeimHinsehen(pid, s.datei))
                    << "no lock after the outside read; " << sperrBefund(pid, s.datei);
                EXPECT_TRUE(fs::exists(s.datei + "-wal")) << "the outside read removed the journal";
            }
            if (pruefe) pruefe(s);
            (void)!::write(zumKind[1], "w", 1);
        }
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(zumKind[1]);
        ::close(zumTest[0]);
        EXPECT_FALSE(schritte.empty() || schritte.back().name != "ende")
            << "the child stopped after " << (schritte.empty() ? "nothing" : schritte.back().name);
        return schritte;
    }
    // After the kill: the file holds the persons it held before and every person saved, whole.
    void allesDa(const std::string& datei, std::vector<std::string> erwartet) {
        EXPECT_EQ(nachnamen(datei), erwartet);
        EXPECT_EQ(sqlite(datei, "pragma integrity_check"), "ok\n");
        EXPECT_EQ(sqlite(datei, "select count(*) from persontestergebnis"), std::to_string(109 * erwartet.size()) + "\n");
    }
    static std::vector<std::string> mitVorigen(std::vector<std::string> neu) {
        neu.insert(neu.begin(), {"Nachname1", "Nachname2"});
        return neu;
    }
    static const std::vector<std::string>& gespeichert() {
        static const std::vector<std::string> n{"Vorher", "Nachher", "Gelesen"};
        return n;
    }
};

}  // namespace

// The backup asks to close the file, lists the data folder for its target and copies; the file
// is opened again from the recent list.
TEST_F(Sperren, BackupThenReopenFromTheRecentList) {
    const std::string datei = datenDatei("Klienten.ZDB", 2);
    zuletztGeoeffnet(datei);
    const std::string sicherung = pfad("Sicherung.ZDB");
    tag(
        [&](Kind& k) {
            k.host.dateidialog(sicherung).answer(forms::vbYes);
            mdi().mnuBackup.choose();
            k.schritt("gesichert");
            mdi().mnuFileArray(1).choose();
        },
        [&](const Schritt& s) {
            if (s.name == "gesichert") {
                EXPECT_FALSE(s.offen());
            }
        });
    allesDa(datei, mitVorigen(gespeichert()));
    EXPECT_EQ(nachnamen(sicherung), mitVorigen({"Vorher"}));
}

// The compaction lists the folder twice (source and target); the file is opened again through
// File → Open, a third listing.
TEST_F(Sperren, CompactionThenReopenThroughFileOpen) {
    const std::string datei = datenDatei("Klienten.ZDB", 2);
    zuletztGeoeffnet(datei);
    const std::string kompakt = pfad("Kompakt.ZDB");
    tag([&](Kind& k) {
        k.host.dateidialog(datei).dateidialog(kompakt).answer(forms::vbYes);
        mdi().mnuDBkomprimieren.choose();
        k.schritt("komprimiert");
        k.host.dateidialog(datei);
        mdi().mnuOpen.choose();
    });
    allesDa(datei, mitVorigen(gespeichert()));
    EXPECT_EQ(nachnamen(kompakt), mitVorigen({"Vorher"}));
}

// The import dialog lists the data folder while the file is open, and is cancelled.
TEST_F(Sperren, ImportDialogCancelledWhileTheFileIsOpen) {
    const std::string datei = datenDatei("Klienten.ZDB", 2);
    zuletztGeoeffnet(datei);
    const auto schritte = tag([&](Kind& k) {
        k.host.dateidialog("");
        mdi().mnuImportZUV40.choose();
        k.schritt(k.host.listen().size() == 1 && !k.host.listen()[0].empty() ? "gelistet" : "nicht gelistet");
    });
    ASSERT_GE(schritte.size(), 3u);
    EXPECT_EQ(schritte[2].name, "gelistet");  // the dialog did show the folder's files
    allesDa(datei, mitVorigen(gespeichert()));
}

// The data file itself chosen as XML person file: it is refused, and nothing of the program has
// read it past the engine.
TEST_F(Sperren, TheDataFileOfferedAsXmlPersonFile) {
    const std::string datei = datenDatei("Klienten.ZDB", 2);
    zuletztGeoeffnet(datei);
    tag(
        [&](Kind& k) {
            PersonendatenAnzeigen();
            k.host.dateidialog(datei);
            forms::Instance<frmpers>().Command2_Click();
            k.schritt("als XML gewählt");
        },
        [&](const Schritt& s) {
            if (s.name == "als XML gewählt") {  // refused, saying why
                EXPECT_NE(s.meldungen.find("geöffnete Datendatei"), std::string::npos) << s.meldungen;
            }
        });
    allesDa(datei, mitVorigen(gespeichert()));
}

// "Neu" over the open data file: the old file goes with its journal files, the new one is empty
// and open, and the changes made in it stay.
TEST_F(Sperren, NewOverTheOpenDataFile) {
    const std::string datei = datenDatei("Klienten.ZDB", 2);
    zuletztGeoeffnet(datei);
    tag(
        [&](Kind& k) {
            k.host.dateidialog(datei).answer(forms::vbYes).answer(forms::vbYes);  // close it; replace it
            mdi().mnuNew.choose();
        },
        [&](const Schritt& s) {
            if (s.name == "befehl") {
                EXPECT_EQ(s.datei, datei);
                EXPECT_EQ(s.meldungen.find("3343"), std::string::npos) << s.meldungen;
                EXPECT_EQ(s.meldungen.find("beschädigt"), std::string::npos) << s.meldungen;
            }
        });
    allesDa(datei, {"Nachher", "Gelesen"});
}

// The blank questionnaire printed into a PDF file chosen in the data folder, without a printer.
TEST_F(Sperren, PrintoutIntoAPdfFileInTheDataFolder) {
    const std::string datei = datenDatei("Klienten.ZDB", 2);
    zuletztGeoeffnet(datei);
    const std::string pdf = pfad("Fragebogen.pdf");
    tag([&](Kind& k) {
        k.host.dateidialog(pdf).answer(forms::vbYes);
        mdi().mnuDruckFragebogen.choose();
    });
    allesDa(datei, mitVorigen(gespeichert()));
    EXPECT_NE(pdfText(pdf).find("109)"), std::string::npos);
}
