#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "platform/vb/error.h"
#include "platform/xml/dom.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

// The error a step raised; reason "(none)" and line -1 when it raised none.
xml::ParseError parseErrorOf(auto&& f) {
    try {
        f();
    } catch (const xml::ParseError& e) {
        return e;
    }
    return xml::ParseError("(none)", -1);
}

class XmlFiles : public support::TempFolderTest {
protected:
    std::string write(const std::string& name, const std::string& text) {
        support::writeFile(m_dir / name, text);
        return path(name);
    }
};

}  // namespace

TEST_F(XmlFiles, PersonFileValuesByAbsolutePaths) {
    const std::string path = write("Person.xml",
                                   "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                   "<ZUVRecord>\n"
                                   "  <Vorname>J\xfcrgen</Vorname>\n"
                                   "  <Nachname>M&amp;M <b>Meier</b></Nachname>\n"
                                   "  <Item1> 3 </Item1><Item1>4</Item1>\n"
                                   "  <Gruppe><Item2>1</Item2></Gruppe>\n"
                                   "  <Telefon/>\n"
                                   "</ZUVRecord>\n");
    const xml::Document doc = xml::Document::load(m_dir.string() + "/PERSON.XML");
    EXPECT_EQ(doc.root().name(), "ZUVRecord");
    EXPECT_EQ(doc.selectText("/ZUVRecord/Vorname"), "Jürgen");
    EXPECT_EQ(doc.selectText("/ZUVRecord/Nachname"), "M&M Meier");  // descendants' text included
    EXPECT_EQ(doc.selectText("/ZUVRecord/Item1"), " 3 ");           // the first in document order
    EXPECT_EQ(doc.selectText("/ZUVRecord/Item2"), std::nullopt);    // one level deeper is not a child
    EXPECT_EQ(doc.selectText("/ZUVRecord/Telefon"), "");
    EXPECT_EQ(doc.selectText("/zuvrecord/Vorname"), std::nullopt);  // names are exact
    EXPECT_EQ(doc.select("/ZUVRecord/*").size(), 6u);
    EXPECT_EQ(doc.root().children().size(), 6u);
    try {
        (void)doc.select("/ZUVRecord/[");
        FAIL();
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::err::InvalidProcedureCall);
    }
}

TEST_F(XmlFiles, MalformedFilesReportReasonAndLine) {
    const auto mismatch = parseErrorOf([&] {
        xml::Document::load(write("a.xml", "<ZUVRecord>\n<Vorname>Anna</Vorname>\n<Item1>3</Item2>\n</ZUVRecord>\n"));
    });
    EXPECT_EQ(mismatch.line(), 3);
    EXPECT_FALSE(mismatch.reason().empty());

    const auto unclosed = parseErrorOf([&] { xml::Document::load(write("b.xml", "<ZUVRecord>\n<Vorname>\n")); });
    EXPECT_GE(unclosed.line(), 2);
    EXPECT_FALSE(unclosed.reason().empty());

    const auto empty = parseErrorOf([&] { xml::Document::load(write("c.xml", "")); });
    EXPECT_EQ(empty.reason(), "Die Datei ist leer.");

    const auto missing = parseErrorOf([&] { xml::Document::load((m_dir / "fehlt.XML").string()); });
    EXPECT_EQ(missing.reason(), "Die Datei wurde nicht gefunden.");
    EXPECT_EQ(missing.line(), 0);
}

TEST_F(XmlFiles, ExternalEntitiesAreRefusedAndNeverRead) {
    const std::string secret = write("secret.txt", "GEHEIM");
    const auto refused = parseErrorOf([&] {
        xml::Document::load(
            write("xxe.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE ZUVRecord [\n<!ENTITY x SYSTEM \"file://" + secret +
                                 "\">\n]>\n"
                                 "<ZUVRecord><Vorname>&x;</Vorname></ZUVRecord>\n"));
    });
    EXPECT_EQ(refused.reason(), "Die Datei verweist auf externe Entitäten; solche Dateien werden nicht gelesen.");

    const auto param = parseErrorOf(
        [&] { xml::Document::parse("<!DOCTYPE r [<!ENTITY % p SYSTEM \"http://example.invalid/x.dtd\"> %p;]><r/>"); });
    EXPECT_EQ(param.reason(), refused.reason());

    // A reference to an outside DTD is not loaded: the document reads as it stands.
    const xml::Document withDtd = xml::Document::parse(
        "<!DOCTYPE ZUVRecord SYSTEM \"http://example.invalid/zuv.dtd\"><ZUVRecord><Land>DE</Land></ZUVRecord>");
    EXPECT_EQ(withDtd.selectText("/ZUVRecord/Land"), "DE");
}

