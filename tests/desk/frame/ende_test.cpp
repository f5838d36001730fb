// The desktop ends ZUVDESK with a signal (SIGTERM at log-out, SIGHUP when the session goes, SIGINT
// for Ctrl+C): the program ends as "Beenden" ends it, without the question. And an installation
// copied or moved elsewhere works on its own folder, though its INI file names the original's.

#include "frame_fixture.h"

#include <QEventLoop>

#include <cstring>

#include "support/handshake.h"
#include "support/held_files.h"
#include "support/programm_prozess.h"

using namespace frame_test;

namespace {

class Ende : public FrameTest {
protected:
    // The INI file as "Beenden" writes it with one recent file.
    std::string iniNachBeenden(const fs::path& ordner, const std::string& datei) const {
        return "[ZUV]\r\nAppPath=" + ordner.string() + "\r\n[Options]\r\nSystemDB=" + (ordner / "Sys.mda").string() +
               "\r\n[File1]\r\n1=" + datei + "\r\n";
    }
    // An INI file that names the file to reopen, with a section of some other program that the
    // INI file ZUVDESK writes does not keep: what is on disk shows whether ZUVDESK wrote it.
    void iniVorStart(const std::string& datei) const {
        std::ofstream(dir / "Zuv50.ini", std::ios::trunc)
            << "[ZUV]\r\nAppPath=" << dir.string() << "\r\n[File1]\r\n1=" << datei << "\r\n[Fremd]\r\nx=1\r\n";
    }
    // The log and shared-memory files a killed program leaves beside a database.
    static std::vector<std::string> liegengeblieben(const std::vector<std::string>& dateien) {
        std::vector<std::string> da;
        for (const std::string& d : dateien)
            for (const char* seite : {"-wal", "-shm"})
                if (fs::exists(d + seite)) da.push_back(d + seite);
        return da;
    }
    static std::string zeilen(const std::vector<std::string>& v) {
        std::string s;
        for (const auto& x : v) s += "\n  " + x;
        return s;
    }
};

TEST_F(Ende, EndedByTheDesktopTheProgramClosesItsFilesAndWritesItsIniFileWithoutAQuestion) {
    const std::string datei = datenDatei("Kartei.ZDB", 3);
    support::programmeEinsetzen(dir);
    for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(sig));
        iniVorStart(datei);
        support::Programmlauf lauf(dir / "zuvdesk", dir / "ausgabe.txt");
        // The data file is open once the program holds its locks.
        ASSERT_TRUE(lauf.warteAuf([&] { return support::holdsLock(lauf.pid(), datei + "-shm"); }))
            << support::readFile(dir / "ausgabe.txt");
        lauf.signal(sig);
        const int status = lauf.ende();
        EXPECT_TRUE(support::endeteDurch(status, sig)) << status << support::readFile(dir / "ausgabe.txt");
        const auto reste = liegengeblieben({datei, pfad("zuv.sdb")});
        EXPECT_TRUE(reste.empty()) << zeilen(reste);
        EXPECT_EQ(support::readFile(dir / "Zuv50.ini"), iniNachBeenden(dir, datei));
        EXPECT_EQ(support::run("sqlite3 " + support::shellQuote(datei) + " 'select count(*) from persdat'").output,
                  "3\n");
    }
}

// A box of the program waits for an answer when the signal comes: the program ends all the same,
// without taking up the command that asked.
TEST_F(Ende, EndedWhileABoxWaitsForAnAnswerTheProgramStillClosesItsFilesAndWritesItsIniFile) {
    const std::string datei = datenDatei("Kartei.ZDB", 2);
    iniVorStart(datei);
    support::Handshake hs;
    ASSERT_TRUE(hs.ok());
    // Asks the person as the real boxes do: in an event loop of its own, until the answer comes.
    struct WartenderHost : forms::ScriptedHost {
        support::Handshake* hs;
        int msgBox(const std::string&, int, const std::string&) override {
            hs->tellParent('b');
            QEventLoop().exec();
            return forms::vbYes;
        }
    };
    const pid_t pid = support::forkChild();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        BeiEndesignalBeenden();
        if (!starte() || !gDateiOffen) {
            hs.tellParent('x');
            ::_exit(3);
        }
        WartenderHost wartend;
        wartend.hs = &hs;
        forms::setHost(&wartend);
        mdi().mnuBeenden_Click();  // its question waits
        hs.tellParent('z');        // taken up again after the end: wrong
        ::_exit(4);
    }
    ASSERT_EQ(hs.parentHears(), 'b');
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(support::endeteDurch(status, SIGTERM)) << status;
    const auto reste = liegengeblieben({datei, pfad("zuv.sdb")});
    EXPECT_TRUE(reste.empty()) << zeilen(reste);
    EXPECT_EQ(support::readFile(dir / "Zuv50.ini"), iniNachBeenden(dir, datei));
}

// The installation is copied elsewhere: the copy's INI file names the original's folder, but the
// copy opens its own settings and writes its own folder into its INI file; and it still starts
// once the original is gone.
TEST_F(Ende, ACopiedInstallationWorksOnItsOwnFolderAlsoWhenTheOriginalIsGone) {
    support::programmeEinsetzen(dir);
    const std::string iniDesOriginals = support::readFile(dir / "Zuv50.ini");
    ASSERT_NE(iniDesOriginals.find("AppPath=" + dir.string() + "\r\n"), std::string::npos) << iniDesOriginals;
    const fs::path kopie = support::makeTempDir("zuv-kopie");
    const fs::path weg = dir.string() + "-weg";
    struct Zurueck {
        fs::path von, nach, kopie;
        ~Zurueck() {
            std::error_code ec;
            if (fs::exists(von, ec)) fs::rename(von, nach, ec);
            fs::remove_all(kopie, ec);
        }
    } zurueck{weg, dir, kopie};
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (name != "zuvdesk" && name != "zuvcodex") fs::copy(e.path(), kopie / name, fs::copy_options::recursive);
    }
    support::programmeEinsetzen(kopie);
    // A data file of the copy's own, which the start reopens.
    fs::copy_file(datenDatei("Kartei.ZDB", 1), kopie / "Kartei.ZDB");
    const std::string datei = (kopie / "Kartei.ZDB").string();

    for (const bool originalDa : {true, false}) {
        SCOPED_TRACE(originalDa ? "the original beside it" : "the original gone");
        if (!originalDa) fs::rename(dir, weg);
        support::writeFile(kopie / "Zuv50.ini", iniDesOriginals + "[File1]\r\n1=" + datei + "\r\n");
        support::Programmlauf lauf(kopie / "zuvdesk", kopie / "ausgabe.txt");
        ASSERT_TRUE(lauf.warteAuf([&] { return support::holdsLock(lauf.pid(), datei + "-shm"); }))
            << support::readFile(kopie / "ausgabe.txt");
        EXPECT_TRUE(support::holdsLock(lauf.pid(), (kopie / "zuv.sdb").string() + "-shm"));
        EXPECT_FALSE(support::holdsLock(lauf.pid(), (dir / "zuv.sdb").string() + "-shm"));
        lauf.signal(SIGTERM);
        EXPECT_TRUE(support::endeteDurch(lauf.ende(), SIGTERM)) << support::readFile(kopie / "ausgabe.txt");
        EXPECT_EQ(support::readFile(kopie / "Zuv50.ini"), iniNachBeenden(kopie, datei));
    }
    EXPECT_EQ(support::readFile(weg / "Zuv50.ini"), iniDesOriginals);
}

}  // namespace
