#include <QFontMetricsF>

#include <iostream>
#include <map>
#include <set>

#include "platform/draw/printer.h"
#include "platform/report/blocks.h"
#include "report_fixture.h"
#include "support/fuzz.h"
#include "support/vb_error.h"

using namespace report_test;
using report::Document;
using report::Item;

namespace {

const char* kKopf = R"(report name=Kopf
font family="DejaVu Sans" size=8
section name=ReportHeaderSection1 type=reportheader
section name=D type=details collapse
  field name=Name1 left=0 top=0 width=4000 height=200 value="{Vorname Nachname}"
  field name=Strasse1 left=0 top=200 width=4000 height=200 value="{Strasse}"
  field name=Ort1 left=0 top=400 width=4000 height=200 value="{PLZOrt}"
  field name=Datum1 left=6000 top=0 width=3638 height=200 align=right value="{#Datum}"
)";

const char* kHaupt = R"(# a main report
report name=Haupt
page paper=A4 orientation=portrait left=1134 top=850 right=1134 bottom=850
font family="DejaVu Sans" size=10
section name=ReportHeaderSection1 type=reportheader
section name=PageHeaderSection1 type=pageheader
  subreport name=Kopf1 left=0 top=0 width=9638 file=kopf.rpt
  line name=Linie1 left=0 top=100 width=9638 height=200
section name=DetailSection1 type=details
section name=ReportFooterSection1 type=reportfooter
  subreport name=Text1 left=0 top=0 width=9638 file=Text.rpt
section name=ReportFooterSection2 type=reportfooter newpage keeptogether
  text name=Titel1 left=0 top=0 width=9638 height=400 size=14 bold value="Bild"
  picture name=Bild1 left=0 top=400 file=bild.bmp align=center
section name=PageFooterSection1 type=pagefooter
  field name=Seitenzahl1 left=5000 top=0 width=4638 height=200 align=right value="Seite {#Seite} von {#Seiten}"
)";

const char* kText = R"(report name=Text
font family="DejaVu Sans" size=10
style code=U1 size=15 bold after=200 keepnext
style code=DE size=10
style code=TA size=9 bold table grid
style code=T2 size=9 table grid
style code=C1 family="DejaVu Sans Mono" size=9 mono
style code=H1 size=11 bold before=140 after=60 keepnext
style code=U2 size=12 apart
section name=ReportHeaderSection1 type=reportheader
  printlines name=Zeilen1 left=0 top=0 width=9638 from=1 to=99
)";

class Engine : public LayoutTest {
protected:
    void SetUp() override {
        LayoutTest::SetUp();
        layout("Haupt.rpt", kHaupt);
        layout("Kopf.rpt", kKopf);  // the layout names it "kopf.rpt": found without regard to case
        layout("Text.rpt", kText);
        bitmap(path("bild.bmp"), 800, 600);
    }
    std::shared_ptr<report::Report> oeffnen(const std::vector<Zeile>& zeilen = {}) {
        auto r = report::Engine().OpenReport(path("Haupt.rpt"));
        r->OpenSubreport("Text.rpt").setData(druckzeilen(zeilen));
        report::DataTable person;
        person.columns = {"Vorname", "Nachname", "Strasse", "PLZOrt"};
        person.rows.push_back(
            {vb::Variant("Erika"), vb::Variant("Muster"), vb::Variant::null(), vb::Variant("12345 Ort")});
        r->OpenSubreport("KOPF.RPT").setData(person);
        return r;
    }
    static std::vector<std::string> zeilen(const Document& d, int seite) { return d.pageLines(seite); }
    // The print lines alone, dated, without the picture sheet that follows them.
    Document textSeiten(const std::vector<Zeile>& z) {
        auto r = oeffnen(z);
        r->Sections(5).setSuppress(true);
        return Document::layout(*r, {"08.03.2026"});
    }
};

}  // namespace

