// The desktop ends the reader with a signal: it ends as its exit command does, without the
// question, its databases closed; and a copied installation reads its own folder.

#include "codex_fixture.h"

#include <cstring>

#include "support/held_files.h"
#include "support/programm_prozess.h"

using namespace codex_test;

namespace {

// The INI file stays as it is: the reader never writes it.
TEST_F(CodexTest, EndedByTheDesktopTheReaderClosesItsDatabasesAndLeavesTheIniFile) {
    inhalt();
    support::programmeEinsetzen(dir);
    const std::string ini = support::readFile(dir / "Zuv50.ini");
    const std::string einstellungen = pfad("zuv.sdb"), inhalte = pfad("zuv40typ.sdb");
    for (const int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(sig));
        support::Programmlauf lauf(dir / "zuvcodex", dir / "ausgabe.txt");
        // The first description window shows its topic once the contents are open.
        ASSERT_TRUE(lauf.warteAuf([&] { return support::holdsLock(lauf.pid(), inhalte + "-shm"); }))
            << support::readFile(dir / "ausgabe.txt");
        lauf.signal(sig);
        EXPECT_TRUE(support::endeteDurch(lauf.ende(), sig)) << support::readFile(dir / "ausgabe.txt");
        for (const std::string& datei : {einstellungen, inhalte})
            for (const char* seite : {"-wal", "-shm"}) EXPECT_FALSE(fs::exists(datei + seite)) << datei + seite;
        EXPECT_EQ(support::readFile(dir / "Zuv50.ini"), ini);
    }
}

TEST_F(CodexTest, ACopiedInstallationReadsItsOwnFolderWhereverItsIniFilePoints) {
    inhalt();
    const fs::path andere = support::installationAnlegen("zuv-andere");
    for (const std::string& wert : {andere.string(), std::string("/gibt/es/nicht")}) {
        SCOPED_TRACE(wert);
        forms::resetAllWindows();
        resetGlobals();
        resetLeserZustand();
        db::DBEngine::instance().reset();
        support::writeFile(dir / "Zuv50.ini", "[ZUV]\r\nAppPath=" + wert + "\r\n");
        ASSERT_TRUE(starte());
        EXPECT_EQ(gAppPath, dir.string());
        EXPECT_EQ(fenster().size(), 1u);
        EXPECT_TRUE(h().messages().empty());
    }
    fs::remove_all(andere);
}

}  // namespace
