// What the verdict pages say holds together, read from the pages' own texts, for many generated
// persons of every kind: the pages that name a main type name the same one or say why they do
// not, nothing is called settled where the list it rests on holds a tie, and no type a sentence
// calls stronger than the main type is said to lie a small distance below it.

#include <sstream>

#include "auswert_fixture.h"
#include "desk/reports/druckseiten.h"
#include "desk/reports/druckzeile.h"
#include "desk/testing/rangfolge.h"
#include "golden_personen.h"

using namespace auswert_test;

namespace {

using Zeilen = std::vector<std::string>;

bool beginnt(const std::string& z, int label) { return z.rfind(LabelTxt(label), 0) == 0; }
std::string nach(const std::string& z, int label) { return vb::Trim(z.substr(LabelTxt(label).size())); }

// The types a list of designations names; 0 for a word that is none.
std::vector<int> typen(const std::string& liste) {
    std::vector<int> out;
    std::istringstream in(vb::Replace(liste, ".", " "));
    for (std::string w; in >> w;) {
        int typ = 0;
        for (int t = 1; t <= 9; ++t)
            if (gTypbezeichnung[t] == w) typ = t;
        out.push_back(typ);
    }
    return out;
}
int typ(const std::string& name) {
    const std::vector<int> t = typen(name);
    return t.size() == 1 ? t[0] : 0;
}

// What one of the pages on the main type says about it: its main type, and the reason it gives
// when the comparison named another type (381) or none (325).
struct Haupttypseite {
    bool da = false;
    int haupttyp = 0;
    int grund = 0;       // 0, 325 or 381
    int andererTyp = 0;  // the type named with 381
};

class Eigenschaften : public AuswertTest {
protected:
    std::map<int, std::map<int, std::string>> bericht() {
        gDatenbank->Execute("DELETE * FROM Drucktabelle;");
        DrucktabelleBinden();
        BerichtsseitenSchreiben(true, false, true, false);
        std::map<int, std::map<int, std::string>> seiten;
        auto rs = gDatenbank->OpenRecordset("select * from Drucktabelle order by Druckseite, ZeilenNr",
                                            db::RecordsetType::Snapshot);
        for (; !rs->Eof(); rs->MoveNext())
            seiten[rs->Fields("Druckseite").Value().toInt()][rs->Fields("ZeilenNr").Value().toInt()] = vb::textOrEmpty(
                rs->Fields("Zeilentext").Value());
        return seiten;
    }

    static bool hat(const Zeilen& seite, int label) {
        for (const std::string& z : seite)
            if (z == LabelTxt(label)) return true;
        return false;
    }
    static bool hat(const std::map<int, std::string>& seite, int label) {
        for (const auto& [nr, z] : seite)
            if (z == LabelTxt(label)) return true;
        return false;
    }

    static Haupttypseite fensterseite11(const Zeilen& z) {
        Haupttypseite h;
        for (const std::string& l : z) {
            if (beginnt(l, 325)) h.grund = 325;
            if (beginnt(l, 381)) h.grund = 381, h.andererTyp = typ(nach(l, 381));
            if (beginnt(l, 337)) {
                h.da = true;
                h.haupttyp = typrang::obererNachbar(typen(nach(l, 337)).at(0));
            }
        }
        return h;
    }

