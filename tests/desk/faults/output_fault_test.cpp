// The files the program writes besides its databases (a printout into a PDF file, a picture, a
// metafile, a text written line by line) under a full or failing disk: each write and sync in turn
// fails. The failure is raised with the cause and the file's name, and no truncated file stands
// under the name: a file that stood there before is as it was, and no temporary file is left.

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/draw/metafile_writer.h"
#include "platform/draw/picture.h"
#include "platform/draw/printer.h"
#include "platform/files/file_io.h"
#include "platform/files/paths.h"
#include "platform/vb/error.h"
#include "support/disk_faults.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;
using support::DiskFaults;

// The file's bytes, without the moment a PDF file says it was made.
std::string bytesOf(const fs::path& p) {
    std::string b = support::readFile(p);
    const size_t at = b.find("/CreationDate (");
    if (at != std::string::npos) b.erase(at, b.find(')', at) - at);
    return b;
}

class Ausgabedateien : public ::testing::Test {
protected:
    void SetUp() override {
        DiskFaults::install();
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { DiskFaults::off(); }

    std::string pfad(const std::string& name) const { return (fs::path(m_dir.path().toStdString()) / name).string(); }

    // Runs `schreiben` once to count its writes and syncs, then with each of them failing. The
    // file under `ziel` holds a document of the day before throughout: after a failure it is
    // unchanged, after a success it is the new one, and beside it stands nothing else.
    void durchlaufe(const std::string& ziel, const std::function<void()>& schreiben) {
        const std::string alt = "der Stand von gestern";
        auto vorher = [&] { std::ofstream(ziel, std::ios::binary | std::ios::trunc) << alt; };
        vorher();
        DiskFaults::count();
        schreiben();
        const long anzahl = DiskFaults::counted();
        DiskFaults::off();
        ASSERT_GT(anzahl, 0);
        const std::string neu = bytesOf(ziel);
        ASSERT_NE(neu, alt);
        for (const int fehler : {ENOSPC, EIO}) {
            int fehlgeschlagen = 0;
            for (long n = 1; n <= anzahl; ++n) {
                SCOPED_TRACE((fehler == ENOSPC ? "ENOSPC at " : "EIO at ") + std::to_string(n) + " of " +
                             std::to_string(anzahl));
                vorher();
                DiskFaults::failAt(n, fehler);
                int nummer = 0;
                std::string warum;
                try {
                    schreiben();
                } catch (const vb::Error& e) {
                    nummer = e.number();
                    warum = e.description();
                }
                DiskFaults::off();
                std::vector<std::string> namen;
                for (const auto& e : fs::directory_iterator(m_dir.path().toStdString()))
                    namen.push_back(e.path().filename().string());
                EXPECT_EQ(namen, std::vector<std::string>{fs::path(ziel).filename().string()});
                if (nummer == 0) {
                    EXPECT_EQ(bytesOf(ziel), neu);
                    continue;
                }
                ++fehlgeschlagen;
                EXPECT_EQ(nummer, fehler == ENOSPC ? vb::err::DiskFull : vb::err::DeviceIOError) << warum;
                EXPECT_NE(warum.find(fehler == ENOSPC ? "Datenträger voll" : "Fehler beim Lesen oder Schreiben"),
                          std::string::npos)
                    << warum;
                EXPECT_NE(warum.find(ziel), std::string::npos) << warum;
                EXPECT_EQ(bytesOf(ziel), alt);
                if (HasFailure()) return;
            }
            EXPECT_EQ(fehlgeschlagen, anzahl);
        }
        // And the next attempt writes the whole file.
        schreiben();
        EXPECT_EQ(bytesOf(ziel), neu);
    }

    QTemporaryDir m_dir;
};

TEST_F(Ausgabedateien, APrintoutIntoAPdfFile) {
    const std::string ziel = pfad("Ausdruck.pdf");
    draw::Printer drucker;
    int lauf = 0;
    durchlaufe(ziel, [&] {
        // Each run the file anew under its own name, not the next number beside it.
        drucker.setOutputFileName(ziel);
        try {
            drucker.Print({"Seite eins"});
            drucker.NewPage();
            drucker.Print({"Seite zwei"});
            drucker.EndDoc();
        } catch (...) {
            if (drucker.busy()) drucker.KillDoc();
            throw;
        }
        ++lauf;
        EXPECT_EQ(drucker.writtenFiles(), std::vector<std::string>{ziel});
    });
    EXPECT_GT(lauf, 1);
    std::string info = support::run("pdfinfo " + support::shellQuote(ziel)).output;
    info.erase(std::remove(info.begin(), info.end(), ' '), info.end());
    EXPECT_NE(info.find("Pages:2\n"), std::string::npos) << info;
}

TEST_F(Ausgabedateien, APictureAndAMetafile) {
    QImage bild(40, 30, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    durchlaufe(pfad("Diagramm.bmp"), [&] { draw::SavePicture(draw::Picture::fromImage(bild), pfad("Diagramm.bmp")); });
    EXPECT_EQ(QImage(QString::fromStdString(pfad("Diagramm.bmp"))).size(), QSize(40, 30));
    fs::remove(pfad("Diagramm.bmp"));
    draw::MetafileWriter w(100, 100, 96);
    w.ellipse(10, 10, 90, 90);
    durchlaufe(pfad("Symbol.wmf"), [&] { w.save(pfad("Symbol.wmf")); });
}

// Print # writes into the file under its name as it goes (Open For Output empties it at once);
// a full or failing disk is told at the line or at Close, never passed over.
TEST_F(Ausgabedateien, TextWrittenLineByLineTellsTheDisksFault) {
    const std::string ziel = pfad("Liste.txt");
    auto schreiben = [&] {
        files::Open(ziel, files::OpenMode::Output, 1);
        try {
            files::Print(1, "erste Zeile");
            files::Print(1, "zweite Zeile");
            files::Close(1);
        } catch (...) {
            files::CloseAll();
            throw;
        }
    };
    DiskFaults::count();
    schreiben();
    const long anzahl = DiskFaults::counted();
    DiskFaults::off();
    ASSERT_GE(anzahl, 3);  // two lines and the sync at Close
    for (const int fehler : {ENOSPC, EIO}) {
        for (long n = 1; n <= anzahl; ++n) {
            SCOPED_TRACE(std::to_string(n) + (fehler == ENOSPC ? " ENOSPC" : " EIO"));
            DiskFaults::failAt(n, fehler);
            int nummer = 0;
            try {
                schreiben();
            } catch (const vb::Error& e) {
                nummer = e.number();
            }
            DiskFaults::off();
            EXPECT_EQ(nummer, fehler == ENOSPC ? vb::err::DiskFull : vb::err::DeviceIOError);
        }
    }
    schreiben();
    EXPECT_EQ(bytesOf(ziel), "erste Zeile\r\nzweite Zeile\r\n");
}

}  // namespace
