// Damaged metafiles: the reader checks a file whole when it loads it, so whatever bytes it is given
// it either refuses them as not readable (481) or gives a picture that draws without fault.

#include <gtest/gtest.h>

#include <iostream>

#include "platform/draw/metafile.h"
#include "platform/draw/metafile_writer.h"
#include "platform/vb/error.h"
#include "support/files.h"
#include "support/fuzz.h"

using draw::Metafile;
using draw::MetafileWriter;

namespace {

std::string bytesOf(const MetafileWriter& w) {
    const auto b = w.bytes();
    return std::string(b.begin(), b.end());
}

// A little-endian word as it stands in a record.
std::string word(uint16_t w) { return std::string{static_cast<char>(w & 0xFF), static_cast<char>(w >> 8)}; }

}  // namespace

TEST(MetafileFuzz, AnyBytesAreRefusedAsUnreadableOrDrawn) {
    std::vector<std::string> corpus;
    for (const char* farbe : {"blau", "bunt", "rot"})
        corpus.push_back(support::readFile(std::string(ZUV_DIST_DIR) + "/zuv_symb_" + farbe + ".wmf"));
    {
        MetafileWriter w(1000, 1000, 1000);
        const int stift = w.createPen(MetafileWriter::PenSolid, 20, 0xFF0000);
        const int pinsel = w.createBrush(MetafileWriter::BrushSolid, 0x00FF00);
        w.selectObject(stift);
        w.selectObject(pinsel);
        w.ellipse(100, 100, 900, 900);
        w.polygon({{500, 150}, {800, 700}, {200, 700}});
        w.polyline({{0, 999}, {500, 950}, {999, 999}});
        w.rectangle(20, 20, 80, 80);
        w.deleteObject(pinsel);
        corpus.push_back(bytesOf(w));
    }
    for (const auto& c : corpus) ASSERT_GT(c.size(), 22u);
    // Record functions the reader knows, sizes and counts at their limits.
    std::vector<std::string> woerter;
    for (uint16_t f : {0x0000, 0x0324, 0x0325, 0x0418, 0x041B, 0x02FA, 0x02FC, 0x02FB, 0x012D, 0x01F0, 0x0521, 0x0A32,
                       0x020B, 0x020C, 0x0214, 0x0213, 0x0102, 0x0209, 0x0538})
        woerter.push_back(word(f));
    using namespace std::string_literals;
    for (const std::string& grenze : {"\xFF\xFF"s, "\x00\x00"s, "\xFF\xFF\xFF\x7F"s, "\x00\x00\x00\x80"s,
                                      "\x03\x00\x00\x00"s, "\xD7\xCD\xC6\x9A"s, "\x01\x00\x09\x00\x00\x03"s})
        woerter.push_back(grenze);
    support::Mutator m(corpus, woerter, support::fuzzSeed() + 5);
    int gelesen = 0, abgewiesen = 0;
    const long ran = support::fuzz(m, support::fuzzRuns(1500), [&](const std::string& s) {
        try {
            const Metafile mf = Metafile::fromBytes(std::vector<uint8_t>(s.begin(), s.end()));
            const QImage bild = mf.toImage(QSize(48, 48));
            EXPECT_EQ(bild.size(), QSize(48, 48));
            ++gelesen;
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.number(), vb::err::InvalidPicture) << e.description();
            ++abgewiesen;
        }
    });
    EXPECT_GT(gelesen, 0);
    EXPECT_GT(abgewiesen, 0);
    std::cout << "fuzz: " << ran << " metafiles, " << gelesen << " drawn\n";
}
