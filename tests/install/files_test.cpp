#include <set>

#include "platform/draw/metafile.h"
#include "platform/help/help_file.h"
#include "platform/vb/ascii.h"
#include "platform/vb/codepage.h"
#include "tests/install/dist_support.h"

using namespace install_test;

namespace {

class InstallationFolder : public DistFolder {
protected:
    void SetUp() override { ASSERT_EQ(toolRun().status, 0) << toolRun().output; }
};

TEST_F(InstallationFolder, IniNamesTheFolderTheToolWasGiven) {
    std::string ini = readFile(file("Zuv50.ini"));
    std::string dir = fs::absolute(folder()).string();
    EXPECT_EQ(ini, "[ZUV]\r\nAppPath=" + dir + "\r\n[Options]\r\nSystemDB=" + dir + "/Sys.mda\r\n");
    EXPECT_EQ(ini.find("[File"), std::string::npos);

    // A relative target is written as the absolute path it stands for.
    fs::path base = makeTempDir("zuv-rel");
    auto r = run("cd " + shellQuote(base.string()) + " && " + shellQuote(toolPath()) + " " + shellQuote(sourceDir()) +
                 " neu");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(readFile(base / "neu" / "Zuv50.ini").find("AppPath=" + (base / "neu").string() + "\r\n"),
              std::string::npos);
    fs::remove_all(base);
}

TEST_F(InstallationFolder, SymbolPicturesAreMetafilesAnOutsideReaderDraws) {
    const std::vector<std::string> colours = {"blau",  "gelb", "bunt",     "orange", "violett",
                                              "braun", "rot",  "hellgrün", "grün"};
    std::set<std::string> contents;
    for (auto& c : colours) {
        SCOPED_TRACE(c);
        fs::path wmf = file("zuv_symb_" + c + ".wmf");
        ASSERT_TRUE(fs::exists(wmf));
        std::string bytes = readFile(wmf);
        ASSERT_GE(bytes.size(), 22u);
        EXPECT_EQ(bytes.substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4));  // placeable header
        contents.insert(bytes);
        fs::path svg = folder().parent_path() / ("symb-" + std::to_string(contents.size()) + ".svg");
        auto r = run("wmf2svg -o " + shellQuote(svg.string()) + " " + shellQuote(wmf.string()));
        EXPECT_EQ(r.status, 0) << r.output;
        std::string drawing = readFile(svg);
        // The circle and nine points, and the lines of triangle and hexad.
        std::size_t ellipses = 0;
        for (auto p = drawing.find("<ellipse"); p != std::string::npos; p = drawing.find("<ellipse", p + 1)) ++ellipses;
        EXPECT_EQ(ellipses, 10u);
        std::size_t lines = 0;
        for (auto p = drawing.find("<line"); p != std::string::npos; p = drawing.find("<line", p + 1)) ++lines;
        // 3 of the triangle and 6 of the hexad, nothing else: the enneagram window writes the type
        // names itself, and digits of the picture would stand under its bars.
        EXPECT_EQ(lines, 9u);

        // Our own player fills the enneagram window's square frame with it.
        auto picture = draw::Metafile::load(wmf.string());
        EXPECT_NEAR(picture.widthTwips(), 4932, 15);
        EXPECT_NEAR(picture.heightTwips(), 4932, 15);
        QImage image = picture.toImage(QSize(200, 200));
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) inked += image.pixelColor(x, y) != QColor(Qt::white);
        EXPECT_GT(inked, 400);
    }
    EXPECT_EQ(contents.size(), colours.size());  // each colour its own picture

    for (const char* bmp : {"zuv_symb_druckkopf.bmp", "zuv_splash.bmp"}) {
        auto r = run("identify -format '%m %w' " + shellQuote(file(bmp).string()));
        EXPECT_EQ(r.output.substr(0, 3), "BMP") << bmp << ": " << r.output;
    }
}