TEST_F(Engine, SectionsByPositionAndNameObjectsByNameAndKindSubreportsByFileName) {
    auto r = oeffnen();
    ASSERT_EQ(r->SectionCount(), 6);
    EXPECT_EQ(r->Sections(2).Name(), "PageHeaderSection1");
    EXPECT_EQ(&r->Sections("pagefootersection1"), &r->Sections(6));
    EXPECT_EQ(errorOf([&] { r->Sections(7); }), vb::err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { r->Sections(0); }), vb::err::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { r->Sections("D"); }), report::err::NoSuchSection);

    auto& bildBereich = r->Sections(5);
    ASSERT_EQ(bildBereich.ReportObjectCount(), 2);
    EXPECT_EQ(bildBereich.ReportObjects(1).Kind(), report::TextObject);
    EXPECT_EQ(bildBereich.ReportObjects(2).Kind(), report::PictureObject);
    EXPECT_EQ(bildBereich.ReportObjects(2).Name(), "Bild1");
    EXPECT_EQ(errorOf([&] { bildBereich.ReportObjects(3); }), vb::err::SubscriptOutOfRange);

    auto& kopf = r->OpenSubreport("Kopf.rpt");
    EXPECT_EQ(kopf.Sections("D").ReportObjectCount(), 4);
    EXPECT_EQ(kopf.Sections("D").ReportObjects(1).Kind(), report::FieldObject);
    EXPECT_EQ(errorOf([&] { r->OpenSubreport("Fehlt.rpt"); }), report::err::NoSuchSubreport);
    EXPECT_EQ(errorOf([&] { kopf.Sections("D").ReportObjects(1).setWidth(-1); }), vb::err::InvalidPropertyValue);
}

TEST_F(Engine, DamagedOrMissingLayoutsAreRefusedNamingTheFileAndTheLine) {
    auto beschreibung = [&](const std::string& datei) {
        try {
            report::Engine().OpenReport(path(datei));
        } catch (const vb::Error& e) {
            return std::to_string(e.number()) + " " + e.description();
        }
        return std::string("kein Fehler");
    };
    EXPECT_EQ(beschreibung("Fehlt.rpt").rfind("53 ", 0), 0u);
    EXPECT_NE(beschreibung("Fehlt.rpt").find("Fehlt.rpt"), std::string::npos);

    layout("Ohne.rpt",
           "report name=Ohne\nsection name=A type=reportheader\n  subreport name=X left=0 top=0 width=100 "
           "file=Nichtda.rpt\n");
    EXPECT_EQ(beschreibung("Ohne.rpt").rfind("53 ", 0), 0u);
    EXPECT_NE(beschreibung("Ohne.rpt").find("Nichtda.rpt"), std::string::npos);

    const std::pair<std::string, std::string> kaputt[] = {
        {"report name=A\nsection name=S type=details\n  bogus name=x\n", "Zeile 3"},
        {"report name=A\nsection name=S type=details\n  text name=T left=0 top=0 width=100 value=\"offen\n", "Zeile 3"},
        {"section name=S type=details\n", "Zeile 1"},
        {"report name=A\n", "Bereich"},
        {"report name=A\nsection name=S type=nirgends\n", "Zeile 2"},
        {"report name=A\nsection name=S type=details\n  text name=T left=0 top=0 width=abc value=x\n", "Zeile 3"},
        {"report name=A\nsection name=S type=details\nsection name=s type=details\n", "zweimal"},
        {std::string("report\0\x01\x02", 9), "keine Textdatei"},
        {"", "leer"},
    };
    for (const auto& [text, wo] : kaputt) {
        layout("Kaputt.rpt", text);
        const std::string b = beschreibung("Kaputt.rpt");
        EXPECT_EQ(b.rfind(std::to_string(report::err::DamagedLayout) + " ", 0), 0u) << b;
        EXPECT_NE(b.find("Kaputt.rpt"), std::string::npos) << b;
        EXPECT_NE(b.find(wo), std::string::npos) << b;
    }
}