    void pruefe(const std::string& name, const Anzahlen& a) {
        SCOPED_TRACE(name);
        waehle(person("Vorname", name, a));
        auswertform* f = auswertung();
        ASSERT_NE(f, nullptr);
        std::map<int, Zeilen> s;
        std::string alles;
        for (;;) {
            s[f->Seite()] = f->Bild1.pageLines(1);
            alles += text(*f) + "----\n";
            if (f->Seite() == f->Seitenanzahl()) break;
            f->SSCommand2_Click();
        }
        f->Befehl3_Click();
        auto d = bericht();
        SCOPED_TRACE(alles);
        const auto haupt = [](int t) { return static_cast<int>(gTypgesamtsummeJeTyp[t]); };

        // ---- the main type
        const Haupttypseite s11 = s.count(11) ? fensterseite11(s[11]) : Haupttypseite{};
        int s4 = 0, anzahl4 = 0;
        for (const std::string& l : s[4])
            if (beginnt(l, 408)) {
                const auto t = typen(nach(l, 408));
                anzahl4 = static_cast<int>(t.size());
                if (anzahl4 == 1) s4 = t[0];
            }
        if (anzahl4 == 1) {
            ASSERT_TRUE(s11.da) << "page 4 names one main type, but there is no page 11";
            EXPECT_EQ(s4, s11.haupttyp);
        }
        int s10 = 0;
        for (const std::string& l : s[10])
            if (beginnt(l, 438))
                s10 = typ(l.substr(LabelTxt(438).size(), l.find('\'', LabelTxt(438).size()) - LabelTxt(438).size()));
        if (s11.da) {
            if (s10 == s11.haupttyp) {
                EXPECT_EQ(s11.grund, 0);
            } else if (s10 == 0) {
                EXPECT_EQ(s11.grund, 325);
            } else {
                EXPECT_TRUE(s11.grund == 381 && s11.andererTyp == s10);
            }
            // Page 12 gives the same reason.
            bool grund12 = false;
            for (const std::string& l : s[12]) grund12 = grund12 || beginnt(l, 325) || beginnt(l, 381);
            EXPECT_EQ(grund12, s11.grund != 0);
        }

        // The report: page 10's main type, page 16's, and page 17's reason.
        Haupttypseite d17;
        if (d.count(17)) {
            d17.da = true;
            const std::string& z2 = d[17][2];
            if (beginnt(z2, 325)) d17.grund = 325;
            if (beginnt(z2, 381)) d17.grund = 381, d17.andererTyp = typen(nach(z2, 381)).at(0);
            d17.haupttyp = typrang::obererNachbar(typen(d[17][4]).at(0));
        }
        EXPECT_EQ(d17.da, s11.da);
        if (d17.da) {
            EXPECT_EQ(d17.haupttyp, s11.haupttyp);
        }
        for (const auto& [nr, z] : d[10])
            if (z == LabelTxt(408)) {
                const auto t = typen(d[10][nr + 1]);
                if (t.size() == 1) {
                    ASSERT_TRUE(d17.da);
                    EXPECT_EQ(t[0], d17.haupttyp);
                }
                // (c) a settled assignment stands beside one type only
                if (t.size() > 1) {
                    EXPECT_FALSE(hat(d[10], 409) || hat(d[10], 442));
                }
            }
        const int d16 = d[16][16] == LabelTxt(438) ? typ(d[16][17]) : 0;
        if (d17.da) {
            if (d16 == d17.haupttyp) {
                EXPECT_EQ(d17.grund, 0);
            } else if (d16 == 0) {
                EXPECT_EQ(d17.grund, 325);
            } else {
                EXPECT_TRUE(d17.grund == 381 && d17.andererTyp == d16);
            }
        }

        // ---- nothing settled beside a tie
        if (anzahl4 > 1) {
            EXPECT_FALSE(hat(s[4], 409));
        }
        // Page 10 lists several types near the top total.
        if (hat(s[10], 319)) {
            EXPECT_FALSE(hat(s[10], 409) || hat(s[10], 442));
        }
        if (d[16][3] == LabelTxt(319)) {
            EXPECT_FALSE(hat(d[16], 409) || hat(d[16], 442));
        }
        for (size_t i = 0; i + 1 < s[8].size(); ++i)
            if (s[8][i] == LabelTxt(427) || s[8][i] == LabelTxt(430) || s[8][i] == LabelTxt(434))
                if (typen(s[8][i + 1]).size() > 1) {
                    EXPECT_FALSE(hat(s[8], 429));
                }
        for (const auto& [nr, z] : d[14])
            if (z == LabelTxt(427) || z == LabelTxt(430) || z == LabelTxt(434))
                if (typen(d[14][nr + 1]).size() > 1) {
                    EXPECT_FALSE(hat(d[14], 429));
                }
        // ---- no type stands first by ratings nobody gave
        const std::pair<int, int16_t> spitzen[] = {{2, gSpitzenwertTypsumme4},  {3, gSpitzenwertTypsumme3},
                                                   {4, gSpitzenwertTypsumme34}, {5, gSpitzenwertTypsumme2},
                                                   {6, gSpitzenwertTypsumme1},  {7, gSpitzenwertTypsumme0},
                                                   {8, gSpitzenwertTypsumme01}};
        for (const auto& [seite, spitze] : spitzen) {
            SCOPED_TRACE("page " + std::to_string(seite));
            EXPECT_EQ(hat(s[seite], typrang::kKeinerMitDiesemWert), spitze == 0);
            EXPECT_EQ(hat(d[seite + 6], typrang::kKeinerMitDiesemWert), spitze == 0);
        }
        // ---- no small distance for a type above the main type
        if (s11.da) {
            const int m = s11.haupttyp;
            for (size_t i = 0; i + 1 < s[11].size(); ++i)
                if (beginnt(s[11][i], 338)) {
                    const int fluegel = typen(nach(s[11][i], 338)).at(0);
                    for (size_t j = i + 1; j < s[11].size(); ++j)
                        if (beginnt(s[11][j], 340)) {
                            if (haupt(fluegel) > haupt(m)) {
                                EXPECT_EQ(nach(s[11][j], 340), LabelTxt(322));
                            }
                            break;
                        }
                }
            // The second connected type's distance is the last of the page.
            std::string abstand2;
            for (const std::string& l : s[12])
                if (beginnt(l, 359)) abstand2 = nach(l, 359);
            if (hat(s[12], 323)) {
                EXPECT_EQ(abstand2, LabelTxt(322));
            }
            for (int ab : {9, 17}) {
                const int fluegel = typen(nach(d[17][ab], 338)).at(0);
                if (haupt(fluegel) > haupt(m)) {
                    EXPECT_EQ(d[17][ab + 4], LabelTxt(322));
                }
            }
            if (d[18][30] == LabelTxt(323)) {
                EXPECT_EQ(d[18][24], LabelTxt(322));
            }
        }
        geprueft += 1;
    }
    int geprueft = 0;
};

}  // namespace

TEST_F(Eigenschaften, VerdictPagesAgreeOnTheMainTypeCallNoTieSettledAndNoStrongerTypeClose) {
    for (const Person& p : kBesonderePersonen) pruefe(p.name, p.anzahlen);
    for (const Person& p : kRegelPersonen) pruefe(p.name, p.anzahlen);
    for (const Erzeugt& p : erzeugtePersonen(1500, 4711)) {
        pruefe(p.name, p.anzahlen);
        if (HasFailure()) break;
    }
    EXPECT_GE(geprueft, 1500);
}
