// A disk that fails a read while the program reads its databases: each read of the start (the
// workgroup file, the settings database and its texts, the data file opened last) and of opening a
// data file is failed in turn. A failed step names the disk's error and the file it could not read,
// never a damaged file or one of another kind, and leaves every file as it was; the next attempt
// succeeds.

#include <QCryptographicHash>
#include <cstring>
#include <map>

#include "desk/frame/frame_fixture.h"
#include "support/disk_faults.h"

using namespace frame_test;

namespace {

using support::DiskFaults;

class Lesefehler : public FrameTest {
protected:
    void SetUp() override {
        DiskFaults::install();
        FrameTest::SetUp();
    }
    void TearDown() override {
        DiskFaults::off();
        FrameTest::TearDown();
    }

    // The program ended as the fixture ends it, so that the next start begins from nothing.
    void beenden() {
        forms::resetAllWindows();
        resetGlobals();
        host.reset();
        db::DBEngine::instance().releaseAll();
        db::DBEngine::instance().reset();
        host = std::make_unique<forms::ScriptedHostGuard>();
    }

    // Every database file of the installation and its data folder, byte for byte (by its digest),
    // and every log beside one that holds anything. (SQLite leaves the empty log of a file in the
    // log's mode that it opened but was not let merge into the file.)
    std::map<std::string, std::string> dateien() const {
        std::map<std::string, std::string> inhalt;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            if (name.ends_with("-wal") && fs::file_size(e.path()) == 0) continue;
            for (const char* endung : {".sdb", ".mda", ".ZDB", ".ZDB-wal", ".sdb-wal"})
                if (name.ends_with(endung))
                    inhalt[name] = QCryptographicHash::hash(QByteArray::fromStdString(support::readFile(e.path())),
                                                            QCryptographicHash::Sha256)
                                       .toHex()
                                       .toStdString();
        }
        return inhalt;
    }

    // What a message that names a failed read must say: the disk's error and the file.
    static void nenntDenLesefehler(const std::string& meldung, const std::string& datei) {
        EXPECT_NE(meldung.find("Datenträger- oder Netzwerkfehler"), std::string::npos) << meldung;
        EXPECT_NE(meldung.find("3043"), std::string::npos) << meldung;
        EXPECT_EQ(meldung.find("3343"), std::string::npos) << meldung;
        EXPECT_EQ(meldung.find("beschädigt"), std::string::npos) << meldung;
        // The log, journal or index beside a file is named by the file.
        std::string grund = datei;
        for (const char* seite : {"-wal", "-shm", "-journal"})
            if (grund.ends_with(seite)) grund.resize(grund.size() - std::strlen(seite));
        EXPECT_NE(meldung.find(grund), std::string::npos) << datei << "\n" << meldung;
    }
};

TEST_F(Lesefehler, AReadTheDiskFailsAtTheStartStopsItWithTheDisksErrorNamingTheFile) {
    const std::string daten = datenDatei("Kartei.ZDB", 3);
    zuletztGeoeffnet(daten);
    const auto vorher = dateien();
    DiskFaults::countReads();
    ASSERT_TRUE(starte());
    const long anzahl = DiskFaults::readsCounted();
    DiskFaults::off();
    ASSERT_TRUE(gDateiOffen);
    ASSERT_GT(anzahl, 0);
    beenden();
    ASSERT_EQ(dateien(), vorher) << "a start without faults changes the files";
    int gescheitert = 0;
    int datendatei = 0;
    for (long n = 1; n <= anzahl; ++n) {
        SCOPED_TRACE("read " + std::to_string(n) + " of " + std::to_string(anzahl));
        DiskFaults::failReadAt(n);
        const bool gestartet = starte();
        DiskFaults::off();
        const std::string datei = DiskFaults::failedReadFile();
        const auto meldungen = h().messages();
        if (!DiskFaults::readHit()) {
            EXPECT_TRUE(gestartet);
        } else if (!gestartet) {
            // The start stops at the workgroup file, the settings database or its texts.
            ++gescheitert;
            ASSERT_EQ(meldungen.size(), 1u);
            EXPECT_NE(meldungen[0].find("kann nicht gestartet werden"), std::string::npos) << meldungen[0];
            nenntDenLesefehler(meldungen[0], datei);
        } else if (!gDateiOffen) {
            // The data file opened last could not be read: the program starts without it.
            ++datendatei;
            ASSERT_EQ(meldungen.size(), 1u);
            nenntDenLesefehler(meldungen[0], datei);
            EXPECT_NE(datei.find("Kartei.ZDB"), std::string::npos) << datei;
        } else {
            // A read SQLite or the program does not depend on (the randomness SQLite reads).
            for (const auto& m : meldungen) ADD_FAILURE() << datei << "\n" << m;
        }
        beenden();
        EXPECT_EQ(dateien(), vorher) << datei;
        if (HasFailure()) return;
    }
    EXPECT_GT(gescheitert, 0);
    EXPECT_GT(datendatei, 0);
    // And the next start, without a fault, opens the data file again.
    ASSERT_TRUE(starte());
    EXPECT_TRUE(gDateiOffen);
    EXPECT_TRUE(h().messages().empty());
}

