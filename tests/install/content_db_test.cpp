#include <map>
#include <regex>
#include <set>

#include "tests/install/dist_support.h"

#include "platform/db/data_control.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/draw/printer.h"
#include "platform/forms/rich_text_box.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"

using namespace install_test;

namespace {

// One row of the stored query as the print engine walks it.
struct Text {
    int topic;  // position in the topic list
    std::string title;
    int type;
    std::string content;
};

// The reader's content database, opened through the engine with the workgroup login as the
// reader opens it; the rows are read once for all checks.
class ContentDatabase : public DistFolder {
protected:
    static void SetUpTestSuite() {
        DistFolder::SetUpTestSuite();
        if (toolRun().status != 0) return;
        login();
        db::DataControl list;
        bind(list, "thementitel");
        for (auto rs = list.Recordset(); !rs->Eof(); rs->MoveNext())
            titles().push_back(rs->Fields("Titel").Value().toString());
        list.close();
        for (int type = 1; type <= 9; ++type) {
            db::DataControl print;
            bind(print, printQuery(type));
            int position = 0;
            for (auto rs = print.Recordset(); !rs->Eof(); rs->MoveNext(), ++position)
                texts().push_back({position, rs->Fields("thementitel.titel").Value().toString(), type,
                                   rs->Fields("inhalt").Value().toString()});
            print.close();
        }
    }
    static void TearDownTestSuite() {
        db::DBEngine::instance().reset();
        DistFolder::TearDownTestSuite();
    }
    void SetUp() override {
        ASSERT_EQ(toolRun().status, 0) << toolRun().output;
        ASSERT_FALSE(titles().empty());
    }

    static void login() {
        auto& engine = db::DBEngine::instance();
        engine.reset();
        engine.setSystemDB(file("Sys.mda").string());
        engine.setDefaultUser("KestrelAdmin");
        engine.setDefaultPassword("MossGlade");
    }
    // A data control as the reader's windows bind theirs: the data folder, a backslash, the file.
    static void bind(db::DataControl& dc, const std::string& source) {
        dc.setDatabaseName(folder().string() + "\\zuv40typ.sdb");
        dc.setRecordSource(source);
        dc.Refresh();
    }
    // The print manager's query of a type, as it writes the type number.
    static std::string printQuery(int type) {
        return "select * from themenalleinfos where enneatypid = " + vb::Str(type) + " order by thema.thementitelid";
    }

