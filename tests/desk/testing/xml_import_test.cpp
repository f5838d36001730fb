#include <fstream>
#include <functional>

#include "desk/testing/xml_import.h"
#include "fixture.h"

using namespace zuvtest_test;

namespace {

std::string personXml(const std::function<std::string(int)>& item, const std::string& extra = "",
                      const std::string& testdatum = "08.03.2026") {
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZUVRecord>\n"
        "<Vorname>Jürgen</Vorname><Nachname>Müller</Nachname><Strasse>Hauptstr. 1</Strasse>"
        "<PLZOrt>12345 Stadt</PLZOrt><Land>D</Land><Geburtsdatum>01.01.1970</Geburtsdatum>"
        "<Testdatum>" +
        testdatum + "</Testdatum><Telefon>0123</Telefon>\n" + extra;
    for (int n = 1; n <= 109; ++n) {
        const std::string v = item(n);
        if (v != "-") s += "<Item" + std::to_string(n) + ">" + v + "</Item" + std::to_string(n) + ">\n";
    }
    return s + "</ZUVRecord>\n";
}

class XmlImport : public DatenTest {
protected:
    std::string datei_(const std::string& name, const std::string& inhalt) {
        std::ofstream(path(name), std::ios::binary) << inhalt;
        return path(name);
    }
    // The reason a file is refused; "" when it is read.
    std::string grund(const std::string& inhalt) {
        try {
            zuvtest::leseXmlPerson(datei_("p.xml", inhalt));
        } catch (const zuvtest::XmlImportFehler& e) {
            zeile = e.zeile();
            return e.grund();
        }
        return "";
    }
    long personen() { return datei->OpenRecordset("persdat", db::RecordsetType::Snapshot)->RecordCount(); }
    int zeile = -1;
};

}  // namespace

TEST_F(XmlImport, GoodFileBecomesOneWholePersonWithMappedTypeRows) {
    const auto p = zuvtest::leseXmlPerson(
        datei_("gut.xml", personXml([](int n) { return n == 5 ? " 3 " : std::to_string(n % 5); })));
    EXPECT_EQ(p.texte[0], "Jürgen");
    EXPECT_EQ(p.texte[2], "01.01.1970");  // Geburtsdatum lands in Geburtstag
    EXPECT_EQ(p.texte[6], "");            // Telefon is not taken
    EXPECT_EQ(p.bewertungen[4], 3);

    const int32_t id = zuvtest::schreibeXmlPerson(*datei, p, tabelle);
    EXPECT_EQ(zaehle("persdat", id), 1);
    EXPECT_EQ(zaehle("persontestergebnis", id), 109);
    EXPECT_EQ(zaehle("typwertzuweisung", id), 126);
    EXPECT_EQ(zaehle("ergebnis", id), 9);
    EXPECT_EQ(typWerte(id, 5), (std::map<int, std::string>{{8, "3"}, {9, "1"}}));
    auto leer = datei->OpenRecordset("select * from typwertzuweisung where typrealwert is null",
                                     db::RecordsetType::Snapshot);
    EXPECT_EQ(leer->RecordCount(), 0);
    auto e = datei->OpenRecordset("select * from ergebnis where personid = " + std::to_string(id),
                                  db::RecordsetType::Snapshot);
    EXPECT_TRUE(e->Fields("typgesamtsumme").Value().isNull());
    auto pd = datei->OpenRecordset("select * from persdat where personid = " + std::to_string(id),
                                   db::RecordsetType::Snapshot);
    EXPECT_EQ(pd->Fields("Geburtstag").Value().toString(), "01.01.1970");
    EXPECT_TRUE(pd->Fields("Telefon").Value().isNull());
    EXPECT_EQ(pd->Fields("Metasatz").Value().toInt(), 0);
    EXPECT_EQ(shell("sqlite3 '" + path("test.ZDB") + "' 'pragma integrity_check'"), "ok\n");
}