TEST_F(Engine, PrintLinesComeInPageAndLineOrderAndEachPageStartsASheet) {
    const Document d = textSeiten({{8, 2, "Zweite Zeile der Seite acht", "DE"},
                                   {7, 1, "Titel sieben", "U1"},
                                   {8, 1, "Titel acht", "U1"},
                                   {7, 0, "", "DE"},
                                   {8, 0, "", "DE"},
                                   {7, 3, "Dritte Zeile", "DE"},
                                   {7, 2, "", "DE"}});
    ASSERT_EQ(d.pageCount(), 2);
    const auto s1 = zeilen(d, 0), s2 = zeilen(d, 1);
    // Letterhead with the date, then the lines, then the footer.
    EXPECT_EQ(s1.front(), "Erika Muster 08.03.2026");
    EXPECT_EQ(s1[1], "12345 Ort");  // the empty street gave its room to the town
    EXPECT_EQ(s1[2], "Titel sieben");
    EXPECT_EQ(s1[3], "Dritte Zeile");
    EXPECT_EQ(s1.back(), "Seite 1 von 2");
    EXPECT_EQ(s2[2], "Titel acht");
    EXPECT_EQ(s2[3], "Zweite Zeile der Seite acht");
    EXPECT_EQ(s2.back(), "Seite 2 von 2");
    // The blank line 2 of page 7 keeps its room: the third line stands two lines below the title.
    double titel = 0, dritte = 0;
    for (const auto& it : d.page(0)) {
        if (it.text == "Titel sieben") titel = it.y + it.h;
        if (it.text == "Dritte Zeile") dritte = it.y;
    }
    EXPECT_GT(dritte - titel, 200 + QFontMetricsF(report::qfont({"DejaVu Sans", 10, false, false})).lineSpacing() * 0.9);
    allesImDruckbereich(d);
}

TEST_F(Engine, APageLongerThanASheetGoesOnAndLongTextsWrapInsideThePrintableArea) {
    std::vector<Zeile> z{{1, 1, "Lange Seite", "U1"}};
    for (int i = 2; i <= 130; ++i) z.push_back({1, i, "Zeile " + std::to_string(i), "DE"});
    std::string lang;
    for (int i = 0; i < 40; ++i) lang += "Wortlaut" + std::to_string(i) + " ";
    z.push_back({2, 1, lang, "DE"});
    z.push_back({2, 2, std::string(255, 'x'), "DE"});  // one word wider than the line
    const Document d = textSeiten(z);
    ASSERT_GE(d.pageCount(), 4);
    std::set<std::string> gesehen;
    int seiteVon2 = -1;
    for (int p = 0; p < d.pageCount(); ++p) {
        const auto l = zeilen(d, p);
        EXPECT_EQ(l.back(), "Seite " + std::to_string(p + 1) + " von " + std::to_string(d.pageCount()));
        EXPECT_EQ(l.front(), "Erika Muster 08.03.2026");
        for (const auto& s : l) gesehen.insert(s);
        if (enthaelt(l, "Wortlaut0")) seiteVon2 = p;
    }
    for (int i = 2; i <= 130; ++i) EXPECT_TRUE(gesehen.count("Zeile " + std::to_string(i))) << i;
    // Page 2 of the rows starts a sheet of its own; its long text takes several lines.
    ASSERT_GT(seiteVon2, 0);
    EXPECT_FALSE(enthaelt(zeilen(d, seiteVon2 - 1), "Wortlaut"));
    int wortzeilen = 0, xzeilen = 0;
    for (const auto& s : zeilen(d, seiteVon2)) {
        if (s.find("Wortlaut") != std::string::npos) ++wortzeilen;
        if (s.find("xxxx") != std::string::npos) ++xzeilen;
    }
    EXPECT_GE(wortzeilen, 3);
    EXPECT_GE(xzeilen, 2);
    allesImDruckbereich(d);
}

