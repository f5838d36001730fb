#include <QRegularExpression>
#include <fstream>
#include <numeric>
#include <set>

#include "desk/testing/druck.h"
#include "fixture.h"
#include "platform/draw/printer.h"

using namespace zuvtest_test;

namespace {

std::string normal(const std::string& text) {
    // Ligatures the PDF fonts use ("ﬁ") read as their letters.
    return QString::fromStdString(text).normalized(QString::NormalizationForm_KC).simplified().toStdString();
}

int pdfSeiten(const std::string& pdf) {
    const std::string info = shell("pdfinfo '" + pdf + "'");
    const auto pos = info.find("Pages:");
    return pos == std::string::npos ? -1 : std::stoi(info.substr(pos + 6));
}

std::string pdfSeite(const std::string& pdf, int seite) {
    return shell("pdftotext -f " + std::to_string(seite) + " -l " + std::to_string(seite) + " '" + pdf + "' -");
}

class Druck : public DatenTest {
protected:
    zuvtest::DruckSchrift schrift() {
        zuvtest::DruckSchrift s;
        s.font = {"DejaVu Sans", 10, false, false, false};
        return s;
    }
    std::string symbol() { return std::string(ZUV_DIST_DIR) + "/zuv_symb_druckkopf.bmp"; }

    int anzahl(const std::string& text, const std::string& was) {
        int n = 0;
        for (size_t p = text.find(was); p != std::string::npos; p = text.find(was, p + 1)) ++n;
        return n;
    }
};

}  // namespace

TEST_F(Druck, QuestionnaireIsOneDocumentWithEveryStatementOnceAndAFooterOnEveryPage) {
    const auto inhalt = zuvtest::ladeFragebogen(*programmDb);
    ASSERT_EQ(inhalt.aussagen.size(), 109u);
    const std::string pdf = path("fragebogen.pdf");
    draw::Printer pr;
    pr.setOutputFileName(pdf);
    int16_t seite = 0;
    zuvtest::druckeFragebogen(pr, inhalt, {}, schrift(), symbol(), "08.03.2026", seite);

    ASSERT_EQ(pr.writtenFiles().size(), 1u);
    const int seiten = pdfSeiten(pdf);
    EXPECT_EQ(seiten, seite);
    EXPECT_GE(seiten, 2 + 109 / 11);

    std::string alles;
    int skalen = 0;
    for (int i = 1; i <= seiten; ++i) {
        const std::string t = pdfSeite(pdf, i);
        EXPECT_EQ(anzahl(t, zuvtest::kFragebogenFusszeile), 1) << "Seite " << i;
        EXPECT_EQ(anzahl(t, "08.03.2026"), 1) << "Seite " << i;
        EXPECT_GE(anzahl(normal(t), " " + std::to_string(i) + " "), 1) << "Seite " << i;
        if (i > 2) {
            EXPECT_GE(anzahl(t, zuvtest::kSkala), 1) << "Seite " << i;
            skalen += anzahl(t, zuvtest::kSkala);
        }
        alles += t + "\n";
    }
    EXPECT_EQ(anzahl(alles, "Z.U.V. 5.0"), 1);
    EXPECT_EQ(anzahl(alles, "Vertraulich"), 1);
    EXPECT_EQ(skalen, 109);
    const std::string flach = normal(alles);
    for (const auto& [nummer, text] : inhalt.aussagen)
        EXPECT_EQ(anzahl(flach, normal(text)), 1) << nummer << ") " << text;
}

