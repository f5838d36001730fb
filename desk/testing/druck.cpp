#include "desk/testing/druck.h"

#include <fstream>
#include <functional>
#include <sstream>

#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/draw/picture.h"
#include "platform/files/file_io.h"
#include "platform/files/paths.h"
#include "platform/vb/codepage.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"
#include "platform/vb/utf8.h"

namespace zuvtest {

namespace {

constexpr int kEinzug = 10;
constexpr double kRandUnten = 2000;
constexpr double kFussY = 1500;

// Print column kEinzug of the surface's font now, in twips from the left edge: the left margin of
// a document, the same for every line whatever size its font has.
double einzug(const draw::Surface& s) { return s.averageCharWidth() * (kEinzug - 1); }

// The text at the margin, ending the line.
void amRand(draw::Surface& s, double rand, const std::string& text, draw::LineEnd ende = draw::LineEnd::Newline) {
    s.setCurrentX(rand);
    s.Print({text}, ende);
}

// The page-filling state of one print run. Both documents break a page the same way: footer,
// new sheet (within the same document), header. The used height of a page is where the surface
// stands: every line, header and blank line included, at the height its font really takes, so
// that nothing printed reaches the footer band whatever the font.
class Seiten {
public:
    Seiten(draw::Surface& s, double rand, std::function<void()> fuss, std::function<void()> kopf)
        : m_s(s), m_rand(rand), m_fuss(std::move(fuss)), m_kopf(std::move(kopf)) {}

    int zeilen = 0;                     // line counter of the statement pages
    std::function<void()> nachUmbruch;  // what a page break does to other state

    double genutzt() const { return m_s.CurrentY(); }
    // The lowest point text may reach; the footer starts 500 twips further down.
    double grenze() const { return m_s.Height() - kRandUnten; }
    // Whether `anzahl` more lines of the current font still end above the page's limit.
    bool passt(int anzahl) const { return genutzt() + anzahl * m_s.TextHeight("Texthoehe") <= grenze(); }

    // After a line: the page ends when the next line would pass the limit.
    void maxLinesCheck() {
        if (!passt(1)) umbruch();
    }

    void umbruch() {
        m_fuss();
        m_s.NewPage();
        if (nachUmbruch) nachUmbruch();
        m_kopf();
    }

    void zeile(const std::string& text) {
        amRand(m_s, m_rand, vb::Trim(text));
        maxLinesCheck();
        ++zeilen;
    }

    // The lines a text is printed in: broken at the first blank after the line passes the
    // limit and at each line break; a word is never split.
    std::vector<std::string> umbrechen(const std::string& text) const {
        const double breite = m_s.Width() - 4000;
        std::vector<std::string> teile;
        std::string aktuell;
        size_t pos = 0;
        bool rest = false;
        while (pos < text.size()) {
            const size_t start = pos;
            const char32_t c = vb::utf8::next(text, pos);
            if (c == U'\r' || c == U'\n') {
                if (c == U'\r' && pos < text.size() && text[pos] == '\n') ++pos;
                teile.push_back(std::move(aktuell));
                aktuell.clear();
                rest = false;
                continue;
            }
            aktuell.append(text, start, pos - start);
            rest = true;
            if (c == U' ' && m_s.TextWidth(aktuell) > breite) {
                teile.push_back(std::move(aktuell));
                aktuell.clear();
                rest = false;
            }
        }
        if (rest || text.empty()) teile.push_back(std::move(aktuell));
        return teile;
    }

