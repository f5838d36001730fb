#include "desk/testing/testverwaltung.h"

#include "desk/common/globals.h"
#include "desk/testing/auswertung.h"
#include "desk/testing/item_typ.h"
#include "desk/testing/urteile.h"
#include "desk/common/main_window_port.h"
#include "platform/db/data_control.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/forms/host.h"
#include "platform/vb/strings.h"

#include <map>

namespace {

// What the score arrays were last made from: data file, person and the fingerprint of its answers.
struct Gewertet {
    std::string datei;
    int32_t personId = 0;
    std::string stand;
    bool gueltig = false;
};
Gewertet g_gewertet;

std::map<const void*, Bewertungsbeobachter>& beobachter() {
    static std::map<const void*, Bewertungsbeobachter> b;
    return b;
}

}  // namespace

void LadeTestItemTyp() {
    gItemNummer.clear();
    gTypNummer.clear();
    try {
        if (!gWorkspace2) throw vb::Error(vb::err::ObjectNotSet);
        auto programmDb = gWorkspace2->OpenDatabase(gProgrammDB);
        auto tabelle = zuvtest::ladeItemTypTabelle(*programmDb);
        programmDb->Close();
        gItemNummer = std::move(tabelle.itemNummer);
        gTypNummer = std::move(tabelle.typNummer);
    } catch (const std::exception& e) {
        // Without the table no test can be taken: say so now rather than at the first new person.
        gItemNummer.clear();
        gTypNummer.clear();
        ShowErrorMessage(e);
    }
}

void PruefeAlleAussagenBeantwortet() {
    auto rs = HauptDaten(1).Recordset();
    if (!rs) throw vb::Error(vb::err::ObjectNotSet);
    const int16_t n = zuvtest::ersteUnbeantworteteAussage(*rs);
    if (n == 0) return;
    gAktAussage = n;
    gAntwort = forms::MsgBox(DialogTxt(65) + " " + vb::Str(static_cast<int>(n)) + " " + DialogTxt(66) + "\r\n" +
                                 DialogTxt(67),
                             forms::vbExclamation, DialogTxt(3));
}

void TestAuswerten(bool warnen) {
    // Read before the scoring: answers stored meanwhile make the next comparison differ.
    g_gewertet.gueltig = false;
    const std::string stand = Antwortstand(gAktPersonID);
    for (auto* a : {&gTypgesamtsummeJeTyp, &gTypsumme0JeTyp, &gTypsumme1JeTyp, &gTypsumme01JeTyp, &gTypsumme2JeTyp,
                    &gTypsumme3JeTyp, &gTypsumme4JeTyp, &gTypsumme34JeTyp})
        a->fill(0);
    gAntwortAnzahlJeTyp.clear();
    gAWGesamtJeTyp.fill(0);
    gAntwortAnzahlGesamt.fill(0);

    zuvtest::AuswertCursor c{HauptDaten(1), HauptDaten(2), HauptDaten(3)};
    zuvtest::auswertCursorBinden(c, gDatenbankName, gAktPersonID);
    if (warnen) PruefeAlleAussagenBeantwortet();
    const auto a = zuvtest::punkteBerechnen(c);
    g_gewertet = Gewertet{gDatenbankName, gAktPersonID, stand, true};

    gAktPerson[1] = a.vorname;
    gAktPerson[2] = a.nachname;
    gAktPerson[11] = a.testdatum;
    const auto& p = a.punkte;
    gTypgesamtsummeJeTyp = p.gesamt;
    gTypsumme0JeTyp = p.summe0;
    gTypsumme1JeTyp = p.summe1;
    gTypsumme01JeTyp = p.summe01;
    gTypsumme2JeTyp = p.summe2;
    gTypsumme3JeTyp = p.summe3;
    gTypsumme4JeTyp = p.summe4;
    gTypsumme34JeTyp = p.summe34;
    gAntwortAnzahlJeTyp.flat = p.antwortAnzahl;
    gAWGesamtJeTyp = p.awGesamt;
    gAntwortAnzahlGesamt = p.antwortAnzahlGesamt;
}

