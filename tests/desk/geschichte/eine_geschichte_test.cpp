// Every page tells one story: for generated persons of each kind the verdicts decide between, every
// evaluation page and every report page of the person are read, and what they say is held against
// what the person's ratings give. The expectations are worked out here from the counts each person
// is made of (a type's 14 item-type rows rated 0 to 4), not by the program's rankings or verdicts:
// no "gesichert" beside "nicht gesichert", no support word where a deciding top is shared, a shared
// top never named as one leader, no type far behind listed as close, the same note for the same
// figures, and the screen saying line by line what the report prints.

#include <QCoreApplication>
#include <QEvent>

#include <array>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../evaluation/auswert_fixture.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckzeile.h"

using namespace auswert_test;

namespace {

// ------------------------------------------------------------------ what the counts give

struct Erwartung {
    std::array<int, 10> gesamt{}, s4{}, s3{}, s34{}, n0{}, n1{}, n01{}, niedrig{};
    int spitze = 0;  // the top total

    explicit Erwartung(const Anzahlen& a) {
        for (int t = 1; t <= 9; ++t) {
            const auto& c = a[t];
            gesamt[t] = -2 * c[0] - c[1] + 2 * c[2] + 3 * c[3] + 4 * c[4];
            s4[t] = 4 * c[4];
            s3[t] = 3 * c[3];
            s34[t] = s3[t] + s4[t];
            n0[t] = 2 * c[0];  // the rejections by size
            n1[t] = c[1];
            n01[t] = n0[t] + n1[t];
            niedrig[t] = c[0] + c[1];
        }
        spitze = gesamt[1];
        for (int t = 2; t <= 9; ++t) spitze = std::max(spitze, gesamt[t]);
    }

    // The types holding the top of a score (empty where the top is 0: nobody gave the value).
    static std::set<int> vorn(const std::array<int, 10>& w, bool auchNull = false) {
        int m = w[1];
        for (int t = 2; t <= 9; ++t) m = std::max(m, w[t]);
        std::set<int> s;
        if (m == 0 && !auchNull) return s;
        for (int t = 1; t <= 9; ++t)
            if (w[t] == m) s.insert(t);
        return s;
    }
    // The one type that alone holds the top of a score, else 0.
    static int allein(const std::array<int, 10>& w) {
        const std::set<int> s = vorn(w);
        return s.size() == 1 ? *s.begin() : 0;
    }
    // Close to the top total: less than 15 % of the top's size behind it (the default threshold
    // 0.85); a top of 0 has no size, so only an equal total is close to it.
    bool dicht(int t) const {
        const int abstand = spitze - gesamt[t];
        return gesamt[t] == spitze || 100 * abstand < 15 * std::abs(spitze);
    }
    std::set<int> nahe() const {
        std::set<int> s;
        for (int t = 1; t <= 9; ++t)
            if (dicht(t)) s.insert(t);
        return s;
    }
    int T() const {  // a top total of 0 leads too: the total counts every rating
        const std::set<int> v = vorn(gesamt, true);
        return v.size() == 1 ? *v.begin() : 0;
    }
    int S() const { return allein(s34); }
    bool hatHaupttyp() const { return S() != 0; }
    // A top the assignment rests on is shared (or there is none): no support may be stated.
    bool geteilt() const { return T() == 0 || S() == 0; }
    int mittelSumme() const {
        int s = 0;
        for (int t = 1; t <= 9; ++t) s += gesamt[t];
        return s;
    }
    static std::set<int> niedrigHinweis(int n) {
        if (n >= 12) return {355, 356};
        if (n >= 10) return {354, 291};
        if (n >= 5) return {353, 291};
        return {};
    }
};

// ------------------------------------------------------------------ the persons

enum Art {
    Gleichstand34,  // two or three types share the top of 3 and 4, another leads by total
    Ablehnung,      // two types share the top of the rejections
    EinPunkt,       // the leader one point ahead of the next
    Dicht,          // one clear leader by 3 and 4, the totals close together
    Negativ,        // every total below zero
    NullSpitze,     // the top total is 0
    MittelNegativ,  // a mean below zero with some positive totals
    Verbunden,      // the main type's connected types with equal figures
    Zufall,
    kArten
};

const char* const kArtName[] = {"Gleichstand34", "Ablehnung",     "EinPunkt",  "Dicht", "Negativ",
                                "NullSpitze",    "MittelNegativ", "Verbunden", "Zufall"};

// The connected types of each main type, as the enneagram's lines join them.
constexpr int kVerbindung[10][2] = {{0, 0}, {7, 4}, {4, 8}, {6, 9}, {1, 2}, {8, 7}, {9, 3}, {5, 1}, {2, 5}, {3, 6}};

class Erzeuger {
public:
    explicit Erzeuger(unsigned seed) : m_zufall(seed) {}