TEST_F(Engine, TableLinesLineUpInColumnsRulesAreLinesAndFixedPitchLinesShrinkTogether) {
    std::string macrons;
    for (int i = 0; i < 80; ++i) macrons += "\u00AF";
    std::string kopf = "Typ   ";
    for (const char* n : {"EINS", "ZWEI", "DREI", "VIER", "FÜNF", "SECHS", "SIEBEN", "ACHT", "NEUN"})
        kopf += std::string(12 - std::string(n).size() + (std::string(n) == "FÜNF" ? 1 : 0), ' ') + n + " ";
    kopf += "       Alle Typen";
    auto wertzeile = [](int typ) {
        std::string s = std::to_string(typ) + "\t";
        for (int t = 1; t <= 9; ++t) s += std::string(13, ' ') + (t < 10 ? "0" : "") + std::to_string(t);
        return s + std::string(10, ' ') + "126";
    };
    std::string c1lang = "Typ eins" + std::string(27, ' ') + "Häufigster Antwortwert: 3" + std::string(80, ' ') + "Ende";
    const Document d = textSeiten({{19, 1, "Antwortwerte je Typ", "U1"},
                                   {19, 2, "", "TA"},
                                   {19, 3, kopf, "TA"},
                                   {19, 4, macrons, "DE"},
                                   {19, 5, "Anzahl der Antworten je Wert", "TA"},
                                   {19, 6, wertzeile(0), "T2"},
                                   {19, 7, wertzeile(1), "T2"},
                                   {19, 8, "Summe " + wertzeile(2).substr(2), "T2"},
                                   {22, 1, "Häufigste Antwortwerte", "U1"},
                                   {22, 2, std::string(35, ' ') + "Wert", "DE"},
                                   {22, 3, "Typ eins" + std::string(27, ' ') + "Wert 3", "C1"},
                                   {22, 4, c1lang, "C1"}});
    ASSERT_EQ(d.pageCount(), 2);

    // Cells of the header, the value rows and the total row: the right edges of each value column agree.
    std::map<long, std::vector<const Item*>> reihen;
    int linien = 0;
    for (const auto& it : d.page(0)) {
        if (it.type == Item::Type::Text && it.font.size <= 9.01) reihen[std::lround(it.y)].push_back(&it);
        if (it.type == Item::Type::Line && it.w > 9000) ++linien;
    }
    EXPECT_GE(linien, 2);  // the rule under the header, the rule under the letterhead
    std::vector<std::vector<double>> rechts;
    for (auto& [y, items] : reihen) {
        if (items.size() != 11) continue;
        std::sort(items.begin(), items.end(), [](auto* a, auto* b) { return a->x < b->x; });
        std::vector<double> r;
        for (auto* it : items) r.push_back(it->x + it->w);
        rechts.push_back(r);
    }
    ASSERT_EQ(rechts.size(), 4u);  // header, two value rows, total row
    for (std::size_t c = 1; c < 11; ++c)
        for (std::size_t z = 1; z < rechts.size(); ++z) EXPECT_NEAR(rechts[z][c], rechts[0][c], 1.0) << c;

    // Both fixed-pitch lines of page 22 share the size at which the longer one fits.
    std::vector<double> groessen;
    for (const auto& it : d.page(1))
        if (it.type == Item::Type::Text && it.font.family == "DejaVu Sans Mono") groessen.push_back(it.font.size);
    ASSERT_EQ(groessen.size(), 2u);
    EXPECT_EQ(groessen[0], groessen[1]);
    EXPECT_LT(groessen[0], 9);
    // The head over them stands at its character's column of that fixed-pitch size.
    const double spalte = report::detail::metrics({"DejaVu Sans Mono", groessen[0], false, false}).width("0");
    int koepfe = 0;
    for (const auto& it : d.page(1))
        if (it.text == "Wert") {
            EXPECT_NEAR(it.x, 1134 + 35 * spalte, 0.5);
            ++koepfe;
        }
    EXPECT_EQ(koepfe, 1);
    allesImDruckbereich(d);
}

// A table too wide for the sheet is set smaller, measured again in the smaller font: every cell is
// printed whole, none cut short with an ellipsis.
TEST_F(Engine, ATableSetSmallerKeepsEveryCellWhole) {
    std::string kopf = "Typ";
    for (const char* n : {"EINS", "ZWEI", "DREI", "VIER", "FÜNF", "SECHS", "SIEBEN", "ACHT", "NEUN", "Gesamt"})
        kopf += std::string("   ") + n;
    std::string zeile = "Summe";
    for (int i = 0; i < 10; ++i) zeile += "   100,00%";
    const Document d = textSeiten({{21, 1, "Antwortwerte je Typ in Prozent", "U1"},
                                   {21, 2, kopf, "TA"},
                                   {21, 3, zeile, "T2"},
                                   {21, 4, "2" + zeile.substr(5), "T2"}});
    int zellen = 0;
    for (const auto& it : d.page(0)) {
        if (it.type != Item::Type::Text || it.text == "Antwortwerte je Typ in Prozent") continue;
        if (it.text.find("100,00%") != std::string::npos || it.text == "Summe") ++zellen;
        EXPECT_EQ(it.text.find("\u2026"), std::string::npos) << it.text;
        EXPECT_LE(it.x + it.w, 1134 + 9638 + 1) << it.text;
    }
    EXPECT_EQ(zellen, 21);
    allesImDruckbereich(d);
}