TEST_F(XmlImport, BadFilesAreRefusedWithAReasonNamingTheElement) {
    EXPECT_NE(grund("<ZUVRecord><Vorname>A</Vorname>"), "");  // not well-formed
    EXPECT_GT(zeile, 0);
    EXPECT_EQ(grund(personXml([](int) { return "2"; })), "");
    EXPECT_NE(grund("<Person><Vorname>A</Vorname></Person>").find("ZUVRecord"), std::string::npos);
    EXPECT_EQ(zeile, 0);
    EXPECT_NE(grund("<ZUVRecord><Daten>" + personXml([](int) { return "2"; }).substr(39) + "</Daten></ZUVRecord>")
                  .find("<Vorname> fehlt"),
              std::string::npos);
    EXPECT_NE(grund(personXml([](int n) { return n == 17 ? "7" : "2"; })).find("<Item17>"), std::string::npos);
    EXPECT_NE(grund(personXml([](int n) { return n == 3 ? "-1" : "2"; })).find("<Item3>"), std::string::npos);
    EXPECT_NE(grund(personXml([](int n) { return n == 9 ? "drei" : "2"; })).find("<Item9>"), std::string::npos);
    EXPECT_NE(grund(personXml([](int n) { return n == 9 ? "" : "2"; })).find("<Item9>"), std::string::npos);
    EXPECT_NE(grund(personXml([](int n) { return n == 109 ? "-" : "2"; })).find("<Item109> fehlt"), std::string::npos);
    EXPECT_NE(grund(personXml([](int) { return "2"; }, "", "08.03.20266")).find("<Testdatum>"), std::string::npos);
    EXPECT_EQ(personen(), 0);
}

TEST_F(XmlImport, FirstElementOfANameCountsWhateverTheOrder) {
    const auto p = zuvtest::leseXmlPerson(
        datei_("doppelt.xml", personXml([](int n) { return n == 44 ? "-" : "2"; },
                                        "<Item44>1</Item44><Vorname>Zweit</Vorname><Item44>4</Item44>")));
    EXPECT_EQ(p.bewertungen[43], 1);
    EXPECT_EQ(p.texte[0], "Jürgen");
}

TEST_F(XmlImport, ExternalEntitiesAreNeverRead) {
    std::ofstream(path("geheim.txt")) << "3";
    const std::string mitEntity = "<?xml version=\"1.0\"?>\n<!DOCTYPE ZUVRecord [<!ENTITY x SYSTEM \"file://" +
                                  path("geheim.txt") + "\">]>\n" +
                                  personXml([](int n) { return n == 1 ? "&x;" : "2"; }).substr(39);
    EXPECT_NE(grund(mitEntity), "");
    EXPECT_EQ(personen(), 0);
}

TEST_F(XmlImport, FailureWhileWritingLeavesNoPartOfThePerson) {
    auto p = zuvtest::leseXmlPerson(datei_("gut.xml", personXml([](int) { return "1"; })));
    p.texte[11] = "08.03.20266";  // longer than the field: refused by the file at the person row
    EXPECT_EQ(dbtest::errorOf([&] { zuvtest::schreibeXmlPerson(*datei, p, tabelle); }), vb::err::FieldTooSmall);
    EXPECT_EQ(personen(), 0);
    p.texte[11] = "08.03.2026";
    tabelle.typNummer.resize(50);  // refused before the first row
    EXPECT_EQ(dbtest::errorOf([&] { zuvtest::schreibeXmlPerson(*datei, p, tabelle); }), vb::err::SubscriptOutOfRange);
    EXPECT_EQ(personen(), 0);
    EXPECT_EQ(datei->OpenRecordset("persontestergebnis", db::RecordsetType::Snapshot)->RecordCount(), 0);
}

TEST_F(XmlImport, NameWithoutDotGetsTheXmlExtension) {
    EXPECT_EQ(zuvtest::xmlDateiname("/tmp/person"), "/tmp/person.XML");
    EXPECT_EQ(zuvtest::xmlDateiname("/tmp/a.b/person"), "/tmp/a.b/person");
    EXPECT_EQ(zuvtest::xmlDateiname("p.xml"), "p.xml");
}

// A file far larger than a person file is refused unread; a value quoted from the file shows only
// its start and end, with its control characters made visible.
TEST_F(XmlImport, MessagesQuoteAnExcerptAndHugeFilesAreRefused) {
    const std::string riesig(1024 * 1024, '7');
    const std::string warum = grund(personXml([&](int n) { return n == 4 ? riesig : "2"; }));
    EXPECT_NE(warum.find("ist 1 MB groß"), std::string::npos) << warum.substr(0, 200);

    const std::string lang(50 * 1000, 'x');
    const std::string wert = grund(personXml([&](int n) { return n == 4 ? "\t\r\nzwei" + lang + "\t" : "2"; }));
    EXPECT_NE(wert.find("<Item4>"), std::string::npos) << wert;
    EXPECT_LT(wert.size(), 300u);
    EXPECT_NE(wert.find("\u2409\u240a"
                        "zwei"),
              std::string::npos)
        << wert;  // tab and line feed as symbols
    EXPECT_NE(wert.find("\u2026"), std::string::npos);
    EXPECT_NE(wert.find("x\u2409"), std::string::npos);
    EXPECT_EQ(wert.find_first_of("\t\n"), std::string::npos);
    EXPECT_EQ(personen(), 0);
}