    Anzahlen person(Art art) {
        Anzahlen a{};
        const int x = typ(), y = andererTyp(x), z = andererTyp(x, y);
        switch (art) {
        case Gleichstand34: {
            const std::array<int, 5> hoch = verteilt({1, 1, 2, 3, 3});
            for (int t = 1; t <= 9; ++t) a[t] = verteilt({2, 2, 4, 1, 1});
            a[x] = a[y] = hoch;
            if (wuerfel(3) == 0) a[z] = hoch;
            else a[z] = {0, 0, 8, 6, 0};  // more total, fewer 3 and 4
            break;
        }
        case Ablehnung: {
            for (int t = 1; t <= 9; ++t) a[t] = verteilt({2, 2, 3, 2, 2});
            a[x] = a[y] = verteilt({5, 5, 2, 1, 1});
            if (wuerfel(3) == 0) a[z] = {a[x][0], a[x][1], a[x][2] + 1, a[x][3], a[x][4] - 1};
            break;
        }
        case EinPunkt: {
            for (int t = 1; t <= 9; ++t) a[t] = verteilt({2, 2, 4, 2, 2});
            a[x] = verteilt({0, 1, 3, 5, 5});
            a[y] = a[x];
            // One rating one lower: the total one point less, the 3-and-4 score lower too.
            for (int v = 4; v >= 1; --v)
                if (a[y][v] > 0) {
                    --a[y][v];
                    ++a[y][v - 1];
                    break;
                }
            break;
        }
        case Dicht: {
            a[x] = verteilt({0, 0, 2, 5, 7});
            for (int t = 1; t <= 9; ++t)
                if (t != x) a[t] = verteilt({0, 0, 6 + wuerfel(4), 1, 3 + wuerfel(2)});
            break;
        }
        case Negativ: {
            for (int t = 1; t <= 9; ++t) a[t] = verteilt({7, 5, 1, 1, 0});
            if (wuerfel(1)) a[x] = {5, 5, 2, 1, 1};
            if (wuerfel(2) == 0) a[y] = {14, 0, 0, 0, 0};
            break;
        }
        case NullSpitze: {
            for (int t = 1; t <= 9; ++t) {
                a[t] = {5 + wuerfel(2), 4, 0, 0, 0};
                a[t][2] = 14 - a[t][0] - a[t][1];
            }
            a[x] = {4, 4, 6, 0, 0};  // total 0
            if (wuerfel(1)) a[y] = a[x];
            if (wuerfel(1)) a[z] = {4, 5, 3, 2, 0};  // total 0 too, with some 3s
            break;
        }
        case MittelNegativ: {
            for (int t = 1; t <= 9; ++t) a[t] = verteilt({7, 5, 1, 1, 0});
            a[x] = verteilt({0, 1, 3, 5, 5});
            if (wuerfel(1)) a[y] = verteilt({1, 1, 4, 4, 4});
            break;
        }
        case Verbunden: {
            for (int t = 1; t <= 9; ++t) a[t] = verteilt({2, 2, 4, 2, 2});
            a[x] = {0, 0, 1, 4 + wuerfel(2), 0};
            a[x][4] = 14 - a[x][2] - a[x][3];
            const std::array<int, 5> gleich = wuerfel(1) ? verteilt({6, 6, 1, 1, 0}) : verteilt({2, 2, 3, 1, 1});
            a[kVerbindung[x][0]] = a[kVerbindung[x][1]] = gleich;
            break;
        }
        case Zufall:
        case kArten:
            for (int t = 1; t <= 9; ++t) a[t] = verteilt({1, 1, 1, 1, 1});
            break;
        }
        return a;
    }

private:
    int wuerfel(int bis) { return static_cast<int>(m_zufall() % static_cast<unsigned>(bis + 1)); }
    int typ() { return 1 + wuerfel(8); }
    int andererTyp(int a, int b = 0) {
        for (;;) {
            const int t = typ();
            if (t != a && t != b) return t;
        }
    }
    // 14 rows spread over the values 0..4 with these weights.
    std::array<int, 5> verteilt(std::array<int, 5> gewicht) {
        std::array<int, 5> a{};
        int summe = 0;
        for (int g : gewicht) summe += g;
        for (int n = 0; n < 14; ++n) {
            int r = wuerfel(summe - 1), v = 0;
            while (r >= gewicht[v]) r -= gewicht[v++];
            ++a[v];
        }
        return a;
    }
    std::mt19937 m_zufall;
};

// ------------------------------------------------------------------ reading the pages

// Evaluation page -> report page.
constexpr std::pair<int, int> kSeiten[] = {{1, 7},  {2, 8},  {3, 9},  {4, 10},  {5, 11},  {6, 12},
                                           {7, 13}, {8, 14}, {9, 15}, {10, 16}, {11, 17}, {12, 18}};

// The words of a text without the layout: blanks, rules and full stops left out.
std::string worte(const std::string& text) {
    std::string out;
    for (char c : vb::Replace(text, vb::String(1, vb::Chr(175)), ""))
        if (c != ' ' && c != '\n' && c != '.') out += c;
    return out;
}

std::vector<std::string> woerter(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    return w;
}

class EineGeschichte : public AuswertTest {
protected:
    using Seite = std::map<int, std::string>;  // line number -> text

