#include "desk/testing/rangfolge.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "desk/common/main_window_port.h"
#include "platform/db/data_control.h"
#include "platform/db/recordset.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"

namespace typrang {

std::string verbunden(const RangListe& liste) {
    std::string text;
    for (int i = 1; i <= 9; ++i)
        if (!liste[i].empty()) text += " " + liste[i];
    return text;
}

std::string alleNeun(const RangListe& liste, bool rechtsKuerzen) {
    std::string text;
    for (int i = 1; i <= 9; ++i) {
        if (i > 1) text += " ";
        text += rechtsKuerzen ? vb::RTrim(liste[i]) : liste[i];
    }
    return text;
}

std::string vereinigt(const RangListe& x, const RangListe& y) {
    std::string text = verbunden(x);
    std::vector<std::string> genannt;
    for (int i = 1; i <= 9; ++i)
        if (!x[i].empty()) genannt.push_back(x[i]);
    for (int i = 1; i <= 9; ++i) {
        if (y[i].empty()) continue;
        bool schon = false;
        for (const std::string& g : genannt) schon = schon || g == y[i];
        if (schon) continue;
        genannt.push_back(y[i]);
        text += " " + y[i];
    }
    return text;
}

bool inGruppe1(const std::string& bezeichnung, const RangListe& liste) {
    if (bezeichnung.empty()) return false;
    for (int i = 1; i <= 9; ++i)
        if (liste[i] == bezeichnung) return true;
    return false;
}

bool alleLeer(const RangListe& liste) {
    for (int i = 1; i <= 9; ++i)
        if (!liste[i].empty()) return false;
    return true;
}

int anzahlEintraege(const RangListe& liste) {
    int n = 0;
    for (int i = 1; i <= 9; ++i) n += !liste[i].empty();
    return n;
}

std::string ergebnisAbfrage(const char* ordnung) {
    return "select * from ergebnis  where personid = " + vb::Str(static_cast<long>(gAktPersonID)) + ordnung;
}

double naehe(int wert, int spitze) {
    if (spitze > 0) return static_cast<double>(wert) / spitze;
    if (spitze == 0) return wert == 0 ? 1.0 : -std::numeric_limits<double>::infinity();
    return 1.0 - (static_cast<double>(spitze) - wert) / -static_cast<double>(spitze);
}

bool nahe(int wert, int spitze, double schwelle, bool gleichZaehlt) {
    const double q = naehe(wert, spitze);
    return gleichZaehlt ? q >= schwelle : q > schwelle;
}

int16_t rangfolgeBilden(const Rangfolge& art, RangListe& rang1, RangListe& rang2, int16_t& spitzenwert) {
    db::Recordset& rs = DatenBinden(HauptDaten(2), gDatenbankName, ergebnisAbfrage(art.ordnung));
    rs.MoveFirst();
    spitzenwert = rs.Fields(art.feld).Value().toInt();
    const int16_t ersterTyp = rs.Fields("TypNummer").Value().toInt();
    const double schwelle = gSensitivity1;  // single precision, widened: 0.85 acts as 0.8500000238
    const int spitze = art.betrag ? std::abs(spitzenwert) : spitzenwert;
    // One row per type: the lists hold positions 1 to 9, so a tenth row would have no place.
    for (int z = 1; !rs.Eof() && z <= 9; ++z) {
        const int16_t roh = rs.Fields(art.feld).Value().toInt();
        const int wert = art.betrag ? std::abs(roh) : roh;
        const std::string typ = vb::Str(static_cast<int>(rs.Fields("TypNummer").Value().toInt()));
        if (wert == spitze) {
            rang1[10 - z] = typ;
        } else {
            if (!nahe(wert, spitze, schwelle, art.gleichZaehlt)) break;
            rang2[10 - z] = typ;
        }
        rs.MoveNext();
    }
    return ersterTyp;
}

int16_t summe16(int a, int b) {
    const int s = a + b;
    if (s < -32768 || s > 32767) throw vb::Error(vb::err::Overflow);
    return static_cast<int16_t>(s);
}

int16_t anzahlSpitzeGesamt() {
    int16_t n = 0;
    for (int t = 1; t <= 9; ++t)
        if (gTypgesamtsummeJeTyp[t] == gSpitzenwertTypgesamtsumme) ++n;
    return n;
}

void rangfolgenVergleichen() {
    gRang2Typgesamtsumme.fill("");
    gRang1Typgesamtsumme.fill("");
    gRang2Typsumme34.fill("");
    gRang1Typsumme34.fill("");
    gVergleichTypen.fill("");
    rangfolgeBilden({"TypGesamtSumme", " order by typgesamtsumme desc", false, false}, gRang1Typgesamtsumme,
                    gRang2Typgesamtsumme, gSpitzenwertTypgesamtsumme);
    gAnzahlRang1 = anzahlSpitzeGesamt();
    gVergleichTyp = rangfolgeBilden({"TypSumme34", " order by typsumme34 desc", false, true}, gRang1Typsumme34,
                                    gRang2Typsumme34, gSpitzenwertTypsumme34);
    gVergleichLauf = 1;
    for (int t = 1; t <= 9; ++t) {
        // Kept in single precision: 17 of 20 is not above 0.85.
        const bool dicht = static_cast<float>(naehe(gTypgesamtsummeJeTyp[t], gSpitzenwertTypgesamtsumme)) > gSensitivity1;
        if (dicht) gVergleichTypen[t] = gTypbezeichnung[t];
        else ++gVergleichLauf;
    }
}

// ---------------------------------------------------------------- main type

std::vector<int> haupttypTreffer() {
    const std::string& e = gRang1Typsumme34[9];
    if (e == gTypbezeichnung[1]) return {1};
    if (e == gTypbezeichnung[9]) return {9};
    std::vector<int> treffer;
    for (int k = 2; k <= 8; ++k)
        if (vb::Trim(e) == gTypbezeichnung[k]) treffer.push_back(k);
    // The ranking of another window's command may have run since the lists got their designations.
    if (treffer.empty() && !e.empty())
        for (int k = 1; k <= 9; ++k)
            if (e == vb::Str(k)) treffer.push_back(k);
    return treffer;
}

int untererNachbar(int typ) {
    if (typ < 1 || typ > 9) throw vb::Error(vb::err::SubscriptOutOfRange);
    return typ == 1 ? 9 : typ - 1;
}

int obererNachbar(int typ) {
    if (typ < 1 || typ > 9) throw vb::Error(vb::err::SubscriptOutOfRange);
    return typ == 9 ? 1 : typ + 1;
}

Verbindung verbindungstypen(int haupttyp) {
    // Along 1-7-5-8-2-4-1 and 3-6-9-3: the type that follows the main type and the one before it.
    static constexpr int kVerbindung[10][2] = {{0, 0}, {7, 4}, {4, 8}, {6, 9}, {1, 2},
                                               {8, 7}, {9, 3}, {5, 1}, {2, 5}, {3, 6}};
    if (haupttyp < 1 || haupttyp > 9) throw vb::Error(vb::err::SubscriptOutOfRange);
    return {kVerbindung[haupttyp][0], kVerbindung[haupttyp][1]};
}

int abstandUrteil(int haupt, int anderer) {
    // A main type below the other outweighs it by nothing, whatever the signs of the totals.
    if (anderer > haupt) return kLiegtDarueber;
    const double r = verhaeltnis(haupt, anderer);
    if (r > 2.0) return 341;
    if (r >= 1.4) return 311;
    return 342;
}

double verhaeltnis(double x, double y) {
    if (x > 0 && y > 0) return x / y;
    if (x < 0 && y < 0) return y / x;
    if (x == y) return 1.0;
    return x > y ? std::numeric_limits<double>::infinity() : 0.0;
}

int staerkererFluegel(double q, int unterer, int oberer) {
    if (q >= 1.3) return unterer;
    if (q < 0.8) return oberer;
    return 0;
}

int16_t niedrigeAntworten(int typ) { return summe16(gAntwortAnzahlJeTyp[typ + 10], gAntwortAnzahlJeTyp[typ + 20]); }

Hinweis niedrigHinweis(int anzahl) {
    if (anzahl >= 12) return {355, 356};
    if (anzahl >= 10) return {354, 291};
    if (anzahl >= 5) return {353, 291};
    return {0, 0};
}

int zweiterVerbindungstypUrteil(double q) {
    if (q < 1.0) return 323;
    if (q == 1.0) return 324;
    if (q < 1.2) return 362;
    if (q < 1.4) return 361;
    return 0;
}

// ---------------------------------------------------------------- deviation from the mean

float typsummenMittel(const std::array<int16_t, 10>& gesamt) {
    int16_t summe = 0;
    for (int t = 1; t <= 9; ++t) summe = summe16(summe, gesamt[t]);
    return static_cast<float>(static_cast<double>(summe) / 9.0);
}

float typsummenMittel() { return typsummenMittel(gTypgesamtsummeJeTyp); }

int niveauUrteil(float jeAussage) {
    if (jeAussage < 1.9f) return 304;
    if (jeAussage <= 2.3f) return 306;
    return 305;
}

int abweichungsKlasse(float gesamt, float mittel) {
    if (mittel == 0.0f) return 0;
    // Rounded once from double: taken from the single quotient, 20 against 25 would lie just
    // inside -0.2 and miss the class its bound gives.
    const double x = gesamt, m = mittel;
    const float relativ = static_cast<float>(m > 0.0 ? x / m - 1.0 : (x - m) / std::fabs(m));
    if (relativ >= gSensitivity2) return 310;
    if (relativ <= gSensitivity1) return 312;
    return 311;
}

}  // namespace typrang