TEST_F(Engine, ColumnHeadsWrittenWithProportionalBlanksStandOverTheFixedPitchColumnsTheyHead) {
    // A table of deviations: its heads spaced for a proportional font, its second head line pushed
    // far right under the last head, its rows in fixed-pitch columns of 20, 20 and 19 characters.
    auto zeile = [](const std::string& name, const std::string& differenz, const std::string& verhaeltnis,
                    const std::string& klasse) {
        return name + std::string(20 - name.size(), ' ') + differenz + std::string(20 - differenz.size(), ' ') +
               verhaeltnis + std::string(14, ' ') + klasse;
    };
    const Document d = textSeiten(
        {{15, 1, "Abweichung", "U1"},
         {15, 13,
          std::string(25, ' ') + "Abweichung vom Mittel" + std::string(10, ' ') + "Verhältnis zum Mittel" +
              std::string(15, ' ') + "Einstufung",
          "DE"},
         {15, 14, std::string(125, ' ') + "(gegenüber dem Mittel)", "DE"},
         {15, 16, zeile("Perfektionist", "-002,44", "00,89", "im mittleren Bereich"), "C1"},
         {15, 17, zeile("Macher", "027,56", "02,23", "deutlich darüber"), "C1"},
         {15, 18, zeile("Boss", "-005,44", "00,76", "deutlich darunter"), "C1"},
         {24, 1, "Informationsmaß", "U1"},
         {24, 6, "Helfer" + std::string(29, ' ') + "0,7274" + std::string(11, ' ') + "stark", "C1"},
         {24, 7, "Boss" + std::string(31, ' ') + "0,3637" + std::string(11, ' ') + "wechselnd", "C1"},
         {24, 22, "0 = alle Bewertungen eines Typs gleich" + std::string(10, ' ') + "1 = alle fünf Werte", "DE"},
         {24, 23, std::string(72, ' ') + "gleich oft vergeben", "DE"}});
    ASSERT_EQ(d.pageCount(), 2);
    auto stueck = [&](int blatt, const std::string& text) -> const Item* {
        for (const auto& it : d.page(blatt))
            if (it.type == Item::Type::Text && it.text == text) return &it;
        return nullptr;
    };
    const Item* reihe = nullptr;
    for (const auto& it : d.page(0))
        if (it.text.rfind("Perfektionist", 0) == 0) reihe = &it;
    ASSERT_NE(reihe, nullptr);
    const double spalte = reihe->w / QString::fromStdString(reihe->text).size();
    // Each head stands where the cells of its column start, in the lines it wraps into there,
    // at the size of its style; its column's width stays clear before the next head.
    const double spalten[] = {20, 40, 59};
    const std::string koepfe[] = {"Abweichung vom Mittel", "Verhältnis zum Mittel", "Einstufung (gegenüber dem Mittel)"};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(koepfe[k]);
        std::string text;
        double oben = 1e9, unten = 0;
        for (const auto& it : d.page(0)) {
            if (it.type != Item::Type::Text || it.y >= reihe->y ||
                std::abs(it.x - (reihe->x + spalten[k] * spalte)) > 1.0)
                continue;
            EXPECT_EQ(it.font.size, 10);
            if (k < 2) {
                EXPECT_LT(it.x + it.w, reihe->x + (spalten[k + 1] - 1) * spalte);
            }
            EXPECT_LE(it.x + it.w, reihe->x + 9638 + 0.5);
            EXPECT_GE(it.y, oben == 1e9 ? 0 : unten - 1.0);  // one line under the other
            text += (text.empty() ? "" : " ") + it.text;
            oben = std::min(oben, it.y);
            unten = it.y + it.h;
        }
        EXPECT_EQ(text, koepfe[k]);
        EXPECT_LT(unten, reihe->y + 1.0);
    }
    // A legend under a table: its second part and the line that goes on with it stand one above the other.
    const Item* werte = stueck(1, "1 = alle fünf Werte");
    const Item* weiter = stueck(1, "gleich oft vergeben");
    ASSERT_NE(werte, nullptr);
    ASSERT_NE(weiter, nullptr);
    EXPECT_NEAR(weiter->x, werte->x, 1.0);
    EXPECT_GT(werte->x, stueck(1, "0 = alle Bewertungen eines Typs gleich")->x + 1000);
    allesImDruckbereich(d);
}