    // The types a list of designations names.
    std::set<int> typen(const std::string& liste) const {
        std::set<int> s;
        for (const std::string& w : woerter(liste))
            for (int t = 1; t <= 9; ++t)
                if (w == gTypbezeichnung[t]) s.insert(t);
        return s;
    }
    int typ(const std::string& name) const {
        for (int t = 1; t <= 9; ++t)
            if (vb::Trim(name) == gTypbezeichnung[t]) return t;
        return 0;
    }

    std::map<int, Seite> bericht() {
        gDatenbank->Execute("DELETE * FROM Drucktabelle;");
        DrucktabelleBinden();
        BerichtsseitenSchreiben(false, false, true, false);
        std::map<int, Seite> seiten;
        auto rs = gDatenbank->OpenRecordset("select * from Drucktabelle order by Druckseite, ZeilenNr",
                                            db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext())
            seiten[rs->Fields("Druckseite").Value().toInt()][rs->Fields("ZeilenNr").Value().toInt()] = vb::textOrEmpty(
                rs->Fields("Zeilentext").Value());
        return seiten;
    }

    static std::string ganz(const Seite& s) {
        std::string t;
        for (const auto& [nr, z] : s) t += z + "\n";
        return t;
    }
    static bool sagt(const std::string& text, int label) { return text.find(LabelTxt(label)) != std::string::npos; }

    // One person: made, scored, every page of the window and of the report read and checked.
    void pruefe(const std::string& name, const Anzahlen& a) {
        SCOPED_TRACE(name);
        const Erwartung e(a);
        waehle(person("Vorname", name, a));
        auswertform* f = auswertung();
        ASSERT_NE(f, nullptr);
        std::map<int, std::string> fenster;
        for (;;) {
            std::string t;
            for (const std::string& z : f->Bild1.pageLines(1)) t += z + "\n";
            fenster[f->Seite()] = t;
            if (f->Seite() == f->Seitenanzahl()) break;
            f->SSCommand2_Click();
        }
        // The pages on the main type exist exactly where one type alone leads by 3 and 4.
        EXPECT_EQ(f->Seitenanzahl(), e.hatHaupttyp() ? 12 : 10);
        f->Befehl3_Click();
        // The closed window is deleted by the event loop, which a test of thousands of persons
        // never returns to: without this every window it opened would stay in memory.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const std::map<int, Seite> druck = bericht();

        std::string alles;
        for (const auto& [n, t] : fenster) alles += t;
        for (const auto& [n, s] : druck) alles += ganz(s);

        gleicherWortlaut(fenster, druck);
        stuetze(e, alles);
        if (druck.count(7)) rangfolgeGesamt(e, druck.at(7));
        if (druck.count(10)) schluss34(e, druck.at(10));
        if (druck.count(14)) schluss01(e, druck.at(14));
        if (druck.count(15)) verhaeltnis(e, druck.at(15));
        if (druck.count(16)) vergleich(e, druck.at(16));
        EXPECT_EQ(druck.count(17) != 0, e.hatHaupttyp());
        EXPECT_EQ(druck.count(18) != 0, e.hatHaupttyp());
        if (druck.count(18)) verbindungstypen(e, druck.at(18));
        ++geprueft;
        if (::testing::Test::HasFailure() && ++fehler > 3) GTEST_SKIP() << "stopped after the first persons that fail";
    }

