// Mutated XML person files: each is taken whole, with every value in its field's bounds, or refused
// with a German reason; a person taken is written whole.

#include <fstream>
#include <iostream>

#include "desk/testing/xml_import.h"
#include "fixture.h"
#include "platform/vb/strings.h"
#include "support/fuzz.h"

using namespace zuvtest_test;

namespace {

std::string personDatei(const std::string& kopf, const std::string& vorname) {
    std::string s = kopf + "<ZUVRecord>\n<Vorname>" + vorname +
                    "</Vorname><Nachname>M&#252;ller</Nachname><Strasse>Hauptstr. 1</Strasse>"
                    "<PLZOrt>12345 Stadt</PLZOrt><Land>D</Land><Geburtsdatum>01.01.1970</Geburtsdatum>"
                    "<Testdatum>08.03.2026</Testdatum><Telefon>0123</Telefon>\n";
    for (int n = 1; n <= 109; ++n)
        s += "<Item" + std::to_string(n) + ">" + std::to_string(n % 5) + "</Item" + std::to_string(n) + ">\n";
    return s + "</ZUVRecord>\n";
}

// A reason a person reads: German, without the parser's English.
bool deutsch(const std::string& grund) {
    for (const char* englisch : {"use ", " option", "error", "Error", "expected", "found", "Excessive", "huge", "Huge",
                                 "not ", "Input", "Document", "document"})
        if (grund.find(englisch) != std::string::npos) return false;
    return !grund.empty();
}

class XmlFuzz : public DatenTest {};

}  // namespace

TEST_F(XmlFuzz, AnyFileIsTakenWholeOrRefusedWithAGermanReason) {
    support::Mutator m(
        {
            personDatei("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", "J\xC3\xBCrgen"),
            personDatei("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n", "J\xFCrgen"),
            personDatei("<!DOCTYPE ZUVRecord [<!ENTITY n \"Nord\">]>\n", "&n;"),
            personDatei("", "<![CDATA[Anna & Co]]>"),
        },
        {"<",
         ">",
         "</",
         "/>",
         "<Item",
         "</Item",
         "Item5",
         "<Vorname>",
         "&amp;",
         "&#x",
         "&#0;",
         ";",
         "&n;",
         "<!DOCTYPE r [<!ENTITY a \"aaaaaaaa\">]>",
         "<!ENTITY b \"&a;&a;&a;&a;\">",
         "<![CDATA[",
         "]]>",
         "<!--",
         "-->",
         "<?xml version=\"1.0\"?>",
         " encoding=\"UTF-16\"",
         " encoding=\"KOI8-R\"",
         "\"",
         "'",
         "=",
         "ZUVRecord",
         "xmlns:a=\"urn:x\"",
         "<a:Item1>",
         " 3 ",
         "-1",
         "4.0",
         "\xEF\xBB\xBF",
         "\xFE\xFF",
         "\x00\x00\xFE\xFF"},
        support::fuzzSeed() + 3);
    const std::string xmlDatei = path("person.xml");
    long genommen = 0, abgelehnt = 0;
    const long ran = support::fuzz(m, support::fuzzRuns(2000), [&](const std::string& inhalt) {
        std::ofstream(xmlDatei, std::ios::binary | std::ios::trunc) << inhalt;
        zuvtest::XmlPerson p;
        try {
            p = zuvtest::leseXmlPerson(xmlDatei);
        } catch (const zuvtest::XmlImportFehler& e) {
            ++abgelehnt;
            EXPECT_TRUE(deutsch(e.grund())) << e.grund();
            EXPECT_LT(e.grund().size(), 400u) << e.grund().substr(0, 200);
            return;
        }
        ++genommen;
        for (int16_t b : p.bewertungen) EXPECT_TRUE(b >= 0 && b <= 4) << b;
        EXPECT_LE(vb::Len(p.texte[0]), 150);
        EXPECT_LE(vb::Len(p.texte[11]), 10);
        // Every tenth person taken is written, whole, and removed again.
        if (genommen % 10 == 1) {
            const int32_t id = zuvtest::schreibeXmlPerson(*this->datei, p, tabelle);
            EXPECT_EQ(zaehle("persontestergebnis", id), 109);
            EXPECT_EQ(zaehle("typwertzuweisung", id), 126);
            this->datei->Execute("DELETE FROM PersDat WHERE PersonID = " + std::to_string(id));
        }
    });
    std::cout << "fuzz: " << ran << " XML files, " << genommen << " taken, " << abgelehnt << " refused\n";
    EXPECT_GT(genommen, 0);
    EXPECT_GT(abgelehnt, 0);
}
