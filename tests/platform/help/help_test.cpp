#include "support/scripted_host.h"
#include "platform/help/help_file.h"
#include "platform/help/help_viewer.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <QFile>
#include <QToolButton>
#include <QTemporaryDir>

using forms::HostRecord;

namespace {

// Writes a help file the way the installation does.
void writeHelpFile(const std::string& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const char* sql =
        "CREATE TABLE topics(path TEXT PRIMARY KEY COLLATE NOCASE, title TEXT NOT NULL, html TEXT NOT NULL);"
        "INSERT INTO topics VALUES('html/start.htm','Willkommen','<h1>Start</h1><a href=\"zuvw45gu.htm\">Person</a>');"
        "INSERT INTO topics VALUES('html/zuvw45gu.htm','Personendaten',"
        "'<p>Daten</p><a href=\"../html/sub/teil.htm#oben\">Teil</a> <a href=\"https://example.org/\">Web</a>');"
        "INSERT INTO topics VALUES('html/sub/teil.htm','Teil','<p>Teil</p><a href=\"../start.htm\">Zurück</a>');";
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = dir.filePath("ZUVDESK.chm").toStdString();
        writeHelpFile(file);
    }
    QTemporaryDir dir;
    std::string file;
    forms::ScriptedHostGuard host;
};

TEST_F(HelpTest, TopicsAreFoundWithoutRegardToCaseAndLinksResolveInsideTheFile) {
    auto h = help::HelpFile::open(file);
    ASSERT_TRUE(h);
    ASSERT_TRUE(h->topic("HTML/ZUVW45GU.HTM"));
    EXPECT_EQ(h->topic("html/zuvw45gu.htm")->title, "Personendaten");
    EXPECT_EQ(h->topic("html\\zuvw45gu.htm#x")->path, "html/zuvw45gu.htm");
    EXPECT_FALSE(h->topic("html/fehlt.htm"));
    EXPECT_EQ(h->firstTopic()->path, "html/start.htm");

    EXPECT_EQ(help::HelpFile::resolveLink("html/start.htm", "zuvw45gu.htm"), "html/zuvw45gu.htm");
    EXPECT_EQ(help::HelpFile::resolveLink("html/zuvw45gu.htm", "../html/sub/teil.htm#oben"), "html/sub/teil.htm");
    EXPECT_EQ(help::HelpFile::resolveLink("html/sub/teil.htm", "../start.htm"), "html/start.htm");
    EXPECT_EQ(help::HelpFile::resolveLink("html/a.htm", "/html/b.htm"), "html/b.htm");
    EXPECT_EQ(help::HelpFile::resolveLink("html/a.htm", "#oben"), "html/a.htm");
}