    void printString(const std::string& text) {
        for (const auto& z : umbrechen(text)) zeile(z);
    }

private:
    draw::Surface& m_s;
    double m_rand;
    std::function<void()> m_fuss;
    std::function<void()> m_kopf;
};

void schriftSetzen(draw::Surface& s, const DruckSchrift& schrift) {
    s.setFont(schrift.font);
    s.setForeColor(schrift.farbe);
}

void seitenzahlMittig(draw::Surface& s, int seite) {
    s.setCurrentX((s.Width() - (s.TextWidth(std::to_string(seite)) + 1000)) / 2);
    s.Print({draw::Num(seite)});
}

}  // namespace

FragebogenInhalt ladeFragebogen(db::Database& programmDb) {
    FragebogenInhalt f;
    auto seiten = programmDb.OpenRecordset("fragebogen", db::RecordsetType::Snapshot);
    seiten->MoveFirst();
    f.seite1 = vb::textOrEmpty(seiten->Fields("fb_seite1").Value());
    f.seite2 = vb::textOrEmpty(seiten->Fields("fb_seite2").Value());
    seiten->Close();
    auto items = programmDb.OpenRecordset("testitems", db::RecordsetType::Snapshot);
    for (; !items->Eof(); items->MoveNext())
        f.aussagen.emplace_back(items->Fields("itemnummer").Value().toInt(),
                                vb::textOrEmpty(items->Fields("itemtext").Value()));
    items->Close();
    return f;
}

constexpr double kKopfbildHoehe = 850;

void druckeFragebogen(draw::Surface& s, const FragebogenInhalt& inhalt, const DruckSchalter& schalter,
                      const DruckSchrift& schrift, const std::string& symbol, const std::string& datum, int16_t& seite) {
    // A missing header picture is reported before anything is printed.
    draw::Picture bild;
    if (schalter.kopfSymbol) bild = draw::LoadPicture(symbol);

    // One left margin and one rule for every line of every page: print column kEinzug and 90 rule
    // characters, both of the page's font at 10 points, whatever size the statements take.
    // Every position here is in twips; the report leaves the shared printer in pixels.
    s.setScaleMode(1);
    schriftSetzen(s, schrift);
    s.setFontSize(10);
    s.setScaleLeft(0);
    const double rand = einzug(s);
    const std::string linie(90, '_');
    auto regel = [&] {
        const double groesse = s.FontSize();
        s.setFontSize(10);
        amRand(s, rand, linie, draw::LineEnd::Open);
        s.setFontSize(groesse);
        s.Print();
    };

    auto kopf = [&] {
        s.setScaleLeft(0);
        s.Print();
        if (schalter.kopfDatum) {
            s.setCurrentY(500);
            amRand(s, rand, datum);
        }
        if (schalter.kopfSeitenzahl) {
            s.setCurrentY(500);
            seitenzahlMittig(s, seite);
        }
        if (schalter.kopfSymbol && !bild.isNull()) {
            // The header band ends where the text starts (y = 1000): a larger picture is scaled
            // down into it so that it never covers the first statement.
            double h = bild.heightTwips(), w = bild.widthTwips();
            if (h > kKopfbildHoehe) {
                w = w * kKopfbildHoehe / h;
                h = kKopfbildHoehe;
            }
            s.PaintPicture(bild, s.Width() - w - 1000, 100, w, h);
        }
        s.setCurrentY(1000);
    };
    auto fuss = [&] {
        const double groesse = s.FontSize();
        s.setFontSize(10);
        s.setCurrentY(s.Height() - kFussY);
        if (schalter.fussLinie) regel();
        s.setCurrentY(s.Height() - kFussY);
        s.Print();
        amRand(s, rand, kFragebogenFusszeile);
        if (schalter.fussSeitenzahl) {
            s.setCurrentY(s.Height() - kFussY);
            s.Print();
            seitenzahlMittig(s, seite);
        }
        s.setFontSize(groesse);
    };

    // A sheet that fills up before its statements are done ends with the dated footer.
    auto fussDatum = [&] {
        const double groesse = s.FontSize();
        s.setFontSize(10);
        s.setCurrentY(s.Height() - kFussY);
        if (schalter.fussLinie) regel();
        if (schalter.fussDatum) {
            s.setCurrentY(s.Height() - kFussY);
            s.Print();
            amRand(s, rand, datum);
        }
        if (schalter.fussSeitenzahl) {
            s.setCurrentY(s.Height() - kFussY);
            s.Print();
            seitenzahlMittig(s, seite);
        }
        s.setFontSize(groesse);
    };

    Seiten p(s, rand, fussDatum, kopf);
    p.nachUmbruch = [&] { ++seite; };

    seite = 1;
    for (int blatt = 1; blatt <= 2; ++blatt) {
        kopf();
        for (int i = 0; i < 4; ++i) s.Print();
        amRand(s, rand, blatt == 1 ? "Z.U.V. 5.0" : "Vertraulich");
        for (int i = 0; i < 5; ++i) s.Print();
        p.printString(blatt == 1 ? inhalt.seite1 : inhalt.seite2);
        fuss();
        s.NewPage();
        ++seite;
    }

    // Statement pages: a page holds statements while the line counter is below 70 and the next
    // statement, with the rule before it, still ends above the footer; a statement too long for
    // a whole sheet breaks the page as any long text does.
    auto statementKopf = [&] {
        s.setFontSize(10);
        kopf();
        for (int i = 0; i < 3; ++i) s.Print();
        s.setFontSize(8);
    };
    Seiten zeilen(s, rand, fussDatum, statementKopf);
    zeilen.zeilen = 5;
    zeilen.nachUmbruch = [&] {
        ++seite;
        zeilen.zeilen = 5;
    };
    // Number line, blank line, the text's lines, scale line.
    auto hoehe = [&](const std::string& text) { return 3 + static_cast<int>(zeilen.umbrechen(text).size()); };
    s.setFontSize(8);
    bool offen = false;  // the current page has statements and no footer yet
    for (size_t i = 0; i < inhalt.aussagen.size(); ++i) {
        const auto& [nummer, text] = inhalt.aussagen[i];
        if (zeilen.zeilen == 5 && !offen) statementKopf();
        offen = true;
        amRand(s, rand, std::to_string(nummer) + ")");
        s.Print();
        zeilen.printString(text);
        s.setCurrentX(s.Width() - (s.TextWidth(kSkala) + 1500));
        s.Print({kSkala});
        zeilen.zeilen += 5;
        const bool weiter = i + 1 < inhalt.aussagen.size();
        if (zeilen.zeilen < 70 && (!weiter || zeilen.passt(2 + hoehe(inhalt.aussagen[i + 1].second)))) {
            regel();
            s.Print();
        } else {
            fuss();
            offen = false;
            if (weiter) {
                s.setFontSize(8);
                s.NewPage();
                ++seite;
                zeilen.zeilen = 5;
            }
        }
    }
    // The last page gets its footer too, and no empty page follows it.
    if (offen) fuss();
    s.EndDoc();
    s.setScaleMode(1);
}

int druckeEinfuehrung(draw::Surface& s, const std::string& text, const std::string& titel, const std::string& seitenwort,
                      const DruckSchrift& schrift, const std::string& datum) {
    int seite = 1;
    auto titelDrucken = [&] {
        s.Print();
        s.Print();
        s.Print({draw::Tab(kEinzug), titel});
        s.Print({draw::Tab(kEinzug), std::string(90, '_')});
        s.Print();
        s.Print();
    };
    auto fuss = [&] {
        s.setCurrentY(s.Height() - kFussY);
        s.Print({draw::Tab(kEinzug), std::string(90, '_')});
        s.Print({draw::Tab(kEinzug), datum, draw::Tab(80), seitenwort + " " + std::to_string(seite)});
    };
    s.setScaleMode(1);  // twips, whatever the report left on the shared printer
    schriftSetzen(s, schrift);
    Seiten p(s, einzug(s), fuss, titelDrucken);
    p.nachUmbruch = [&] { ++seite; };
    titelDrucken();
    p.printString(text);
    fuss();
    s.EndDoc();
    s.setScaleMode(1);
    return seite;
}

std::string leseEinfuehrungstext(const std::string& pfad) {
    const std::string bytes = files::readFile(pfad);

    bool utf8 = true, hoch = false;
    for (size_t pos = 0; pos < bytes.size() && utf8;) {
        if (static_cast<unsigned char>(bytes[pos]) >= 0x80) hoch = true;
        bool gueltig = true;
        vb::utf8::next(bytes, pos, &gueltig);
        utf8 = gueltig;
    }
    // German text saved under Windows has its umlauts where the DOS code page has other signs.
    int dos = 0, windows = 0;
    for (unsigned char b : bytes) {
        if (b == 0x84 || b == 0x94 || b == 0x81 || b == 0xE1 || b == 0x8E || b == 0x99 || b == 0x9A) ++dos;
        if (b == 0xE4 || b == 0xF6 || b == 0xFC || b == 0xDF || b == 0xC4 || b == 0xD6 || b == 0xDC) ++windows;
    }
    const std::string text = (utf8 && hoch)    ? bytes
                             : (windows > dos) ? vb::toUtf8(bytes, vb::CodePage::Windows1252)
                                               : vb::toUtf8(bytes, vb::CodePage::Dos850);

    std::string ergebnis;
    size_t start = 0;
    while (start < text.size()) {
        size_t ende = text.find('\n', start);
        std::string zeile = text.substr(start, ende == std::string::npos ? std::string::npos : ende - start);
        if (!zeile.empty() && zeile.back() == '\r') zeile.pop_back();
        ergebnis += zeile + "\r\n";
        if (ende == std::string::npos) break;
        start = ende + 1;
    }
    return ergebnis;
}

}  // namespace zuvtest
