#pragma once

// Data files of many persons for the figures at scale. A file is made once per size and kept in
// the build folder (ZUV_BENCH_DATEN), under a name that carries the number of persons and a hash
// of the schema the program itself makes: the empty file comes from the main window's own "new
// data file", and its rows are then written straight through SQLite in one transaction, person
// by person, with every row a person has (1 + 109 + 126 + 9). A file whose owner is not the
// running login, or whose schema is not the program's any more, is made anew.

#include <sqlite3.h>

#include <QCryptographicHash>

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "desk/common/globals.h"
#include "desk/frame/frm_mdi.h"
#include "desk/testing/item_typ.h"
#include "platform/db/engine.h"
#include "platform/forms/form.h"

namespace bench {

namespace grosse_datei_detail {

namespace fs = std::filesystem;

struct Roh {
    sqlite3* db = nullptr;
    explicit Roh(const std::string& pfad, int flags = SQLITE_OPEN_READWRITE) {
        if (sqlite3_open_v2(pfad.c_str(), &db, flags, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + pfad);
    }
    ~Roh() { sqlite3_close_v2(db); }
    void exec(const std::string& sql) const {
        char* fehler = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &fehler) != SQLITE_OK) {
            const std::string text = fehler ? fehler : "?";
            sqlite3_free(fehler);
            throw std::runtime_error(sql.substr(0, 60) + ": " + text);
        }
    }
    // The text of the first column of the first row of `sql` ("" when there is none).
    std::string text(const std::string& sql) const {
        sqlite3_stmt* s = nullptr;
        std::string out;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW &&
            sqlite3_column_text(s, 0))
            out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        sqlite3_finalize(s);
        return out;
    }
};

struct Anweisung {
    sqlite3_stmt* s = nullptr;
    Anweisung(const Roh& r, const char* sql) {
        if (sqlite3_prepare_v2(r.db, sql, -1, &s, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sql) + ": " + sqlite3_errmsg(r.db));
    }
    ~Anweisung() { sqlite3_finalize(s); }
    void text(int i, const std::string& t) const { sqlite3_bind_text(s, i, t.c_str(), -1, SQLITE_TRANSIENT); }
    void zahl(int i, int64_t v) const { sqlite3_bind_int64(s, i, v); }
    void leer(int i) const { sqlite3_bind_null(s, i); }
    void aus(const Roh& r) const {
        if (sqlite3_step(s) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(r.db));
        sqlite3_reset(s);
    }
};

// What sets a file apart from another made by this generator: its schema, as the program made it.
inline std::string schemaKennung(const Roh& r) {
    const std::string schema = r.text(
        "SELECT group_concat(type || ' ' || name || ' ' || coalesce(sql, ''), char(10)) FROM "
        "(SELECT * FROM sqlite_schema ORDER BY type, name)");
    // The generator's own version goes into the name too: a change of the rows it writes is a new file.
    const QByteArray h = QCryptographicHash::hash(QByteArray::fromStdString("personen 1\n" + schema),
                                                  QCryptographicHash::Sha256);
    return h.left(6).toHex().toStdString();
}

inline const std::vector<std::string>& nachnamen() {
    static const std::vector<std::string> n = {
        "Müller",    "Schmidt",  "Schneider", "Fischer",    "Weber",   "Meyer",    "Wagner",     "Becker",
        "Schulz",    "Hoffmann", "Schäfer",   "Koch",       "Bauer",   "Richter",  "Klein",      "Wolf",
        "Schröder",  "Neumann",  "Schwarz",   "Zimmermann", "Braun",   "Krüger",   "Hofmann",    "Hartmann",
        "Lange",     "Schmitt",  "Werner",    "Schmitz",    "Krause",  "Meier",    "Lehmann",    "Schmid",
        "Schulze",   "Maier",    "Köhler",    "Herrmann",   "König",   "Walter",   "Mayer",      "Huber",
        "Kaiser",    "Fuchs",    "Peters",    "Lang",       "Scholz",  "Möller",   "Weiß",       "Jung",
        "Hahn",      "Schubert", "Vogel",     "Friedrich",  "Keller",  "Günther",  "Frank",      "Berger",
        "Winkler",   "Roth",     "Beck",      "Lorenz",     "Baumann", "Franke",   "Albrecht",   "Schuster",
        "Simon",     "Ludwig",   "Böhm",      "Winter",     "Kraus",   "Martin",   "Schumacher", "Krämer",
        "Vogt",      "Stein",    "Jäger",     "Otto",       "Sommer",  "Groß",     "Seidel",     "Heinrich",
        "Brandt",    "Haas",     "Schreiber", "Graf",       "Schulte", "Dietrich", "Ziegler",    "Kuhn",
        "Kühn",      "Pohl",     "Engel",     "Horn",       "Busch",   "Bergmann", "Thomas",     "Voigt",
        "Sauer",     "Arnold",   "Wolff",     "Pfeiffer",   "Özdemir", "Ähnlich",  "Übel",       "ter Horst",
        "von Ärzen", "d'Alton",  "Mc Intosh", "Straßer",    "Çelik",   "Ølberg"};
    return n;
}