TEST_F(Engine, ASentenceWrittenInPiecesWrapsAsOneTextAndLinesThatEndStayApart) {
    const std::string rest =
        "' führt nach der Gesamtpunktzahl, bei den Werten 3 und 4 und bei Antwortwert 4, nicht aber bei den "
        "einzelnen Werten, und das sogar recht deutlich.";
    const Document d = textSeiten({{16, 1, "Vergleich", "U1"},
                                   {16, 2, "Höchste Punktzahl:", "DE"},
                                   {16, 3, "34", "H1"},
                                   {16, 4, "Punkte", "DE"},
                                   {16, 5, "Gesamteindruck:", "DE"},
                                   {16, 9, "Mittlere Punktzahl je Aussage:", "DE"},
                                   {16, 10, "-01,60", "H1"},
                                   {16, 11, "(Punkte von -2 bis +4)", "DE"},
                                   {16, 12, "Flügel Helfer – Gesamtpunktzahl:", "DE"},
                                   {16, 13, " 20", "H1"},
                                   {16, 14, "Abstand des Haupttyps:", "DE"},
                                   {16, 15, "deutlich", "H1"},
                                   {16, 6, "eher zurückhaltende Bewertungen", "DE"},
                                   {16, 7, "Individualist Loyaler", "H1"},
                                   {16, 8, "\u00AF\u00AF\u00AF\u00AF", "DE"},
                                   {16, 16, "Ergebnis: Der Typ '", "DE"},
                                   {16, 17, "Individualist", "H1"},
                                   {16, 18, rest, "DE"},
                                   {16, 19, "Verglichen wurden die Rangfolgen.", "DE"},
                                   {16, 20, "Ein Haupttyp lässt sich aus den Bewertungen allein", "DE"},
                                   {16, 21, "nicht sicher bestimmen.", "DE"},
                                   {16, 22, "Beide führen zum selben Typ,", "DE"},
                                   {16, 23, "die Werte 3 und 4 jedoch nicht.", "DE"},
                                   {16, 24, "Erika Muster", "U2"},
                                   {16, 25, "am Hang 3", "U2"}});
    const auto l = zeilen(d, 0);
    auto index = [&](const std::string& text) {
        for (std::size_t i = 0; i < l.size(); ++i)
            if (l[i] == text) return static_cast<int>(i);
        ADD_FAILURE() << "keine Zeile „" << text << "“";
        return -1;
    };
    // Lines that end a sentence or lead in to what follows, lists and data lines stay apart.
    for (const char* z :
         {"Gesamteindruck:", "eher zurückhaltende Bewertungen", "Individualist Loyaler",
          "Abstand des Haupttyps:", "deutlich", "Verglichen wurden die Rangfolgen.", "Erika Muster", "am Hang 3"})
        index(z);
    // A label, its number and its unit are one line, as the evaluation page shows them; the next
    // label after a number starts a line of its own.
    for (const char* z : {"Höchste Punktzahl: 34 Punkte", "Mittlere Punktzahl je Aussage: -01,60 (Punkte von -2 bis +4)",
                          "Flügel Helfer – Gesamtpunktzahl: 20"})
        index(z);
    const Item* zahl = nullptr;
    for (const auto& it : d.page(0))
        if (it.text == "34 " || it.text == "34") zahl = &it;
    ASSERT_TRUE(zahl);
    EXPECT_TRUE(zahl->font.bold);
    // The pieces of a sentence stand one after the other and wrap as one text.
    EXPECT_GE(index("Ein Haupttyp lässt sich aus den Bewertungen allein nicht sicher bestimmen."), 0);
    EXPECT_GE(index("Beide führen zum selben Typ, die Werte 3 und 4 jedoch nicht."), 0);
    const int satz = index("Verglichen wurden die Rangfolgen.");
    ASSERT_GT(satz, 2);
    std::string gelesen;
    int zeilenDesSatzes = 0;
    for (int i = 0; i < satz; ++i)
        if (l[i].rfind("Ergebnis", 0) == 0 || zeilenDesSatzes > 0) {
            gelesen += (gelesen.empty() ? "" : " ") + l[i];
            ++zeilenDesSatzes;
        }
    EXPECT_EQ(gelesen, "Ergebnis: Der Typ 'Individualist" + rest);
    EXPECT_EQ(zeilenDesSatzes, 2);
    // The designation keeps its own style on the sentence's baseline.
    const Item *name = nullptr, *vorher = nullptr;
    for (const auto& it : d.page(0)) {
        if (it.text == "Individualist") name = &it;
        if (it.text == "Ergebnis: Der Typ '") vorher = &it;
    }
    ASSERT_TRUE(name && vorher);
    EXPECT_TRUE(name->font.bold);
    EXPECT_NEAR(name->y + name->ascent, vorher->y + vorher->ascent, 0.5);
    EXPECT_NEAR(name->x, vorher->x + vorher->w, 0.5);
    allesImDruckbereich(d);
}