TEST_F(InstallationFolder, IntroductionIsInTheDosCodePage) {
    std::string bytes = readFile(file("zuvinfo.txt"));
    auto r = run("iconv -f CP850 -t UTF-8 " + shellQuote(file("zuvinfo.txt").string()));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("EINFÜHRUNG"), std::string::npos);
    EXPECT_EQ(r.output, vb::dosUmlautsToUtf8(bytes));  // what the program shows is what iconv reads
    EXPECT_NE(bytes.find('\x81'), std::string::npos);  // ü as DOS writes it
    // Every line ends in CR LF; no bare line feed.
    for (std::size_t p = bytes.find('\n'); p != std::string::npos; p = bytes.find('\n', p + 1))
        ASSERT_TRUE(p > 0 && bytes[p - 1] == '\r') << "at byte " << p;
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    // It says what the enneagram is, how to rate, how long the test takes and how to go on with
    // it from any statement.
    for (const char* topic :
         {"Enneagramm", "0 = trifft", "4 = trifft voll zu", "109 Aussagen", "Minuten", "\"Test wiederholen ab ...\""})
        EXPECT_NE(r.output.find(topic), std::string::npos) << topic;
}

TEST_F(InstallationFolder, HelpFilesHoldEveryTopicTheProgramsOpen) {
    const std::vector<std::string> desk = {"html/index.htm",    "html/zuvw45gu.htm", "html/zuvw33qm.htm",
                                           "html/zuvw65wj.htm", "html/zuvw65wo.htm", "html/zuvw06t0.htm",
                                           "html/zuvw0sqc.htm", "html/zuvw1agb.htm", "html/zuvw4hr9.htm",
                                           "html/zuvw33xp.htm", "html/zuvw4zms.htm", "html/zuvw3mpa.htm"};
    const std::vector<std::string> reader = {"html/index.htm", "html/zuvt3m08.htm", "html/zuvt33qm.htm"};
    for (auto& [name, topics] : {std::pair{"ZUVDESK.chm", desk}, std::pair{"ZUVTYP.chm", reader}}) {
        SCOPED_TRACE(name);
        for (auto& t : topics) {
            const std::string upper = vb::ascii::upper(t);
            // Looked up without regard to case, as the file system of the old help did.
            auto row = sqlValue(name, "SELECT title || '|' || length(html) FROM topics WHERE path = '" + upper + "'");
            EXPECT_NE(row, "<no row>") << t;
        }
        EXPECT_EQ(sqlValue(name, "SELECT count(*) FROM topics WHERE html NOT LIKE '<html>%</html>' || char(10)"), "0");
        // The viewer opens the first stored topic when a program asks for no topic.
        EXPECT_EQ(sqlValue(name, "SELECT path FROM topics ORDER BY rowid LIMIT 1"), "html/index.htm");

        // Every link of every topic leads to a topic of the same file, as the viewer resolves it.
        std::string error;
        auto help = help::HelpFile::open(file(name).string(), &error);
        ASSERT_TRUE(help) << error;
        ASSERT_TRUE(help->firstTopic());
        EXPECT_EQ(help->firstTopic()->path, "html/index.htm");
        for (auto& path : sql(name, "SELECT path FROM topics")) {
            auto topic = help->topic(path);
            ASSERT_TRUE(topic) << path;
            for (auto p = topic->html.find("href=\""); p != std::string::npos; p = topic->html.find("href=\"", p + 1)) {
                std::string link = topic->html.substr(p + 6, topic->html.find('"', p + 6) - p - 6);
                EXPECT_TRUE(help->topic(help::HelpFile::resolveLink(path, link))) << path << " -> " << link;
            }
        }
    }
}

TEST_F(InstallationFolder, BrokenSourceStopsTheToolWithTheLineNamed) {
    fs::path base = makeTempDir("zuv-bad");
    fs::copy(sourceDir(), base / "src", fs::copy_options::recursive);
    // Drop one position: every later text would shift by one.
    std::string labels = readFile(base / "src/texts/labelTxt.txt");
    auto at = labels.find("\n100\t");
    ASSERT_NE(at, std::string::npos);
    labels.erase(at + 1, labels.find('\n', at + 1) - at);
    std::ofstream(base / "src/texts/labelTxt.txt", std::ios::binary | std::ios::trunc) << labels;

    auto r = run(shellQuote(toolPath()) + " " + shellQuote((base / "src").string()) + " " +
                 shellQuote((base / "out").string()));
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("labelTxt.txt:"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("position 101 where 100 was expected"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(base / "out" / "zuv.sdb"));
    fs::remove_all(base);
}

}  // namespace