    // The screen says what the report prints, page by page (only the layout differs).
    void gleicherWortlaut(const std::map<int, std::string>& fenster, const std::map<int, Seite>& druck) {
        for (const auto& [seite, druckseite] : kSeiten) {
            SCOPED_TRACE("page " + std::to_string(seite) + " / report page " + std::to_string(druckseite));
            ASSERT_EQ(fenster.count(seite) != 0, druck.count(druckseite) != 0);
            if (!fenster.count(seite)) continue;
            const std::string bei = ganz(druck.at(druckseite));
            const std::string ist = vb::Replace(fenster.at(seite),
                                                "' wurde basierend auf den Antwortwerten '0 bis 4' und '3 bis 4' ", "");
            const std::string soll = worte(bei), w = worte(ist);
            const size_t titel = w.find(soll.substr(0, 12));
            ASSERT_NE(titel, std::string::npos) << ist << "\n---\n" << bei;
            EXPECT_EQ(w.substr(titel), soll) << ist << "\n---\n" << bei;
        }
    }

    // One verdict on the support of the assignment, and none where a top it rests on is shared.
    void stuetze(const Erwartung& e, const std::string& alles) {
        const std::map<int, int> stufe = {{409, 3}, {442, 3}, {411, 2}, {444, 2}, {417, 1}, {391, 0}, {384, 0}};
        std::set<int> gesagt;
        for (const auto& [label, s] : stufe)
            if (sagt(alles, label)) gesagt.insert(s);
        EXPECT_LE(gesagt.size(), 1u) << "support said at different levels\n" << alles;
        if (e.geteilt()) {
            EXPECT_TRUE(gesagt.empty()) << "support stated beside a shared top\n" << alles;
        }
        // Settled only where one type leads alone by total, by 3 and 4, by 4 and by 3, and no other
        // type lies close to the top total.
        if (gesagt.count(3)) {
            const int t = e.T();
            EXPECT_TRUE(t && t == e.S() && Erwartung::allein(e.s4) == t && Erwartung::allein(e.s3) == t &&
                        e.nahe().size() == 1)
                << alles;
        }
    }

    // Report page 7: the types close behind the top total are exactly those that are close.
    void rangfolgeGesamt(const Erwartung& e, const Seite& s) {
        std::set<int> soll;
        for (int t : e.nahe())
            if (e.gesamt[t] != e.spitze) soll.insert(t);
        const std::set<int> ist = s.count(16) ? typen(s.at(16)) : std::set<int>{};
        EXPECT_EQ(ist, soll) << "close behind the top total\n" << ganz(s);
        EXPECT_EQ(typen(s.at(9)), Erwartung::vorn(e.gesamt, true)) << ganz(s);
    }

    // Report page 10: a type named as the leader leads alone where the sentence says it leads.
    void schluss34(const Erwartung& e, const Seite& s) {
        const std::string text = ganz(s);
        for (const auto& [nr, z] : s) {
            if (nr < 21) continue;
            if (z == LabelTxt(408) || z == LabelTxt(414)) {
                EXPECT_EQ(typen(s.at(nr + 1)), std::set<int>{e.S()}) << text;
                EXPECT_NE(e.S(), 0) << text;
            }
            const int S = e.S(), T = e.T();
            if (z == LabelTxt(407)) {
                EXPECT_TRUE(S && S == T) << text;
            }
            if (z == LabelTxt(410)) {
                EXPECT_TRUE(S && Erwartung::allein(e.s4) == S && Erwartung::allein(e.s3) == S) << text;
            }
            if (z == LabelTxt(413)) {
                EXPECT_TRUE(S && S == T && Erwartung::allein(e.s4) == S) << text;
            }
            if (z == LabelTxt(419)) {
                EXPECT_TRUE(S && S == T && Erwartung::allein(e.s3) == S) << text;
            }
            // Several types at the top of 3 and 4 are named together.
            if (z == LabelTxt(437)) {
                EXPECT_EQ(typen(s.at(nr + 1)), Erwartung::vorn(e.s34)) << text;
            }
        }
        if (Erwartung::vorn(e.s34).size() > 1) {
            EXPECT_TRUE(sagt(text, 437) || sagt(text, 392)) << text;
        }
    }