TEST_F(Engine, PicturesFitThePrintableAreaAndASuppressedSectionLeavesNoSheet) {
    bitmap(path("bild.bmp"), 2000, 400);  // far wider than the sheet
    auto r = oeffnen({{1, 1, "Deckblatt", "U1"}});
    Document d = Document::layout(*r);
    ASSERT_EQ(d.pageCount(), 2);
    const Item* bild = nullptr;
    for (const auto& it : d.page(1))
        if (it.type == Item::Type::Picture) bild = &it;
    ASSERT_TRUE(bild);
    EXPECT_NEAR(bild->w, 9638, 1);
    EXPECT_NEAR(bild->h, 9638 / 5.0, 1);
    allesImDruckbereich(d);

    bitmap(path("bild.bmp"), 300, 3000);  // taller than a sheet: shrunk to the body and centred
    r = oeffnen({{1, 1, "Deckblatt", "U1"}});
    d = Document::layout(*r);
    bild = nullptr;
    for (const auto& it : d.page(d.pageCount() - 1))
        if (it.type == Item::Type::Picture) bild = &it;
    ASSERT_TRUE(bild);
    EXPECT_LT(bild->h, 16838 - 1700);
    EXPECT_NEAR(bild->x + bild->w / 2, 1134 + 9638 / 2.0, 1);
    allesImDruckbereich(d);

    r->Sections(5).setSuppress(true);
    EXPECT_EQ(Document::layout(*r).pageCount(), 1);
    r->Sections(5).setSuppress(false);
    r->Sections(5).ReportObjects(2).setSuppress(true);
    d = Document::layout(*r);
    EXPECT_EQ(d.pageCount(), 2);  // the title alone still starts its sheet
}

TEST_F(Engine, ATurnedSheetSpreadsTheObjectsAcrossItsWidthAndPrintsInLandscape) {
    bitmap(path("bild.bmp"), 500, 200);
    auto r = oeffnen({{1, 1, "Deckblatt", "U1"}});
    r->setLandscape(true);
    EXPECT_TRUE(r->page().landscape());
    const Document d = Document::layout(*r, {"08.03.2026"});
    EXPECT_EQ(d.pageWidth(), 16838);
    const double rechts = 16838 - 1134;
    for (int p = 0; p < d.pageCount(); ++p)
        for (const Item& it : d.page(p)) {
            // The page number, placed at the right edge of the upright sheet, ends at the turned one's;
            // the date of the letterhead's subreport too.
            if (it.text.rfind("Seite ", 0) == 0 || it.text == "08.03.2026") {
                EXPECT_NEAR(it.x + it.w, rechts, 1) << it.text;
            }
            // Rules run across the turned sheet; pictures keep the size they were given.
            if (it.type == Item::Type::Line) {
                EXPECT_NEAR(it.x + it.w, rechts, 1);
            }
            if (it.type == Item::Type::Picture) {
                EXPECT_NEAR(it.w, 500 * 15, 1);
            }
        }
    allesImDruckbereich(d);

    draw::Printer& drucker = draw::printer();
    drucker.setOutputFileName(path("quer.pdf"));
    report::print(d, drucker);
    drucker.setOutputFileName("");
    EXPECT_NE(support::run("pdfinfo " + path("quer.pdf")).output.find("842 x 595"), std::string::npos);
}