TEST_F(Druck, SwitchesOffLeaveOnlyTheFixedFooterAndPageBreaksFollowTheLineCounter) {
    zuvtest::FragebogenInhalt inhalt;
    inhalt.seite1 = "Erste Zeile\r\nZweite Zeile";
    inhalt.seite2 = std::string(300, 'x');  // no blank: one line however wide
    for (int n = 1; n <= 23; ++n) inhalt.aussagen.emplace_back(n, "Kurze Aussage " + std::to_string(n));
    zuvtest::DruckSchalter aus{false, false, false, false, false, false};
    draw::Printer pr;
    pr.setOutputFileName(path("aus.pdf"));
    int16_t seite = 0;
    zuvtest::druckeFragebogen(pr, inhalt, aus, schrift(), "", "08.03.2026", seite);

    // Eleven one-line statements fill a page (5 + 11 * 6 = 71): 2 + 3 pages, no empty one.
    EXPECT_EQ(seite, 5);
    std::map<int, std::vector<std::string>> jeSeite;
    for (const auto& e : pr.log()) jeSeite[e.page].push_back(e.text);
    EXPECT_EQ(jeSeite.size(), 5u);
    auto hat = [&](int s, const std::string& t) {
        for (const auto& x : jeSeite[s])
            if (x.find(t) != std::string::npos) return true;
        return false;
    };
    EXPECT_TRUE(hat(1, "Erste Zeile"));
    EXPECT_TRUE(hat(1, "Zweite Zeile"));
    EXPECT_TRUE(hat(2, std::string(300, 'x')));
    EXPECT_TRUE(hat(3, "11)"));
    EXPECT_FALSE(hat(3, "12)"));
    EXPECT_TRUE(hat(4, "12)"));
    EXPECT_TRUE(hat(5, "23)"));
    for (int s = 1; s <= 5; ++s) {
        EXPECT_TRUE(hat(s, zuvtest::kFragebogenFusszeile)) << s;
        EXPECT_FALSE(hat(s, "08.03.2026")) << s;
    }
    // No footer rule: the rules there are the statements'.
    for (const auto& e : pr.log()) {
        if (e.text == std::string(90, '_')) {
            EXPECT_LT(e.y, pr.Height() - 1500 - 1) << e.page;
        }
    }
}

TEST_F(Druck, SheetFilledByALongPageTextEndsWithTheDatedFooter) {
    zuvtest::FragebogenInhalt inhalt;
    for (int i = 1; i <= 120; ++i) inhalt.seite1 += "Zeile " + std::to_string(i) + "\r\n";
    inhalt.seite2 = "Kurz";
    inhalt.aussagen.emplace_back(1, "Eine Aussage");
    zuvtest::DruckSchalter nurFussDatum{false, false, false, false, true, false};
    draw::Printer pr;
    pr.setOutputFileName(path("lang.pdf"));
    int16_t seite = 0;
    zuvtest::druckeFragebogen(pr, inhalt, nurFussDatum, schrift(), "", "08.03.2026", seite);

    std::map<int, std::vector<std::string>> jeSeite;
    for (const auto& e : pr.log()) jeSeite[e.page].push_back(e.text);
    auto hat = [&](int s, const std::string& t) {
        for (const auto& x : jeSeite[s])
            if (x.find(t) != std::string::npos) return true;
        return false;
    };
    int letzte = 0;
    for (const auto& [s, texte] : jeSeite)
        if (hat(s, "Zeile 120")) letzte = s;
    ASSERT_GT(letzte, 1);
    EXPECT_EQ(seite, letzte + 2);
    for (int s = 1; s < letzte; ++s) {
        EXPECT_TRUE(hat(s, "08.03.2026")) << s;
        EXPECT_FALSE(hat(s, zuvtest::kFragebogenFusszeile)) << s;
    }
    EXPECT_TRUE(hat(letzte, zuvtest::kFragebogenFusszeile));
    EXPECT_FALSE(hat(letzte, "08.03.2026"));
}

TEST_F(Druck, MissingHeaderPictureIsReportedBeforePrinting) {
    draw::Printer pr;
    pr.setOutputFileName(path("x.pdf"));
    int16_t seite = 0;
    EXPECT_EQ(dbtest::errorOf(
                  [&] { zuvtest::druckeFragebogen(pr, {}, {}, schrift(), path("fehlt.bmp"), "08.03.2026", seite); }),
              vb::err::FileNotFound);
    EXPECT_TRUE(pr.writtenFiles().empty());
}