    // Report page 14: a type rejected most alone is so by 0 and 1, by 0 and by 1; lists that name
    // a shared top name all of it.
    void schluss01(const Erwartung& e, const Seite& s) {
        const std::string text = ganz(s);
        const std::set<int> v01 = Erwartung::vorn(e.n01), v0 = Erwartung::vorn(e.n0), v1 = Erwartung::vorn(e.n1);
        const auto vereint = [](std::set<int> a, const std::set<int>& b) {
            a.insert(b.begin(), b.end());
            return a;
        };
        for (const auto& [nr, z] : s) {
            if (nr < 13 || !s.count(nr + 1)) continue;
            const std::set<int> liste = typen(s.at(nr + 1));
            if (z == LabelTxt(427)) {
                EXPECT_EQ(v01.size(), 1u) << text;
                EXPECT_EQ(liste, v01) << text;
                EXPECT_EQ(v0, v01) << text;
                EXPECT_EQ(v1, v01) << text;
            }
            if (z == LabelTxt(430) && !v0.empty() && !v1.empty()) {
                EXPECT_EQ(liste, vereint(v01, v0)) << text;
            }
            if (z == LabelTxt(434) && !v0.empty() && !v1.empty()) {
                EXPECT_EQ(liste, vereint(v01, v1)) << text;
            }
            if (z == LabelTxt(328) || z == LabelTxt(450)) {
                EXPECT_GT(v01.size(), 1u) << text;
                EXPECT_EQ(liste, v01) << text;
            }
        }
        if (sagt(text, 429)) {
            EXPECT_EQ(v01.size(), 1u) << text;
        }
        if (v01.size() > 1) {
            EXPECT_FALSE(sagt(text, 429) || sagt(text, 427)) << text;
        }
    }

    // Report page 15: over a mean of 0 or below the ratio column says nothing.
    void verhaeltnis(const Erwartung& e, const Seite& s) {
        if (e.mittelSumme() > 0) return;
        for (int t = 1; t <= 9; ++t) {
            const std::string& z = s.at(15 + t);
            EXPECT_EQ(vb::Trim(vb::Mid(z, 41, 19)), "") << "a ratio over a mean not above 0: " << z;
        }
    }

    // Report page 16: the types near the top total, and the type a rule names.
    void vergleich(const Erwartung& e, const Seite& s) {
        const std::string text = ganz(s);
        const std::set<int> nahe = e.nahe();
        if (s.at(3) == LabelTxt(315)) {
            EXPECT_EQ(nahe.size(), 1u) << text;
        } else {
            EXPECT_EQ(typen(s.at(7)), nahe) << text;
        }
        if (!s.count(16) || s.at(16) != LabelTxt(438)) return;
        const int x = typ(s.at(17));
        ASSERT_NE(x, 0) << text;
        EXPECT_FALSE(e.geteilt()) << "a rule names a leader beside a shared top\n" << text;
        const int regel = [&] {
            for (int l : {439, 443, 445, 446, 447, 448, 449})
                if (s.at(18) == LabelTxt(l)) return l;
            return 0;
        }();
        const bool g = e.T() == x, s34 = e.S() == x, v4 = Erwartung::allein(e.s4) == x, v3 = Erwartung::allein(e.s3) == x;
        switch (regel) {
        case 439: EXPECT_TRUE(g && s34 && v4) << text; break;
        case 443: EXPECT_TRUE(s34 && v4 && v3) << text; break;
        case 445: EXPECT_TRUE(g && v4 && !v3) << text; break;
        case 446: EXPECT_TRUE(s34 && v4 && !v3) << text; break;
        case 447: EXPECT_TRUE(g && v3 && !v4) << text; break;
        case 448: EXPECT_TRUE(g && s34 && !v4 && !v3) << text; break;
        case 449: EXPECT_TRUE(g && v4 && !s34) << text; break;
        default: ADD_FAILURE() << text;
        }
    }