TEST_F(Engine, EveryPageGoesIntoThePdfFileAndAnUnwritableTargetIsReported) {
    std::vector<Zeile> z;
    for (int s = 1; s <= 3; ++s) z.push_back({s, 1, "Überschrift der Seite " + std::to_string(s), "U1"});
    auto r = oeffnen(z);
    const Document d = Document::layout(*r, {"08.03.2026"});
    ASSERT_EQ(d.pageCount(), 4);
    draw::Printer pdf;
    pdf.setOutputFileName(path("bericht.pdf"));
    report::print(d, pdf);
    EXPECT_EQ(pdfSeiten(path("bericht.pdf")), 4);
    for (int s = 1; s <= 3; ++s) {
        const std::string t = pdfText(path("bericht.pdf"), s);
        EXPECT_EQ(vorkommen(t, "Überschrift der Seite " + std::to_string(s)), 1) << t;
        EXPECT_EQ(vorkommen(t, "Seite " + std::to_string(s) + " von 4"), 1) << t;
        EXPECT_EQ(vorkommen(t, "08.03.2026"), 1) << t;
    }
    const auto bilder = support::run("pdfimages -list " + support::shellQuote(path("bericht.pdf"))).output;
    EXPECT_EQ(support::lines(bilder).size(), 3u) << bilder;  // two heading lines, one picture

    draw::Printer nirgends;
    nirgends.setOutputFileName(path("fehlt/bericht.pdf"));
    EXPECT_EQ(errorOf([&] { report::print(d, nirgends); }), vb::err::PrinterError);
    EXPECT_FALSE(support::fs::exists(path("fehlt")));
    EXPECT_FALSE(nirgends.busy());
}

TEST(Wrap, LinesBreakAtBlanksKeepInnerRunsAndCutOnlyWordsWiderThanTheLine) {
    const auto& fm = report::detail::metrics({"DejaVu Sans Mono", 10, false, false});
    const double zeichen = fm.width(QStringLiteral("x"));
    auto umbruch = [&](const QString& text, int breite) {
        std::vector<std::string> out;
        for (const QString& l : report::detail::wrap(text, fm, breite * zeichen + 0.5)) out.push_back(l.toStdString());
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(umbruch("eins zwei  drei vier", 11), (V{"eins zwei", "drei vier"}));
    EXPECT_EQ(umbruch("a  b", 10), (V{"a  b"}));  // a run of blanks inside stays
    EXPECT_EQ(umbruch("abcdefghijklmno", 6), (V{"abcdef", "ghijkl", "mno"}));
    EXPECT_EQ(umbruch("        Kopf", 10), (V{"Kopf"}));  // too deep an indentation is given up
    EXPECT_EQ(umbruch("    Kopf", 10), (V{"    Kopf"}));
    EXPECT_EQ(umbruch("    eins zwei drei", 12), (V{"    eins", "    zwei", "    drei"}));
    EXPECT_EQ(umbruch("erste\r\nzweite\rdritte", 20), (V{"erste", "zweite", "dritte"}));
    EXPECT_EQ(umbruch(QString(40, ' '), 10), (V{""}));
    EXPECT_EQ(umbruch("", 10), (V{""}));
}

TEST(LayoutFuzz, DamagedLayoutsAreRefusedOrLaidOutButNeverCrash) {
    // Mutations of installed layouts: cut lines, swapped bytes, stray quotes, braces and numbers.
    support::Mutator m({support::readFile(std::string(ZUV_DIST_DIR) + "/ZUVHeader1.rpt"),
                        support::readFile(std::string(ZUV_DIST_DIR) + "/AuswertungAbSeite4.rpt"),
                        support::readFile(std::string(ZUV_DIST_DIR) + "/ZUVReport1.rpt")},
                       {"\"", "=", " ", "\n", "\r\n", "-", "-99999", "2147483647", "{", "}", "\\", "#", "0", "1e308"},
                       support::fuzzSeed() + 6);
    int gelesen = 0, abgewiesen = 0;
    const long ran = support::fuzz(m, support::fuzzRuns(1500), [&](const std::string& text) {
        try {
            auto r = report::readLayout(text, "Zufall.rpt");
            report::DataTable d = druckzeilen(
                {{4, 1, "Titel", "U1"}, {4, 2, std::string(300, 'w'), "C1"}, {5, 1, "a  b  c", "TA"}});
            r->setData(d);
            try {
                report::Document::layout(*r);
            } catch (const vb::Error&) {
                // a picture that is not there, a layout without room: refused with a message
            }
            ++gelesen;
        } catch (const vb::Error& e) {
            EXPECT_EQ(e.number(), report::err::DamagedLayout) << e.description();
            ++abgewiesen;
        }
    });
    std::cout << "fuzz: " << ran << " layouts, " << gelesen << " laid out\n";
    EXPECT_GT(gelesen, 0);
    EXPECT_GT(abgewiesen, 0);
}