    static std::vector<std::string>& titles() {
        static std::vector<std::string> t;
        return t;
    }
    static std::vector<Text>& texts() {
        static std::vector<Text> t;
        return t;
    }
};

// Code points of a UTF-8 text; -1 for a malformed sequence.
std::vector<long> codePoints(const std::string& s) {
    std::vector<long> out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = s[i];
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size() + (extra ? 0 : 1)) {
            out.push_back(-1);
            return out;
        }
        long cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const unsigned char d = s[i + k];
            if ((d & 0xC0) != 0x80) {
                out.push_back(-1);
                return out;
            }
            cp = (cp << 6) | (d & 0x3F);
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

// Printable in the Windows code page of the descriptions and breakable only at the blank: no
// control character, no non-breaking or soft hyphen, nothing a German text font lacks.
bool printable(long cp) {
    static const std::set<long> windows1252 = {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
                                               0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                               0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};
    return (cp >= 0x20 && cp <= 0x7E) || (cp >= 0xA1 && cp <= 0xFF && cp != 0xAD) || windows1252.count(cp) > 0;
}

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) return parts;
        start = at + separator.size();
    }
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::string word;
    for (char c : text + " ") {
        if (c == ' ' || c == '\r' || c == '\n') {
            if (!word.empty()) out.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return out;
}

TEST_F(ContentDatabase, HoldsTheTablesAndTheStoredQueryWithTheColumnsTheReaderReads) {
    // Made by the installation like the settings database, so the engine opens it as one of ours.
    EXPECT_EQ(sqlValue("zuv40typ.sdb", "PRAGMA application_id"), sqlValue("zuv.sdb", "PRAGMA application_id"));
    EXPECT_NE(sqlValue("zuv40typ.sdb", "PRAGMA application_id"), "0");

    // The stored query's columns in their order: the print engine reads them by these names, the
    // description window filters on "thementitel.titel", the print manager sorts on "thema.thementitelid".
    const std::vector<std::string> columns = {"thementitel.titel",
                                              "thema.thementitelid",
                                              "enneatypid",
                                              "Inhalt",
                                              "Autor",
                                              "Literatur.Titel",
                                              "Reihe",
                                              "Herausgeber",
                                              "Auflage",
                                              "Verlag",
                                              "Ort",
                                              "Jahr"};
    EXPECT_EQ(sql("zuv40typ.sdb", "SELECT name FROM pragma_table_info('themenalleinfos')"), columns);
    db::DataControl print;
    bind(print, printQuery(3));
    auto rs = print.Recordset();
    ASSERT_EQ(rs->FieldCount(), static_cast<int>(columns.size()));
    for (int i = 0; i < rs->FieldCount(); ++i) EXPECT_EQ(rs->Fields(i).Name(), columns[i]);
    print.close();

    // The types under the designations the settings database gives them in every naming scheme.
    const std::string designations =
        "SELECT typnummer, typbezeichnung, typbezeichnungZUVStandard, "
        "typbezeichnungOdrell, typbezeichnungTarvik, typbezeichnungQuimbly, "
        "typbezeichnungFenwarth FROM typ ORDER BY rowid";
    EXPECT_EQ(sql("zuv40typ.sdb", designations), sql("zuv.sdb", designations));
    EXPECT_EQ(sql("zuv40typ.sdb", "SELECT typnummer FROM typ ORDER BY rowid"),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST_F(ContentDatabase, EveryTopicHasExactlyOneTextForEveryTypeInTheOrderOfTheTopicList) {
    const int topics = static_cast<int>(titles().size());
    // The print manager preselects list positions up to 55 for its short and long print.
    EXPECT_GE(topics, 56);
    // Topic ids follow the stored order, so sorting by them gives the order of the list.
    std::vector<std::string> ids;
    for (int i = 1; i <= topics; ++i) ids.push_back(std::to_string(i));
    EXPECT_EQ(sql("zuv40typ.sdb", "SELECT thementitelid FROM thementitel ORDER BY rowid"), ids);
    EXPECT_EQ(std::set<std::string>(titles().begin(), titles().end()).size(), titles().size()) << "a title twice";

    EXPECT_EQ(sqlValue("zuv40typ.sdb", "SELECT count(*) FROM thema"), std::to_string(9 * topics));
    EXPECT_EQ(sqlValue("zuv40typ.sdb", "SELECT count(*) FROM (SELECT DISTINCT thementitelid, enneatypid FROM thema)"),
              std::to_string(9 * topics));
    EXPECT_EQ(sqlValue("zuv40typ.sdb",
                       "SELECT count(*) FROM thema WHERE enneatypid NOT BETWEEN 1 AND 9 OR "
                       "thementitelid NOT IN (SELECT thementitelid FROM thementitel)"),
              "0");
    // Row k of a type's print query is item k of the print manager's list.
    ASSERT_EQ(texts().size(), 9u * topics);
    for (const auto& t : texts()) EXPECT_EQ(t.title, titles()[t.topic]) << "type " << t.type << ", row " << t.topic;
    // No column the reader reads is Null.
    for (const char* column : {"\"thementitel.titel\"", "Inhalt", "Autor", "\"Literatur.Titel\"", "Reihe", "Herausgeber",
                               "Auflage", "Verlag", "Ort", "Jahr"})
        EXPECT_EQ(sqlValue("zuv40typ.sdb",
                           std::string("SELECT count(*) FROM themenalleinfos WHERE ") + column + " IS NULL"),
                  "0")
            << column;
    EXPECT_EQ(sqlValue("zuv40typ.sdb", "SELECT count(*) FROM themenalleinfos WHERE Autor = '' OR Inhalt = ''"), "0");
}

// The reader's texts, verbatim: the type found by number, the topic list as the description
// window and the print manager spell it, the topic of a type chosen by its title, and the print
// query of a dialog opened before any type was chosen (type 0), which holds no rows.
TEST_F(ContentDatabase, TheReadersQueriesRunUnchangedThroughTheEngine) {
    db::DataControl types, list;
    bind(types, "typ");
    types.Recordset()->FindFirst("typnummer = " + vb::Str(4));
    ASSERT_FALSE(types.Recordset()->NoMatch());
    EXPECT_EQ(types.Recordset()->Fields("typnummer").Value().toInt(), 4);
    bind(list, "thementitel");
    std::vector<std::string> shown;
    for (auto rs = list.Recordset(); !rs->Eof(); rs->MoveNext()) shown.push_back(rs->Fields("Titel").Value().toString());
    EXPECT_EQ(shown, titles());
    db::DataControl printList, noType;
    bind(printList, "Thementitel");
    std::vector<std::string> listed;
    for (auto rs = printList.Recordset(); !rs->Eof(); rs->MoveNext())
        listed.push_back(rs->Fields("Titel").Value().toString());
    EXPECT_EQ(listed, titles());
    bind(noType, printQuery(0));
    EXPECT_TRUE(noType.Recordset()->Eof());

    for (std::size_t i = 0; i < titles().size(); ++i) {
        const int type = static_cast<int>(i % 9) + 1;
        db::DataControl topic;
        bind(topic, "select * from themenalleinfos where thementitel.titel = '" + titles()[i] +
                        "' and enneatypid = " + vb::Str(type));
        auto rs = topic.Recordset();
        rs->MoveLast();
        ASSERT_EQ(rs->RecordCount(), 1) << titles()[i];
        rs->MoveFirst();
        EXPECT_EQ(rs->Fields("thementitel.titel").Value().toString(), titles()[i]);
        EXPECT_EQ(rs->Fields("enneatypid").Value().toInt(), type);
        for (const char* field :
             {"Inhalt", "Autor", "Literatur.Titel", "Reihe", "Herausgeber", "Auflage", "Verlag", "Ort", "Jahr"})
            EXPECT_FALSE(rs->Fields(field).Value().isNull()) << field;
        const auto& expected = texts()[(type - 1) * titles().size() + i];
        EXPECT_EQ(rs->Fields("Inhalt").Value().toString(), expected.content);
    }
}

// Written for each type, not one text with the type's name put in: after the type words are
// made alike, no two texts of a topic share a sentence of any length.
TEST_F(ContentDatabase, NoTwoTypesShareATextOrASentenceOfOneTopic) {
    static const std::regex typeWord(
        "\\b(Eins|Zwei|Drei|Vier|Fünf|Sechs|Sieben|Acht|Neun|Einser|Zweier|Dreier|Vierer|Fünfer|Sechser|Siebener|"
        "Achter|Neuner|[1-9])\\b");
    std::map<int, std::map<std::string, int>> sentences;  // topic -> sentence -> type that has it
    for (const auto& t : texts()) {
        const std::string neutral = std::regex_replace(t.content, typeWord, "#");
        for (auto& sentence : split(std::regex_replace(neutral, std::regex("([.!?])\\s+"), "$1\n"), "\n")) {
            if (words(sentence).size() < 6) continue;
            auto [at, added] = sentences[t.topic].emplace(sentence, t.type);
            EXPECT_TRUE(added) << t.title << ": types " << at->second << " and " << t.type << " share \"" << sentence
                               << "\"";
        }
    }
    for (std::size_t i = 0; i < texts().size(); ++i) {
        for (std::size_t j = i + 1; j < texts().size(); ++j) {
            if (texts()[i].topic == texts()[j].topic) {
                EXPECT_NE(texts()[i].content, texts()[j].content) << texts()[i].title;
            }
        }
    }
}

// The description window puts the text two line ends below the title and the print engine ends
// a line at each carriage return, swallowing the line feed behind it: paragraphs are separated
// by one empty line (CR LF CR LF) and nothing else breaks a line.
TEST_F(ContentDatabase, TextsAreParagraphsOfPrintableGermanThatTheWindowKeepsAsTheyAre) {
    std::set<long> umlauts;
    for (const auto& t : texts()) {
        SCOPED_TRACE(t.title + ", type " + std::to_string(t.type));
        const auto paragraphs = split(t.content, "\r\n\r\n");
        for (const auto& p : paragraphs) {
            EXPECT_FALSE(p.empty()) << "an empty paragraph or a line end at an end of the text";
            EXPECT_EQ(p.find_first_of("\r\n"), std::string::npos) << "a line break inside a paragraph";
            EXPECT_EQ(p.find("  "), std::string::npos) << "two blanks";
            if (!p.empty()) {
                EXPECT_NE(p.front(), ' ');
                EXPECT_NE(p.back(), ' ');
            }
        }
        for (long cp : codePoints(t.content)) {
            EXPECT_TRUE(cp == '\r' || cp == '\n' || printable(cp)) << "character U+" << std::hex << cp;
            if (cp == 0xE4 || cp == 0xF6 || cp == 0xFC || cp == 0xDF) umlauts.insert(cp);
        }
        EXPECT_EQ(t.content.find("Ã"), std::string::npos) << "umlauts encoded twice";
        // A few sentences at least.
        EXPECT_GE(words(t.content).size(), 60u);
        EXPECT_GE(std::count_if(t.content.begin(), t.content.end(),
                                [](char c) { return c == '.' || c == '?' || c == '!'; }),
                  3);
    }
    EXPECT_EQ(umlauts.size(), 4u) << "ä, ö, ü and ß occur as themselves";
    EXPECT_EQ(sqlValue("zuv40typ.sdb", "SELECT Titel FROM thementitel WHERE thementitelid = 1"), "Kurzporträt");

    // Into the rich-text box as the description window inserts a topic, and out again unchanged.
    forms::RichTextBox box;
    for (const auto& t : texts()) {
        box.setText("");
        box.setSelBold(true);
        box.setSelText(t.title);
        box.setSelBold(false);
        box.setSelText("\r\n\r\n" + t.content);
        box.setSelFontSize(8);
        box.setSelText("\r\n\r\n\r\nLiteratur: Redaktion");
        EXPECT_EQ(box.Text(), t.title + "\r\n\r\n" + t.content + "\r\n\r\n\r\nLiteratur: Redaktion") << t.title;
    }
}

// The print engine breaks a line only at a blank, once it has grown past the page width less
// 4000 twips, so a line can run one word beyond that limit. Every word of a text and of a
// literature line keeps that overrun on an A4 sheet, at the largest size the reader's settings
// allow without asking (10 points). A title is printed without a break: it fits the line even
// in a bold heading font of 14 points.
TEST_F(ContentDatabase, EveryWordAndTitleFitsThePrintedLine) {
    draw::Printer sheet;
    sheet.setOutputFileName((folder().parent_path() / "measure.pdf").string());
    sheet.setFont("Arial", 10, false, false);
    const double limit = sheet.Width() - 4000;
    const double indent = 9 * sheet.averageCharWidth();           // print column 10
    const double overrun = sheet.Width() - 567 - indent - limit;  // up to 1 cm from the edge
    std::set<std::string> all;
    for (const auto& t : texts())
        for (auto& w : words(t.content)) all.insert(w);
    for (auto& w : words(sqlValue("zuv40typ.sdb",
                                  "SELECT group_concat(Autor || ' ' || Titel || ' ' || Reihe || ' ' || "
                                  "Herausgeber || ' ' || Auflage || ' ' || Verlag || ' ' || Ort || ' ' "
                                  "|| Jahr, ' ') FROM Literatur")))
        all.insert(w);
    ASSERT_GT(overrun, 1000);
    for (const auto& w : all) EXPECT_LT(sheet.TextWidth(w + " "), overrun) << w;
    sheet.setFont("Arial", 14, true, false);
    for (const auto& title : titles()) EXPECT_LT(sheet.TextWidth(title), limit) << title;
}

}  // namespace
