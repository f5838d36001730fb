#include "platform/files/own_folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/files/file_io.h"
#include "platform/files/paths.h"
#include "support/files.h"
#include "support/konten.h"
#include "support/vb_error.h"

namespace fs = std::filesystem;

namespace {

using OwnFiles = support::TempFolderTest;

void schreiben(const std::string& pfad, const std::string& text) {
    files::FileReplacement f(pfad);
    f.write(text.data(), text.size());
    f.commit();
}

TEST_F(OwnFiles, ANewFileTakesTheUmasksPermissionsAndAReplacedOneKeepsItsOwn) {
    // A client's report under a private umask stays the user's; in a group folder the group may
    // write what a member makes.
    for (const auto& [maske, erwartet] : {std::pair{0077u, 0600u}, {0022u, 0644u}, {0002u, 0664u}}) {
        support::Umask u(maske);
        const std::string neu = path("neu-" + std::to_string(maske) + ".pdf");
        schreiben(neu, "%PDF");
        EXPECT_EQ(support::rechte(neu), erwartet) << "umask " << std::oct << maske;
        files::replaceFile(path("Zuv50-" + std::to_string(maske) + ".ini"), "[ZUV]");
        EXPECT_EQ(support::rechte(path("Zuv50-" + std::to_string(maske) + ".ini")), erwartet);
    }
    // Replaced, whether written anew or moved into place, a file keeps what it had.
    support::Umask u(0022);
    schreiben(path("bericht.pdf"), "alt");
    ::chmod(path("bericht.pdf").c_str(), 0640);
    schreiben(path("bericht.pdf"), "neu");
    EXPECT_EQ(support::rechte(path("bericht.pdf")), 0640u);
    std::ofstream(path("fertig")) << "neuer";
    ::chmod(path("fertig").c_str(), 0644);
    ::chmod(path("bericht.pdf").c_str(), 0660);
    files::moveIntoPlace(path("fertig"), path("bericht.pdf"), true);
    EXPECT_EQ(files::readFile(path("bericht.pdf")), "neuer");
    EXPECT_EQ(support::rechte(path("bericht.pdf")), 0660u);
}

TEST_F(OwnFiles, APrivateTemporaryFolderCannotBeTakenBeforehandAndLosesOnlyWhatItMade) {
    ::setenv("TMPDIR", m_dir.c_str(), 1);
    // Another account makes the folder of the name it expects first, open to all.
    const fs::path erwartet = m_dir / ("zuv-bericht-" + std::to_string(::getpid()));
    fs::create_directory(erwartet);
    ::chmod(erwartet.c_str(), 0777);
    const std::string ordner = files::makePrivateTempFolder("zuv-bericht-");
    const std::string zweiter = files::makePrivateTempFolder("zuv-bericht-");
    ::unsetenv("TMPDIR");
    EXPECT_NE(ordner, erwartet.string());
    EXPECT_NE(ordner, zweiter);
    EXPECT_EQ(fs::path(ordner).parent_path(), m_dir);
    EXPECT_EQ(support::rechte(ordner), 0700u);

    // Removed, the folder takes only the named files with it: whatever else stands in it stays.
    std::ofstream(ordner + "/Bericht.ZDB") << "Kopie";
    std::ofstream(ordner + "/notizen.txt") << "fremd";
    files::removePrivateTempFolder(ordner, {"Bericht.ZDB", "Bericht.ZDB-wal"});
    EXPECT_FALSE(fs::exists(ordner + "/Bericht.ZDB"));
    EXPECT_TRUE(fs::exists(ordner + "/notizen.txt"));
    fs::remove(ordner + "/notizen.txt");
    files::removePrivateTempFolder(ordner, {"Bericht.ZDB"});
    EXPECT_FALSE(fs::exists(ordner));

    // A link put in the folder's place leads nowhere: the user's own folder keeps its files.
    const fs::path eigen = m_dir / "eigen";
    fs::create_directory(eigen);
    std::ofstream(eigen / "Bericht.ZDB") << "Sicherung";
    fs::remove(zweiter);
    fs::create_directory_symlink(eigen, zweiter);
    files::removePrivateTempFolder(zweiter, {"Bericht.ZDB"});
    EXPECT_TRUE(fs::exists(eigen / "Bericht.ZDB"));
}

TEST_F(OwnFiles, WhatAKilledProgramLeftIsRemovedAtTheNextStartButNothingOfOthers) {
    ::setenv("TMPDIR", m_dir.c_str(), 1);
    // A process that has ended: its number is free now.
    const pid_t tot = support::forkChild();
    if (tot == 0) ::_exit(0);
    int status = 0;
    ::waitpid(tot, &status, 0);
    auto rest = [&](const std::string& name) {
        const fs::path o = m_dir / name;
        fs::create_directory(o);
        std::ofstream(o / "Bericht.ZDB") << "Kopie";
        return o;
    };
    const fs::path verlassen = rest("zuv-bericht-" + std::to_string(tot) + "-a1B2c3");
    const fs::path lebend = rest("zuv-bericht-" + std::to_string(::getppid()) + "-x9Y8z7");
    const fs::path fremderName = rest("zuv-berichte-" + std::to_string(tot) + "-q");
    fs::path fremd;
    support::Konto k;
    if (support::zweitesKonto(k).empty()) {
        fremd = rest("zuv-bericht-" + std::to_string(tot) + "-fremd1");
        ::chown(fremd.c_str(), k.uid, k.gid);
    }
    EXPECT_EQ(files::removeStalePrivateTempFolders("zuv-bericht-", {"Bericht.ZDB"}), 1);
    ::unsetenv("TMPDIR");
    EXPECT_FALSE(fs::exists(verlassen));
    EXPECT_TRUE(fs::exists(lebend / "Bericht.ZDB"));
    EXPECT_TRUE(fs::exists(fremderName / "Bericht.ZDB"));
    if (!fremd.empty()) {
        EXPECT_TRUE(fs::exists(fremd / "Bericht.ZDB")) << "another account's folder";
    }
}

TEST_F(OwnFiles, TheUsersOwnFoldersFollowTheDesktopsVariables) {
    ::setenv("XDG_CONFIG_HOME", path("konf").c_str(), 1);
    ::setenv("XDG_DATA_HOME", "relativ/daten", 1);  // not absolute: ignored, as the desktop's rules say
    const char* home = std::getenv("HOME");
    const std::string alteHeimat = home ? home : "";
    ::setenv("HOME", m_dir.c_str(), 1);
    EXPECT_EQ(files::userConfigFolder("zuv"), path("konf") + "/zuv");
    EXPECT_EQ(files::userDataFolder("zuv"), path(".local/share/zuv"));
    files::makeOwnFolder(files::userDataFolder("zuv"));
    EXPECT_EQ(support::rechte(path(".local/share/zuv")), 0700u);
    EXPECT_TRUE(files::folderWritable(path(".local/share/zuv")));
    EXPECT_FALSE(files::folderWritable(path("fehlt")));
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_DATA_HOME");
    if (home) ::setenv("HOME", alteHeimat.c_str(), 1);
    else ::unsetenv("HOME");
    std::ofstream(path("datei")) << "x";
    EXPECT_EQ(errorOf([&] { files::makeOwnFolder(path("datei/unter")); }), vb::err::FolderNotFound);
}

}  // namespace