void TypRangfolgeBestimmen() {
    // Every list starts empty, so no list shows an earlier person's types.
    for (RangListe* l : rangListen()) l->fill("");
    gVergleichTypen.fill("");
    gSpitzenwertTypgesamtsumme = 0;
    gSpitzenwertTypsumme34 = 0;

    zuvtest::Rangfolge r;
    // The walks' lists and top scores are kept as far as they got, also after a failure.
    auto walksUebernehmen = [&r] {
        gRang1Typgesamtsumme = r.rang1Gesamt;
        gRang2Typgesamtsumme = r.rang2Gesamt;
        gRang1Typsumme34 = r.rang1Summe34;
        gRang2Typsumme34 = r.rang2Summe34;
        gSpitzenwertTypgesamtsumme = r.spitzeGesamt;
        gSpitzenwertTypsumme34 = r.spitzeSumme34;
        gAnzahlRang1 = r.anzahlRang1;
    };
    try {
        r = zuvtest::typRangfolgeBestimmen(HauptDaten(2), gDatenbankName, gAktPersonID, gSensitivity1, &r);
    } catch (...) {
        // No decision from a failed ranking: no main type, the short page count.
        walksUebernehmen();
        gHaupttyp = 0;
        gHaupttypEindeutig = 0;
        gSeitenanzahl = 10;
        throw;
    }
    walksUebernehmen();
    gHaupttyp = r.haupttyp;
    // Whether the person has a main type, and so the pages on it, is the verdicts' to say, from
    // the result rows the scoring has just written.
    const urteil::Befund b = urteil::befundDerPerson();
    gHaupttypEindeutig = urteil::haupttypEindeutig(b) ? 1 : 0;
    gSeitenanzahl = static_cast<int16_t>(urteil::seitenanzahl(b));
    gRang1Gleich = r.rang1Gleich;
    gRang1GleichWert = r.rang1GleichWert;
}

void PersonFuerErgebnisfensterAuswerten() {
    try {
        TestAuswerten();
        TypRangfolgeBestimmen();
    } catch (const vb::Error& e) {
        if (e.number() != vb::err::NoCurrentRecord) throw;
        // A person deleted by another program is named as such, not as one with rows missing.
        bool personDa = true;
        try {
            if (gDatenbank)
                personDa = gDatenbank
                               ->OpenRecordset("select personid from persdat where personid = " +
                                                   std::to_string(gAktPersonID),
                                               db::RecordsetType::Snapshot)
                               ->RecordCount() != 0;
        } catch (const vb::Error&) {
        }
        throw vb::Error(e.number(), DialogTxt(personDa ? 122 : 82));
    }
}

// ==================================================================== windows that follow the answers

std::string Antwortstand(int32_t personId) {
    if (!gDatenbank) return {};
    auto rs = gDatenbank->OpenRecordset(
        "select itemnummer, typnummer, typrealwert from typwertzuweisung where personid = " + std::to_string(personId),
        db::RecordsetType::Snapshot);
    std::string stand;
    stand.reserve(1200);
    for (; !rs->Eof(); rs->MoveNext()) {
        for (int i = 0; i < 3; ++i) {
            const vb::Variant v = rs->Fields(i).Value();
            stand += v.isNull() || v.isEmpty() ? std::string("-") : vb::CStr(v);
            stand += i < 2 ? ':' : ';';
        }
    }
    return stand;
}

std::string AuswertungNachfuehren() {
    if (!gDatenbank) return g_gewertet.stand;
    const std::string jetzt = Antwortstand(gAktPersonID);
    if (!g_gewertet.gueltig || g_gewertet.personId != gAktPersonID || g_gewertet.datei != gDatenbankName ||
        g_gewertet.stand != jetzt) {
        TestAuswerten(false);
        TypRangfolgeBestimmen();
    }
    return g_gewertet.stand;
}

std::string ErgebnisfensterAntwortstand(int32_t personId) {
    try {
        return Antwortstand(personId);
    } catch (const std::exception&) {
        return {};
    }
}

EigeneAuswertung PersonFuerSichAuswerten(int32_t personId) {
    EigeneAuswertung e;
    e.antwortstand = Antwortstand(personId);
    db::DataControl zeilen, ergebnis, person;
    const zuvtest::AuswertCursor c{zeilen, ergebnis, person};
    zuvtest::auswertCursorBinden(c, gDatenbankName, personId);
    e.auswertung = zuvtest::punkteBerechnen(c);
    // The score arrays of the current person stay, but they no longer match its result rows when
    // that person is the one scored here.
    if (personId == g_gewertet.personId) g_gewertet.gueltig = false;
    return e;
}

void BewertungsbeobachterEintragen(const void* schluessel, Bewertungsbeobachter b) {
    beobachter()[schluessel] = std::move(b);
}

void BewertungsbeobachterAustragen(const void* schluessel) { beobachter().erase(schluessel); }

void BewertungenGespeichert(int32_t personId) {
    // A copy: a window told may close itself or open another.
    const auto alle = beobachter();
    for (const auto& [schluessel, b] : alle)
        if (beobachter().count(schluessel)) b(personId);
}