TEST_F(Druck, IntroductionIsReadFromTheDosCodePageAndPrintedWithTitleAndFooterOnEachSheet) {
    const std::string text = zuvtest::leseEinfuehrungstext(std::string(ZUV_DIST_DIR) + "/ZUVINFO.TXT");
    EXPECT_NE(text.find("EINFÜHRUNG"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    std::string lang;
    for (int i = 0; i < 6; ++i) lang += text;
    const std::string pdf = path("einfuehrung.pdf");
    draw::Printer pr;
    pr.setOutputFileName(pdf);
    const int seiten = zuvtest::druckeEinfuehrung(pr, lang, "Einführung in den Z.U.V.-Test", "Seite", schrift(),
                                                  "08.03.2026");
    ASSERT_EQ(pr.writtenFiles().size(), 1u);
    EXPECT_GE(seiten, 2);
    EXPECT_EQ(pdfSeiten(pdf), seiten);
    for (int i = 1; i <= seiten; ++i) {
        const std::string t = pdfSeite(pdf, i);
        EXPECT_EQ(anzahl(t, "Einführung in den Z.U.V.-Test"), 1) << i;
        EXPECT_EQ(anzahl(normal(t), "Seite " + std::to_string(i)), 1) << i;
        EXPECT_EQ(anzahl(t, "08.03.2026"), 1) << i;
    }
}

TEST_F(Druck, IntroductionBytesOfUmlautsAndOtherCodePagesAndMissingFile) {
    std::ofstream(path("dos.txt"), std::ios::binary) << "M\x84nner \x94"
                                                        "fter \x84\x84\r\nStra\xe1"
                                                        "e \x82t\x82\r\n";
    EXPECT_EQ(zuvtest::leseEinfuehrungstext(path("dos.txt")), "Männer öfter ää\r\nStraße été\r\n");
    std::ofstream(path("utf8.txt"), std::ios::binary) << "Größe\nzwei";
    EXPECT_EQ(zuvtest::leseEinfuehrungstext(path("utf8.txt")), "Größe\r\nzwei\r\n");
    std::ofstream(path("ansi.txt"), std::ios::binary) << "Gr\xf6\xdf"
                                                         "e \xfc"
                                                         "ber \xc4rger\r\n";
    EXPECT_EQ(zuvtest::leseEinfuehrungstext(path("ansi.txt")), "Größe über Ärger\r\n");
    std::ofstream(path("leer.txt"), std::ios::binary) << "";
    EXPECT_EQ(zuvtest::leseEinfuehrungstext(path("leer.txt")), "");
    EXPECT_EQ(dbtest::errorOf([&] { zuvtest::leseEinfuehrungstext(path("fehlt.txt")); }), vb::err::FileNotFound);
}

namespace {

struct PdfWort {
    int seite;
    double x0, y0, x1, y1;  // points from the top left corner
    std::string text;
};

std::vector<PdfWort> pdfWoerter(const std::string& pdf) {
    const std::string xml = shell("pdftotext -bbox-layout '" + pdf + "' -");
    std::vector<PdfWort> woerter;
    static const QRegularExpression re(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    int seite = 0;
    for (auto it = re.globalMatch(QString::fromStdString(xml)); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == "<page ") {
            ++seite;
            continue;
        }
        QString text = m.captured(5);
        text.replace("&amp;", "&")
            .replace("&lt;", "<")
            .replace("&gt;", ">")
            .replace("&quot;", "\"")
            .replace("&apos;", "'");
        woerter.push_back({seite, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                           m.captured(4).toDouble(), normal(text.toStdString())});
    }
    return woerter;
}

}  // namespace

// With the installed statements in the installed standard font, every statement page ends above
// its footer: no word of a statement, no scale and no statement rule in the footer band.
TEST_F(Druck, StatementsStayAboveTheFooterInOrderOnConsecutivePages) {
    const auto inhalt = zuvtest::ladeFragebogen(*programmDb);
    ASSERT_EQ(inhalt.aussagen.size(), 109u);
    // The installed standard font, and one with taller lines.
    for (const char* name : {"Arial", "DejaVu Serif"}) {
        SCOPED_TRACE(name);
        zuvtest::DruckSchrift schrift;
        schrift.font = {name, 10, false, false, false};
        const std::string pdf = path(std::string(name) + ".pdf");
        {
            draw::Printer pr;
            pr.setOutputFileName(pdf);
            int16_t seite = 0;
            zuvtest::druckeFragebogen(pr, inhalt, {}, schrift, symbol(), "08.03.2026", seite);
        }
        const auto woerter = pdfWoerter(pdf);
        const int seiten = pdfSeiten(pdf);

        // The footer band starts at the footer rule; the fixed line and the page number stand in it.
        std::map<int, double> fussOben;
        std::map<int, PdfWort> fussRegel;
        for (const auto& w : woerter)
            if (w.text == std::string(90, '_') && w.y0 >= fussOben[w.seite]) {
                fussOben[w.seite] = w.y0;
                fussRegel[w.seite] = w;
            }
        ASSERT_EQ(static_cast<int>(fussOben.size()), seiten);
        // One left margin and one rule for the page: statement numbers and rules start where the
        // header's date and the footer do, and every rule is as long as the footer's.
        for (const auto& w : woerter) {
            const PdfWort& regel = fussRegel[w.seite];
            static const QRegularExpression nummer(R"(^\d+\)$)");
            if (w.text == std::string(90, '_')) {
                EXPECT_NEAR(w.x0, regel.x0, 1) << "Seite " << w.seite;
                EXPECT_NEAR(w.x1, regel.x1, 1) << "Seite " << w.seite;
            } else if (nummer.match(QString::fromStdString(w.text)).hasMatch() || w.text == "08.03.2026") {
                EXPECT_NEAR(w.x0, regel.x0, 1) << w.text << " Seite " << w.seite;
            }
        }

        std::vector<int> nummern;
        std::string aussagenText;
        for (int s = 1; s <= seiten; ++s) {
            std::vector<std::string> fuss;  // what stands in the footer band besides its fixed line
            for (const auto& w : woerter) {
                if (w.seite != s) continue;
                if (w.y1 > fussOben[s]) {
                    if (normal(zuvtest::kFragebogenFusszeile).find(w.text) == std::string::npos) fuss.push_back(w.text);
                    continue;
                }
                if (w.y0 < 50 || s < 3) continue;  // the header, the two introductory pages
                static const QRegularExpression nummer(R"(^(\d+)\)$)");
                const auto m = nummer.match(QString::fromStdString(w.text));
                if (m.hasMatch()) nummern.push_back(m.captured(1).toInt());
                else if (w.text != zuvtest::kSkala && w.text != std::string(90, '_')) aussagenText += w.text + " ";
            }
            EXPECT_EQ(fuss, (std::vector<std::string>{std::string(90, '_'), std::to_string(s)})) << "Seite " << s;
        }
        std::vector<int> erwartet(109);
        std::iota(erwartet.begin(), erwartet.end(), 1);
        EXPECT_EQ(nummern, erwartet);
        // Each statement once, whole, in order.
        size_t ab = 0;
        for (const auto& [nummer, text] : inhalt.aussagen) {
            const size_t p = aussagenText.find(normal(text), ab);
            ASSERT_NE(p, std::string::npos) << nummer << ") " << text;
            ab = p + normal(text).size();
        }
    }
}

// The report leaves the shared printer in pixels; the questionnaire and the introduction that
// follow it are laid out in twips all the same, so that nothing runs off the sheet.
TEST_F(Druck, AfterTheReportLeftThePrinterInPixelsQuestionnaireAndIntroductionStayOnTheSheet) {
    zuvtest::FragebogenInhalt inhalt;
    inhalt.seite1 = "Seite eins";
    inhalt.seite2 = "Seite zwei";
    inhalt.aussagen = {{1, "Eine Aussage"}, {2, "Noch eine Aussage"}};
    const double rechts = (11906.0 - 1500) / 20, unten = 16838.0 / 20;  // points
    draw::Printer pr;
    const std::string fragebogen = path("fragebogen.pdf");
    pr.setOutputFileName(fragebogen);
    pr.setScaleMode(3);
    int16_t seite = 0;
    zuvtest::druckeFragebogen(pr, inhalt, {}, schrift(), "", "08.03.2026", seite);
    int skalen = 0;
    for (const auto& w : pdfWoerter(fragebogen)) {
        EXPECT_LT(w.y1, unten) << w.text << " Seite " << w.seite;
        if (w.text != zuvtest::kSkala) continue;
        ++skalen;
        EXPECT_NEAR(w.x1, rechts, 1) << "Seite " << w.seite;
    }
    EXPECT_EQ(skalen, 2);

    const std::string einfuehrung = path("einfuehrung.pdf");
    pr.setOutputFileName(einfuehrung);
    pr.setScaleMode(3);
    zuvtest::druckeEinfuehrung(pr, "Ein kurzer Text", "Einführung", "Seite", schrift(), "08.03.2026");
    bool datum = false;
    for (const auto& w : pdfWoerter(einfuehrung)) {
        EXPECT_LT(w.y1, unten) << w.text;
        EXPECT_LT(w.x1, 11906.0 / 20) << w.text;
        datum = datum || w.text == "08.03.2026";
    }
    EXPECT_TRUE(datum);
}