TEST_F(Lesefehler, AReadTheDiskFailsWhileOpeningADataFileNamesTheDisksErrorAndTheFile) {
    const std::string daten = datenDatei("Kartei.ZDB", 3);
    ASSERT_TRUE(starte());
    auto oeffnen = [&] {
        if (gDateiOffen) mdi().mnuClose_Click();
        db::DBEngine::instance().releaseFile(daten);
        h().clearRecords();
        h().chooseFile(daten);
        mdi().mnuOpen_Click();
    };
    const auto vorher = dateien();
    DiskFaults::countReads();
    oeffnen();
    const long anzahl = DiskFaults::readsCounted();
    DiskFaults::off();
    ASSERT_TRUE(gDateiOffen);
    ASSERT_GT(anzahl, 0);
    int gescheitert = 0;
    for (long n = 1; n <= anzahl; ++n) {
        SCOPED_TRACE("read " + std::to_string(n) + " of " + std::to_string(anzahl));
        mdi().mnuClose_Click();
        DiskFaults::failReadAt(n);
        oeffnen();
        DiskFaults::off();
        const std::string datei = DiskFaults::failedReadFile();
        const auto meldungen = h().messages();
        if (!gDateiOffen) {
            ++gescheitert;
            ASSERT_EQ(meldungen.size(), 1u);
            nenntDenLesefehler(meldungen[0], datei);
            EXPECT_TRUE(files::samePath(datei.substr(0, daten.size()), daten)) << datei;
        } else {
            EXPECT_TRUE(meldungen.empty()) << datei << "\n" << meldungen[0];
        }
        EXPECT_EQ(dateien(), vorher) << datei;
        if (HasFailure()) return;
    }
    EXPECT_GT(gescheitert, 0);
    oeffnen();
    EXPECT_TRUE(gDateiOffen);
    EXPECT_TRUE(h().messages().empty());
}

// The texts read from the settings database itself: a connection the start left open holds every
// page it checked, so here none is open and the loading reads the file.
TEST_F(Lesefehler, AReadTheDiskFailsWhileTheTextsAreLoadedIsTheDisksErrorNamingTheSettingsDatabase) {
    ASSERT_TRUE(starte());
    const std::string einstellungen = files::resolve(gProgrammDB);
    const size_t texte = gMenuTxt.size() + gLabelTxt.size() + gDialogTxt.size();
    ASSERT_GT(texte, 0u);
    const auto vorher = dateien();
    auto laden = [&](long n) {
        db::DBEngine::instance().releaseFile(einstellungen);
        if (n) DiskFaults::failReadAt(n);
        else DiskFaults::countReads();
        std::string warum;
        try {
            LoadUiTexts();
        } catch (const vb::Error& e) {
            warum = "Fehlernummer: " + std::to_string(e.number()) + "\n" + e.description();
        }
        DiskFaults::off();
        return warum;
    };
    ASSERT_EQ(laden(0), "");
    const long anzahl = DiskFaults::readsCounted();
    ASSERT_GT(anzahl, 0);
    int gescheitert = 0;
    for (long n = 1; n <= anzahl; ++n) {
        SCOPED_TRACE("read " + std::to_string(n) + " of " + std::to_string(anzahl));
        const std::string warum = laden(n);
        const std::string datei = DiskFaults::failedReadFile();
        if (!warum.empty()) {
            ++gescheitert;
            nenntDenLesefehler(warum, datei);
            EXPECT_TRUE(files::samePath(datei.substr(0, einstellungen.size()), einstellungen)) << datei;
        } else {
            EXPECT_EQ(gMenuTxt.size() + gLabelTxt.size() + gDialogTxt.size(), texte) << datei;
        }
        EXPECT_EQ(dateien(), vorher) << datei;
        if (HasFailure()) return;
    }
    EXPECT_GT(gescheitert, 0);
    EXPECT_EQ(laden(0), "");
    EXPECT_EQ(gMenuTxt.size() + gLabelTxt.size() + gDialogTxt.size(), texte);
}

}  // namespace
