// A backup restored over a data file beside the log a killed session left: the program names the
// log, sets it aside only on the user's word, and otherwise leaves file and log as they were.

#include "frame_fixture.h"
#include "support/leftover_log.h"

using namespace frame_test;

namespace {

class FremdesProtokoll : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        datei = datenDatei("R7.ZDB", 2);
        fs::copy_file(datei, pfad("Sicherung.ZDB"));
        {
            EngineEinstellen(dir.string());
            auto ws = db::DBEngine::instance().CreateWorkspace(kWorkspaceName, kBenutzer, kKennwort);
            auto d = ws->OpenDatabase(datei);
            personenAnlegen(*d, 10, 3);
            d->Close();
            db::DBEngine::instance().reset();
        }
        support::leaveSessionLog(datei, 20);
        fs::rename(pfad("Sicherung.ZDB"), datei);
        ASSERT_TRUE(starte());
        ASSERT_FALSE(gDateiOffen);
        h().clearRecords();
    }
    std::string inhalt(const std::string& name) { return fs::exists(name) ? support::readFile(name) : "(fehlt)"; }
    std::string datei;
};

TEST_F(FremdesProtokoll, OhneZustimmungBleibtAllesWieEsWar) {
    const std::string vorher = inhalt(datei) + inhalt(datei + "-wal") + inhalt(datei + "-shm");
    h().answer(forms::vbNo);
    bool abbruch = false;
    mdi().OpenLocalDB(datei, abbruch);
    EXPECT_TRUE(abbruch);
    EXPECT_FALSE(gDateiOffen);
    ASSERT_EQ(h().messages().size(), 1u);
    EXPECT_NE(h().messages()[0].find("„R7.ZDB-wal“"), std::string::npos) << h().messages()[0];
    EXPECT_NE(h().messages()[0].find(DialogTxt(161)), std::string::npos);
    EXPECT_TRUE(inhalt(datei) + inhalt(datei + "-wal") + inhalt(datei + "-shm") == vorher);
}

TEST_F(FremdesProtokoll, MitZustimmungBeiseitegelegtUndDieSicherungGeoeffnet) {
    const std::string protokoll = inhalt(datei + "-wal");
    h().answer(forms::vbYes);
    bool abbruch = false;
    mdi().OpenLocalDB(datei, abbruch);
    EXPECT_FALSE(abbruch);
    ASSERT_TRUE(gDateiOffen);
    EXPECT_EQ(h().messages().size(), 1u);
    EXPECT_EQ(zahl(*gDatenbank, "select count(*) from persdat"), 2);
    // The log is kept whole under its new name.
    int beiseite = 0;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().rfind("R7.ZDB-wal.", 0) == 0) {
            ++beiseite;
            EXPECT_TRUE(support::readFile(e.path()) == protokoll);
        }
    EXPECT_EQ(beiseite, 1);
    mdi().mnuClose_Click();
    EXPECT_EQ(support::run("sqlite3 " + support::shellQuote(datei) + " 'pragma integrity_check'").output, "ok\n");
}

}  // namespace