    // Report page 18: each connected type's note says what its count of ratings 0 and 1 gives,
    // the same for the same count, and "no particular note" only where it says nothing else.
    void verbindungstypen(const Erwartung& e, const Seite& s) {
        const std::string text = ganz(s);
        const int c[2] = {typ(s.at(4)), typ(s.at(19))};
        const int hinweisAb[2] = {15, 30}, hinweisBis[2] = {16, 32};
        std::set<int> niedrig[2];
        for (int i = 0; i < 2; ++i) {
            ASSERT_NE(c[i], 0) << text;
            EXPECT_EQ(s.at(i ? 26 : 11), LabelTxt(350) + " " + vb::Str(e.niedrig[c[i]]) + " " + LabelTxt(351)) << text;
            std::set<int> gesagt;
            for (int nr = hinweisAb[i]; nr <= hinweisBis[i]; ++nr)
                for (int l : {291, 323, 324, 353, 354, 355, 356, 361, 362, 460})
                    if (s.count(nr) && s.at(nr) == LabelTxt(l)) gesagt.insert(l);
            for (int l : {291, 353, 354, 355, 356})
                if (gesagt.count(l)) niedrig[i].insert(l);
            EXPECT_EQ(niedrig[i], Erwartung::niedrigHinweis(e.niedrig[c[i]])) << text;
            EXPECT_EQ(gesagt.count(460) != 0, gesagt.size() == 1 && *gesagt.begin() == 460) << text;
            EXPECT_FALSE(gesagt.empty()) << text;
        }
        if (e.niedrig[c[0]] == e.niedrig[c[1]]) {
            EXPECT_EQ(niedrig[0], niedrig[1]) << text;
        }
    }

    // Whether a person has what its kind is made for.
    static bool kennzeichen(Art a, const Erwartung& e) {
        switch (a) {
        case Gleichstand34: return Erwartung::vorn(e.s34).size() > 1;
        case Ablehnung: return Erwartung::vorn(e.n01).size() > 1;
        case EinPunkt: {
            int zweite = -1000;
            for (int t = 1; t <= 9; ++t)
                if (e.gesamt[t] != e.spitze) zweite = std::max(zweite, e.gesamt[t]);
            return e.T() != 0 && e.spitze - zweite == 1;
        }
        case Dicht: return e.S() != 0 && e.nahe().size() > 1;
        case Negativ: return e.spitze < 0;
        case NullSpitze: return e.spitze == 0;
        case MittelNegativ: return e.mittelSumme() < 0 && e.spitze > 0;
        case Verbunden: {
            const int h = e.S();
            return h && e.gesamt[kVerbindung[h][0]] == e.gesamt[kVerbindung[h][1]] &&
                   e.niedrig[kVerbindung[h][0]] == e.niedrig[kVerbindung[h][1]];
        }
        case Zufall:
        case kArten: return true;
        }
        return true;
    }

    void art(Art a, int anzahl, unsigned seed) {
        Erzeuger erzeuger(seed);
        int typisch = 0;
        for (int i = 0; i < anzahl && fehler <= 3; ++i) {
            const Anzahlen p = erzeuger.person(a);
            typisch += kennzeichen(a, Erwartung(p));
            pruefe(std::string(kArtName[a]) + "_" + std::to_string(i), p);
        }
        EXPECT_GE(geprueft, anzahl);
        // Most persons of a kind are of that kind: the generator makes what the test is named for.
        EXPECT_GE(2 * typisch, anzahl) << typisch << " of " << anzahl;
    }

    int geprueft = 0, fehler = 0;
};

// Persons per kind, in tests of their own so that they run side by side: 1000 each in the suite
// (9000 in all); ZUV_GESCHICHTE_JE_ART=<n> runs n of each kind.
int jeArt() {
    const char* n = std::getenv("ZUV_GESCHICHTE_JE_ART");
    return n && std::atoi(n) > 0 ? std::atoi(n) : 1000;
}

}  // namespace

TEST_F(EineGeschichte, TiesAtTheTopOfThreeAndFourBesideAnotherTotalLeader) { art(Gleichstand34, jeArt(), 1); }
TEST_F(EineGeschichte, TiesOnTheRejectionSide) { art(Ablehnung, jeArt(), 2); }
TEST_F(EineGeschichte, ALeadOfOnePoint) { art(EinPunkt, jeArt(), 3); }
TEST_F(EineGeschichte, AClearLeaderByThreeAndFourWithTotalsClose) { art(Dicht, jeArt(), 4); }
TEST_F(EineGeschichte, EveryTotalBelowZero) { art(Negativ, jeArt(), 5); }
TEST_F(EineGeschichte, ATopTotalOfZero) { art(NullSpitze, jeArt(), 6); }
TEST_F(EineGeschichte, ANegativeMean) { art(MittelNegativ, jeArt(), 7); }
TEST_F(EineGeschichte, ConnectedTypesWithEqualFigures) { art(Verbunden, jeArt(), 8); }
TEST_F(EineGeschichte, RandomRatings) { art(Zufall, jeArt(), 9); }