TEST_F(HelpTest, ShowHelpGoesThroughTheHostAndMissingFilesOrTopicsGiveAGermanMessage) {
    // Another case of the file name, as the programs write it, still finds the file.
    help::showHelp(dir.filePath("zuvdesk.chm").toStdString(), "html/zuvw45gu.htm");
    const auto* rec = host->last(HostRecord::Kind::Help);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->text, file);
    EXPECT_EQ(rec->title, "html/zuvw45gu.htm");
    EXPECT_TRUE(host->messages().empty());

    help::showHelp(file, "html/fehlt.htm");
    help::showHelp(dir.filePath("ZUVTYP.chm").toStdString(), "");
    QFile bad(dir.filePath("kaputt.chm"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("keine Datenbank, sondern Text, der lang genug ist, um wie eine Datei auszusehen");
    bad.close();
    help::showHelp(dir.filePath("kaputt.chm").toStdString(), "");
    ASSERT_EQ(host->messages().size(), 3u);
    EXPECT_NE(host->messages()[0].find("nicht vorhanden"), std::string::npos);
    EXPECT_NE(host->messages()[1].find("nicht gefunden"), std::string::npos);
    EXPECT_NE(host->messages()[2].find("keine gültige Hilfedatei"), std::string::npos);
    EXPECT_EQ(host->records(HostRecord::Kind::Help).size(), 1u);
}

TEST_F(HelpTest, ViewerFollowsLinksBetweenTopicsAndSendsWebLinksToTheBrowser) {
    help::HelpViewer v;
    ASSERT_TRUE(v.showTopic(file, ""));
    EXPECT_EQ(v.currentTopic(), "html/start.htm");
    EXPECT_EQ(v.windowTitle(), "Willkommen");
    ASSERT_TRUE(v.followLink("zuvw45gu.htm"));
    EXPECT_NE(v.shownHtml().find("Daten"), std::string::npos);
    emit v.browser()->anchorClicked(QUrl("https://example.org/"));
    EXPECT_EQ(v.currentTopic(), "html/zuvw45gu.htm");
    ASSERT_NE(host->last(HostRecord::Kind::Url), nullptr);
    emit v.browser()->anchorClicked(QUrl("../html/sub/teil.htm#oben"));
    EXPECT_EQ(v.currentTopic(), "html/sub/teil.htm");

    EXPECT_FALSE(v.followLink("fehlt.htm"));
    EXPECT_NE(v.shownHtml().find("nicht vorhanden"), std::string::npos);
    EXPECT_FALSE(v.showTopic(dir.filePath("fehlt.chm").toStdString(), "html/start.htm"));
    EXPECT_NE(v.shownHtml().find("nicht gefunden"), std::string::npos);
}

// Back, forward and the start page, as a help viewer has them: the buttons walk the topics
// shown and are usable only where there is somewhere to go.
TEST_F(HelpTest, ViewerGoesBackAndForwardAndToTheStartPage) {
    help::HelpViewer v;
    EXPECT_FALSE(v.backButton()->isEnabled());
    EXPECT_FALSE(v.homeButton()->isEnabled());
    ASSERT_TRUE(v.showTopic(file, "html/zuvw45gu.htm"));
    EXPECT_FALSE(v.backButton()->isEnabled());
    EXPECT_TRUE(v.homeButton()->isEnabled());
    emit v.browser()->anchorClicked(QUrl("../html/sub/teil.htm#oben"));
    ASSERT_EQ(v.currentTopic(), "html/sub/teil.htm");
    EXPECT_TRUE(v.backButton()->isEnabled());
    EXPECT_FALSE(v.forwardButton()->isEnabled());

    v.backButton()->click();
    EXPECT_EQ(v.currentTopic(), "html/zuvw45gu.htm");
    EXPECT_NE(v.shownHtml().find("Daten"), std::string::npos);
    EXPECT_FALSE(v.backButton()->isEnabled());
    EXPECT_TRUE(v.forwardButton()->isEnabled());
    v.forwardButton()->click();
    EXPECT_EQ(v.currentTopic(), "html/sub/teil.htm");
    EXPECT_EQ(v.windowTitle(), "Teil");

    v.homeButton()->click();
    EXPECT_EQ(v.currentTopic(), "html/start.htm");
    EXPECT_TRUE(v.back());
    EXPECT_EQ(v.currentTopic(), "html/sub/teil.htm");
    // A link followed from an earlier topic drops the topics that lay ahead.
    EXPECT_TRUE(v.back());
    ASSERT_TRUE(v.followLink("../html/sub/teil.htm"));
    EXPECT_FALSE(v.canGoForward());
    // A topic that is missing is shown as a message; back leads to the topic of the link.
    EXPECT_FALSE(v.followLink("fehlt.htm"));
    EXPECT_NE(v.shownHtml().find("nicht vorhanden"), std::string::npos);
    EXPECT_TRUE(v.back());
    EXPECT_EQ(v.currentTopic(), "html/sub/teil.htm");
    EXPECT_NE(v.shownHtml().find("Teil"), std::string::npos);
    EXPECT_TRUE(v.back());
    EXPECT_EQ(v.currentTopic(), "html/zuvw45gu.htm");
    EXPECT_FALSE(v.canGoBack());
    EXPECT_FALSE(v.back());
}

TEST_F(HelpTest, TheRealHostOpensOneViewerAtTheTopic) {
    forms::QtHost real;
    real.showHelp(file, "html/zuvw45gu.htm");
    help::HelpViewer* v = help::currentViewer();
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->currentTopic(), "html/zuvw45gu.htm");
    real.showHelp(file, "");  // the same window, at the start page
    EXPECT_EQ(help::currentViewer(), v);
    EXPECT_EQ(v->currentTopic(), "html/start.htm");
    v->close();
}

}  // namespace