inline const std::vector<std::string>& vornamen() {
    static const std::vector<std::string> n = {"Anna",    "Maria",   "Elisabeth", "Ursula", "Monika", "Petra",
                                               "Sabine",  "Claudia", "Susanne",   "Andrea", "Julia",  "Katharina",
                                               "Lea",     "Jürgen",  "Peter",     "Hans",   "Klaus",  "Wolfgang",
                                               "Michael", "Thomas",  "Andreas",   "Stefan", "Frank",  "Jörg",
                                               "Uwe",     "Björn",   "Sören",     "Günter", "Lukas",  "Jonas",
                                               "Felix",   "Max",     "Paul",      "Leon",   "Zoë",    "Renée",
                                               "Chloé",   "Hannah",  "Emil",      "Ida"};
    return n;
}

inline std::string datum(std::mt19937& z, int vonJahr, int bisJahr) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", int(z() % 28 + 1), int(z() % 12 + 1),
                  int(vonJahr + z() % (bisJahr - vonJahr + 1)));
    return text;
}

// Writes `personen` persons into the empty data file at `pfad`, with the statement-to-type table
// the program loaded. Every answer is given, except the last ones of every 97th person.
inline void fuellen(const std::string& pfad, int personen) {
    if (gItemNummer.size() != 126 || gTypNummer.size() != 126) throw std::runtime_error("no item-type table");
    Roh r(pfad);
    // The file is thrown away when this fails, so it needs no journal while it is filled.
    r.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-262144; BEGIN");
    Anweisung pers(r,
                   "INSERT INTO PersDat (PersonID, Vorname, Nachname, Geburtstag, Strasse, PLZOrt, Land, Telefon, "
                   "EMail, Testdatum, Bereich, Abteilung, Bemerkung, Metasatz) "
                   "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, 0)");
    Anweisung antwort(r, "INSERT INTO PersonTestErgebnis (PersonID, ItemNummer, ItemWert) VALUES (?1, ?2, ?3)");
    Anweisung typwert(r,
                      "INSERT INTO TypWertZuweisung (PersonID, ItemNummer, TypNummer, TypRealWert) "
                      "VALUES (?1, ?2, ?3, ?4)");
    Anweisung ergebnis(r,
                       "INSERT INTO Ergebnis (PersonID, TypNummer, TypGesamtSumme, TypSumme0, TypSumme1, TypSumme01, "
                       "TypSumme2, TypSumme3, TypSumme4, TypSumme34, AW0, AW1, AW2, AW3, AW4, AWGesamt) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)");
    std::mt19937 z(20260308);
    const auto& nn = nachnamen();
    const auto& vn = vornamen();
    for (int id = 1; id <= personen; ++id) {
        pers.zahl(1, id);
        pers.text(2, vn[z() % vn.size()]);
        pers.text(3, nn[z() % nn.size()]);
        pers.text(4, datum(z, 1940, 2005));
        pers.text(5, "Lindenstraße " + std::to_string(z() % 120 + 1));
        pers.text(6, std::to_string(10000 + z() % 89999) + " Musterstadt");
        pers.text(7, "Deutschland");
        pers.text(8, "0" + std::to_string(100000000 + z() % 899999999));
        pers.text(9, "person" + std::to_string(id) + "@example.org");
        pers.text(10, datum(z, 2015, 2026));
        if (id % 3 == 0) pers.text(11, "Beratung");
        else pers.leer(11);
        if (id % 5 == 0) pers.text(12, "Abteilung " + std::to_string(id % 17));
        else pers.leer(12);
        if (id % 7 == 0) pers.text(13, "Zweiter Test nach einem Jahr vereinbart.");
        else pers.leer(13);
        pers.aus(r);

        const int beantwortet = id % 97 == 0 ? 60 : 109;
        std::array<int, 110> wert{};
        for (int i = 1; i <= 109; ++i) {
            wert[i] = i <= beantwortet ? int(z() % 5) : -1;
            antwort.zahl(1, id);
            antwort.zahl(2, i);
            if (wert[i] < 0) antwort.leer(3);
            else antwort.zahl(3, wert[i]);
            antwort.aus(r);
        }
        // Sums per type as the scoring makes them: 0 counts -2, 1 counts -1, 2, 3 and 4 themselves.
        std::array<std::array<int, 5>, 10> anzahl{};
        for (size_t k = 0; k < 126; ++k) {
            const int aussage = gItemNummer[k], typ = gTypNummer[k];
            vb::Variant real;
            const vb::Variant w = wert[aussage] < 0 ? vb::Variant::null() : vb::Variant(int16_t(wert[aussage]));
            if (!zuvtest::typRealWert(aussage, typ, w, real)) real = vb::Variant::null();
            typwert.zahl(1, id);
            typwert.zahl(2, aussage);
            typwert.zahl(3, typ);
            if (real.isNull()) typwert.leer(4);
            else {
                typwert.zahl(4, real.toInt());
                if (typ >= 1 && typ <= 9 && real.toInt() >= 0 && real.toInt() <= 4) ++anzahl[typ][real.toInt()];
            }
            typwert.aus(r);
        }
        for (int typ = 1; typ <= 9; ++typ) {
            const auto& a = anzahl[typ];
            const int s0 = -2 * a[0], s1 = -a[1], s2 = 2 * a[2], s3 = 3 * a[3], s4 = 4 * a[4];
            const int werte[] = {
                s0 + s1 + s2 + s3 + s4,          s0, s1, s0 + s1, s2, s3, s4, s3 + s4, a[0], a[1], a[2], a[3], a[4],
                a[0] + a[1] + a[2] + a[3] + a[4]};
            ergebnis.zahl(1, id);
            ergebnis.zahl(2, typ);
            for (int k = 0; k < 14; ++k) ergebnis.zahl(3 + k, werte[k]);
            ergebnis.aus(r);
        }
    }
    r.exec("COMMIT");
    // As every data file of the program: its journal in a write-ahead log.
    r.exec("PRAGMA journal_mode=WAL");
}

}  // namespace grosse_datei_detail