TEST_F(XmlFiles, InternalEntitiesCannotBlowUp) {
    std::string dtd = "<!DOCTYPE r [<!ENTITY a0 \"lollollollollollollollollollol\">";
    for (int i = 1; i <= 9; ++i) {
        dtd += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) dtd += "&a" + std::to_string(i - 1) + ";";
        dtd += "\">";
    }
    dtd += "]>";
    const auto refused = parseErrorOf([&] {
        const xml::Document d = xml::Document::parse(dtd + "<r><v>&a9;</v></r>");
        (void)d.selectText("/r/v");
    });
    EXPECT_NE(refused.reason(), "(none)");

    const xml::Document small = xml::Document::parse("<!DOCTYPE r [<!ENTITY n \"Nord\">]><r><v>&n;en</v></r>");
    EXPECT_EQ(small.selectText("/r/v"), "Norden");
}

namespace {

// A German sentence: no word of the parser's English, and it ends like a sentence.
bool germanSentence(const std::string& reason) {
    for (const char* english : {"use ", "option", "error", "Error", "document", "Document", "expected", "found", "huge",
                                "Huge", "depth", "Excessive", "Start tag", "Input"})
        if (reason.find(english) != std::string::npos) return false;
    return !reason.empty() && (reason.back() == '.' || reason.back() == ')');
}

}  // namespace

// Whatever the bytes, the reason names what is wrong with them, in German.
TEST_F(XmlFiles, RefusalsSayWhatIsWrongInGerman) {
    const struct {
        std::string bytes;
        const char* expected;  // part of the reason
    } cases[] = {
        {"", "leer"},
        {" \r\n\t", "leer"},
        {std::string("\x8f\x12\xa3\xff\x00\x91\x13zq\x01", 10), "binäre Daten"},
        {"\x8f\x12\xa3\xff\x91\x13zq\x01", "keine XML-Datei"},
        {"Lieber Herr Meier,\nanbei die Daten.", "beginnt nicht mit einem Element"},
        {std::string("\x00\x00\xFE\xFF\x00\x00\x00<\x00\x00\x00r\x00\x00\x00/\x00\x00\x00>", 20), "UTF-32"},
        {std::string("<\x00\x00\x00r\x00\x00\x00/\x00\x00\x00>\x00\x00\x00", 16), "UTF-32"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF<r/>", "zwei Byte-Order-Markierungen"},
        {"<?xml version=\"1.0\" encoding=\"KLINGONISCH-9\"?><r/>", "KLINGONISCH-9"},
        {std::string(300, '<'), ""},
        {"<r>" + std::string(2000, 'x') + "</q>", "schließende Tag"},
    };
    for (const auto& c : cases) {
        const auto e = parseErrorOf([&] { xml::Document::load(write("f.xml", c.bytes)); });
        SCOPED_TRACE(c.bytes.substr(0, 20));
        EXPECT_NE(e.reason(), "(none)");
        EXPECT_TRUE(germanSentence(e.reason())) << e.reason();
        EXPECT_NE(e.reason().find(c.expected), std::string::npos) << e.reason();
    }
    // The parser's own limits: nesting beyond 256 levels.
    std::string deep;
    for (int i = 0; i < 400; ++i) deep += "<a>";
    const auto tooDeep = parseErrorOf([&] { xml::Document::parse(deep); });
    EXPECT_NE(tooDeep.reason().find("verschachtelt"), std::string::npos) << tooDeep.reason();
    EXPECT_TRUE(germanSentence(tooDeep.reason())) << tooDeep.reason();
    const auto longName = parseErrorOf([&] { xml::Document::parse("<" + std::string(60000, 'n') + "/>"); });
    EXPECT_TRUE(germanSentence(longName.reason())) << longName.reason();
    // UTF-16 with its byte-order mark is XML as well.
    const std::string utf16("\xFF\xFE<\0r\0>\0x\0<\0/\0r\0>\0", 18);
    EXPECT_EQ(xml::Document::load(write("u.xml", utf16)).selectText("/r"), "x");
}

// Only regular files of a sensible size are read: a pipe without a writer, a device or a huge file
// is refused at once with its reason.
TEST_F(XmlFiles, OnlyRegularFilesOfASensibleSizeAreRead) {
    const std::string fifo = path("pipe.xml");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto pipe = parseErrorOf([&] { xml::Document::load(fifo); });
    EXPECT_NE(pipe.reason().find("keine gewöhnliche Datei"), std::string::npos) << pipe.reason();
    const auto device = parseErrorOf([&] { xml::Document::load("/dev/zero"); });
    EXPECT_NE(device.reason().find("keine gewöhnliche Datei"), std::string::npos) << device.reason();

    const std::string big = write("gross.xml", "<r>" + std::string(1500 * 1000, 'x') + "</r>");
    const auto tooLarge = parseErrorOf([&] { xml::Document::load(big, 1000 * 1000); });
    EXPECT_EQ(tooLarge.reason(), "Die Datei ist 1,5 MB groß; gelesen werden Dateien bis 1 MB.");
    EXPECT_EQ(xml::Document::load(big).root().name(), "r");
}