// The path of a data file of `personen` persons (see above). The program must be started (its
// main window loaded, the statement-to-type table read); no data file is open afterwards.
inline std::string grosseDatei(int personen) {
    namespace d = grosse_datei_detail;
    namespace fs = std::filesystem;
    const fs::path ordner(ZUV_BENCH_DATEN);
    fs::create_directories(ordner);
    // The empty file as the program makes it.
    const std::string leer = (ordner / ("leer-" + std::to_string(::getpid()) + ".ZDB")).string();
    std::error_code ec;
    for (const char* side : {"", "-wal", "-shm"}) fs::remove(leer + side, ec);
    if (gDateiOffen) CloseDataFile();
    forms::Instance<frmMDI>().NewLocalDB(leer);
    if (!gDateiOffen) throw std::runtime_error("the program made no data file");
    CloseDataFile();
    std::string kennung;
    {
        d::Roh r(leer);
        kennung = d::schemaKennung(r);
    }
    const std::string ziel = (ordner / ("personen-" + std::to_string(personen) + "-" + kennung + ".ZDB")).string();
    const db::DBEngine::Login login = db::DBEngine::instance().defaultLogin();
    if (fs::exists(ziel)) {
        d::Roh r(ziel, SQLITE_OPEN_READONLY);
        const bool eigen = r.text("SELECT value FROM zuvsys_owner WHERE key = 'account'") == login.accountId &&
                           r.text("SELECT value FROM zuvsys_owner WHERE key = 'workgroup'") == login.workgroupId;
        if (eigen) {
            for (const char* side : {"", "-wal", "-shm"}) fs::remove(leer + side, ec);
            return ziel;
        }
    }
    std::fprintf(stderr, "bench: writing a data file of %d persons (once) ...\n", personen);
    try {
        d::fuellen(leer, personen);
    } catch (...) {
        for (const char* side : {"", "-wal", "-shm", "-journal"}) fs::remove(leer + side, ec);
        throw;
    }
    fs::rename(leer, ziel);
    for (const char* side : {"-wal", "-shm", "-journal"}) fs::remove(leer + side, ec);
    return ziel;
}

}  // namespace bench
