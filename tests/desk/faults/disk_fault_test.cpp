// A full or failing disk under every write the program makes: each action is run once to count
// its writes, truncations and syncs, then once for each n with the n-th of them failing (ENOSPC,
// and EIO). After each failure the files are whole with every earlier row, exactly one message
// names the cause, no half-written file stands under a real name, and the same action then
// succeeds without a restart.

#include <sqlite3.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <set>

#include "desk/common/form4.h"
#include "desk/frame/frame_fixture.h"
#include "desk/frame/frm_import.h"
#include "desk/testing/frm_pers.h"
#include "desk/testing/frm_test.h"
#include "desk/testing/testverwaltung.h"
#include "platform/draw/printer.h"
#include "support/disk_faults.h"

using namespace frame_test;

namespace {

using support::DiskFaults;

// What a user does, as the sweep runs it.
struct Aktion {
    std::function<void()> vorbereiten;   // the windows brought to the step; not counted
    std::function<void()> schritt;       // the step that writes
    std::function<std::string()> stand;  // what a successful step changes
    std::string bestaetigung;            // part of the message that confirms it ("" when none)
    int fragen = 0;                      // questions the step asks before it writes
    std::vector<std::string> dateien;    // database files that a failure must leave as they were
};

// What a failed step must leave unchanged.
struct Zustand {
    std::vector<std::string> inhalte;  // per database file: the integrity check, then its rows
    std::set<std::string> namen;       // the data folder's entries
};

const std::vector<std::string> kVoll = {"Nicht genügend Speicherplatz auf dem Datenträger", "Datenträger voll"};
const std::vector<std::string> kEA = {"Datenträger- oder Netzwerkfehler", "Fehler beim Lesen oder Schreiben des Geräts"};

bool nenntEines(const std::string& text, const std::vector<std::string>& teile) {
    for (const auto& t : teile)
        if (text.find(t) != std::string::npos) return true;
    return false;
}

std::string alle(const std::vector<std::string>& meldungen) {
    std::string t;
    for (const auto& m : meldungen) t += "[" + m + "]\n";
    return t;
}

class Plattenfehler : public FrameTest {
protected:
    void SetUp() override {
        DiskFaults::install();
        FrameTest::SetUp();
        ASSERT_TRUE(starte());
        quelle = neueDatei("Quelle.ZDB");
        personenAnlegen(*gDatenbank, 2, 50);
        h().answer(forms::vbYes);
        datei = neueDatei("Klienten.ZDB");
        personenAnlegen(*gDatenbank, 3);
        personWaehlen(1);
        std::ofstream x(pfad("person.xml"));
        x << "<?xml version=\"1.0\" "
             "encoding=\"UTF-8\"?>\n<ZUVRecord><Vorname>Jürgen</Vorname><Nachname>Müller</Nachname>"
             "<Strasse>Hauptstr. 1</Strasse><PLZOrt>12345 "
             "Stadt</PLZOrt><Land>D</Land><Geburtsdatum>01.01.1970"
             "</Geburtsdatum><Testdatum>08.03.2026</Testdatum><Telefon>0123</Telefon>\n";
        for (int n = 1; n <= 109; ++n) x << "<Item" << n << ">" << n % 5 << "</Item" << n << ">\n";
        x << "</ZUVRecord>\n";
    }
    void TearDown() override {
        DiskFaults::off();
        FrameTest::TearDown();
    }

    void personWaehlen(int32_t id) {
        gAktPersonID = id;
        gAktPerson[1] = "Vorname" + std::to_string(id);
        gAktPerson[2] = "Nachname" + std::to_string(id);
        gAktPerson[11] = "01.02.2026";
    }
    // A new scripted Host: answers queued for a question a failed step never asked go with the old.
    void neuerHost() {
        host.reset();
        host = std::make_unique<forms::ScriptedHostGuard>();
    }
    static std::string sql(const std::string& file, const std::string& anweisung) {
        return support::run("sqlite3 " + support::shellQuote(file) + " " + support::shellQuote(anweisung)).output;
    }
    // A database file as a connection of its own reads it (no outside program, for speed: every
    // step is checked twice): SQLite's integrity check, then every row of its tables (of the
    // settings database the settings row).
    static std::string inhalt(const std::string& file) {
        sqlite3* d = nullptr;
        std::string out;
        auto zeilen = [&](const std::string& anweisung) {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(d, anweisung.c_str(), -1, &s, nullptr) != SQLITE_OK) {
                out += std::string("? ") + sqlite3_errmsg(d) + "\n";
                return;
            }
            int rc;
            while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
                for (int i = 0; i < sqlite3_column_count(s); ++i) {
                    const unsigned char* t = sqlite3_column_text(s, i);
                    out += (i ? "|" : "") + (t ? std::string(reinterpret_cast<const char*>(t)) : std::string("NULL"));
                }
                out += "\n";
            }
            if (rc != SQLITE_DONE) out += std::string("? ") + sqlite3_errmsg(d) + "\n";
            sqlite3_finalize(s);
        };
        if (sqlite3_open_v2(file.c_str(), &d, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            zeilen("pragma integrity_check");
            if (file.size() >= 7 && file.compare(file.size() - 7, 7, "zuv.sdb") == 0) {
                zeilen("select * from Konfiguration");
            } else {
                std::vector<std::string> tabellen;
                sqlite3_stmt* s = nullptr;
                sqlite3_prepare_v2(d, "select name from sqlite_schema where type = 'table' order by name", -1, &s,
                                   nullptr);
                while (sqlite3_step(s) == SQLITE_ROW)
                    tabellen.push_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
                sqlite3_finalize(s);
                for (const auto& t : tabellen) {
                    out += "[" + t + "]\n";
                    zeilen("select * from \"" + t + "\" order by rowid");
                }
            }
        } else {
            out = "? cannot open\n";
        }
        sqlite3_close_v2(d);
        return out;
    }
    Zustand zustand(const Aktion& a) {
        Zustand z;
        for (const auto& f : a.dateien) z.inhalte.push_back(inhalt(f));
        for (const auto& e : fs::directory_iterator(dir)) z.namen.insert(e.path().filename().string());
        return z;
    }
    // A name after a failure that is neither one from before nor SQLite's log or shared memory of
    // one from before (a file closed while the disk was full keeps its log, which holds its rows).
    static std::vector<std::string> neueNamen(const Zustand& vorher, const Zustand& nachher) {
        std::vector<std::string> neu;
        for (const auto& n : nachher.namen) {
            if (vorher.namen.count(n)) continue;
            bool seitendatei = false;
            for (const char* s : {"-wal", "-shm"}) {
                const std::string endung = s;
                if (n.size() > endung.size() && n.compare(n.size() - endung.size(), endung.size(), endung) == 0 &&
                    vorher.namen.count(n.substr(0, n.size() - endung.size())))
                    seitendatei = true;
            }
            if (!seitendatei) neu.push_back(n);
        }
        return neu;
    }

    // Counts the step's writes and syncs, then fails each in turn with ENOSPC and with EIO.
    void durchlaufe(const Aktion& a) {
        for (const int fehler : {ENOSPC, EIO}) {
            const auto& ursache = fehler == ENOSPC ? kVoll : kEA;
            a.vorbereiten();
            neuerHost();
            std::string vorher = a.stand();
            DiskFaults::count();
            a.schritt();
            const long anzahl = DiskFaults::counted();
            DiskFaults::off();
            ASSERT_NE(a.stand(), vorher) << "the step without faults stores nothing";
            ASSERT_GT(anzahl, 0);
            int fehlgeschlagen = 0;
            for (long n = 1; n <= anzahl; ++n) {
                SCOPED_TRACE((fehler == ENOSPC ? "ENOSPC" : "EIO") + std::string(" at write or sync ") +
                             std::to_string(n) + " of " + std::to_string(anzahl));
                a.vorbereiten();
                neuerHost();
                vorher = a.stand();
                const Zustand z = zustand(a);
                DiskFaults::failAt(n, fehler);
                a.schritt();
                DiskFaults::off();
                // A fault before a window showed leaves the step in it untaken: it must not act on
                // the window of the next round.
                support::schritteVerwerfen(false);
                const auto meldungen = h().messages();
                const Zustand danach = zustand(a);
                for (size_t i = 0; i < a.dateien.size(); ++i)
                    EXPECT_EQ(danach.inhalte[i].substr(0, 3), "ok\n") << a.dateien[i] << ": " << danach.inhalte[i];
                for (const auto& name : danach.namen) EXPECT_FALSE(files::isTempName(name)) << name;
                int genannt = 0;
                for (const auto& m : meldungen) genannt += nenntEines(m, ursache) ? 1 : 0;
                // The number a message names is the fault's, never a stand-in 0.
                for (const auto& m : meldungen) EXPECT_EQ(m.find("Nummer: 0"), std::string::npos) << m;
                if (a.stand() != vorher) {
                    // The step is done: SQLite or the program got over the fault (a sync of a log
                    // that is written again later), or it hit what the command does afterwards
                    // (the recent-files list, reading the settings): each such part says why it
                    // failed, and nothing else is said.
                    int bestaetigt = 0;
                    for (size_t i = static_cast<size_t>(a.fragen); i < meldungen.size(); ++i) {
                        const bool bestaetigung = !a.bestaetigung.empty() &&
                                                  meldungen[i].find(a.bestaetigung) != std::string::npos;
                        bestaetigt += bestaetigung ? 1 : 0;
                        EXPECT_TRUE(bestaetigung || nenntEines(meldungen[i], ursache)) << meldungen[i];
                    }
                    if (!a.bestaetigung.empty()) {
                        EXPECT_EQ(bestaetigt, 1);
                    }
                    if (fehler == EIO) {
                        EXPECT_LE(genannt, 1);
                    }
                } else {
                    ++fehlgeschlagen;
                    EXPECT_EQ(genannt, static_cast<long>(meldungen.size()) - a.fragen) << alle(meldungen);
                    EXPECT_EQ(genannt, 1) << alle(meldungen);
                    for (size_t i = 0; i < a.dateien.size(); ++i)
                        EXPECT_EQ(danach.inhalte[i], z.inhalte[i]) << a.dateien[i];
                    EXPECT_EQ(neueNamen(z, danach), std::vector<std::string>{});
                }
                // The same step again, without a restart.
                a.vorbereiten();
                neuerHost();
                vorher = a.stand();
                a.schritt();
                EXPECT_NE(a.stand(), vorher) << "the next attempt stores nothing";
                for (const auto& m : h().messages()) EXPECT_FALSE(nenntEines(m, kVoll) || nenntEines(m, kEA)) << m;
                if (HasFailure()) return;
            }
            EXPECT_GT(fehlgeschlagen, 0);
            // And as another program reads the files after all of it.
            for (const auto& f : a.dateien) EXPECT_EQ(sql(f, "pragma integrity_check"), "ok\n") << f;
        }
    }

    frmpers& personenfenster() {
        if (!forms::IsLoaded<frmpers>()) PersonendatenAnzeigen();
        return forms::Instance<frmpers>();
    }
    void personenfensterSchliessen() {
        if (forms::IsLoaded<frmpers>()) forms::Unload(forms::Instance<frmpers>());
    }
    // The first column of every row a query of the open data file gives, one per line.
    std::string spalte(const std::string& anweisung) {
        auto rs = gDatenbank->OpenRecordset(anweisung, db::RecordsetType::Snapshot);
        std::string out;
        for (; !rs->Eof(); rs->MoveNext()) {
            const vb::Variant v = rs->Fields(0).Value();
            out += (v.isNull() ? std::string("-") : v.toString()) + "\n";
        }
        return out;
    }
    std::string personen() { return std::to_string(zahl(*gDatenbank, "SELECT COUNT(*) FROM PersDat")); }
    // Back to the three persons the file began with, so that it does not grow from step to step.
    void nurDieErstenDrei() { gDatenbank->Execute("DELETE FROM PersDat WHERE PersonID > 3"); }
    // A file the previous step made goes before the next step makes another.
    static void entfernen(const std::string& f) {
        if (!f.empty()) db::DBEngine::instance().removeDatabaseFile(f);
    }

    std::string quelle;
    std::string datei;
    int lauf = 0;
};

TEST_F(Plattenfehler, SavingANewPerson) {
    durchlaufe({[&] {
                    personenfensterSchliessen();
                    nurDieErstenDrei();
                    frmpers& f = personenfenster();
                    f.Befehl4_Click();
                    f.Text1[0].setText("Anna");
                    f.Text1[1].setText("Berg" + std::to_string(++lauf));
                },
                [&] {
                    h().answer(forms::vbNo);
                    forms::Instance<frmpers>().Befehl5_Click();
                },
                [&] { return personen(); },
                DialogTxt(20),
                0,
                {datei}});
}

TEST_F(Plattenfehler, SavingAnEditedPerson) {
    durchlaufe({[&] {
                    personenfensterSchliessen();
                    frmpers& f = personenfenster();
                    f.Befehl7_Click();
                    f.Text1[10].setText("Bemerkung " + std::to_string(++lauf));
                },
                [&] { forms::Instance<frmpers>().Befehl5_Click(); },
                [&] { return spalte("select bemerkung from persdat"); },
                "",
                0,
                {datei}});
}

TEST_F(Plattenfehler, DeletingAPerson) {
    durchlaufe({[&] {
                    personenfensterSchliessen();
                    personenAnlegen(*gDatenbank, 1, 100 + ++lauf);
                    personWaehlen(1);
                    personenfenster();
                },
                [&] {
                    h().answer(forms::vbYes);
                    frmpers& f = forms::Instance<frmpers>();
                    f.Befehl6_Click();
                    // The window comes back whatever happened.
                    EXPECT_TRUE(f.isVisible());
                },
                [&] { return spalte("select personid from persdat"); },
                DialogTxt(21),
                1,
                {datei}});
}

TEST_F(Plattenfehler, ImportingAnXmlPerson) {
    durchlaufe({[&] {
                    personenfensterSchliessen();
                    nurDieErstenDrei();
                    personenfenster();
                },
                [&] {
                    h().chooseFile(pfad("person.xml")).answer(forms::vbYes);
                    forms::Instance<frmpers>().Command2_Click();
                },
                [&] { return personen(); },
                DialogTxt(75),
                1,
                {datei}});
}

TEST_F(Plattenfehler, ImportingFromAnotherDataFile) {
    durchlaufe({[&] { nurDieErstenDrei(); },
                [&] {
                    imModal<frmImport>([this](frmImport& f) {
                        // A source that could not be read is said so at once: the user closes.
                        if (h().messages().empty()) f.Command2_Click();
                        f.Command1_Click();
                    });
                    h().chooseFile(quelle);
                    mdi().mnuImportZUV40_Click();
                },
                [&] { return personen(); },
                DialogTxt(37),
                0,
                {datei}});
}

TEST_F(Plattenfehler, StoringARating) {
    durchlaufe({[&] {
                    if (forms::IsLoaded<frmTest>()) forms::Unload(forms::Instance<frmTest>());
                    TestDurchfuehren();
                    frmTest& t = forms::Instance<frmTest>();
                    const std::string alt = spalte(
                        "select itemwert from persontestergebnis where personid = 1 and itemnummer = 1");
                    t.Befehl[alt == "3\n" ? 1 : 3].click();
                },
                [&] { forms::Instance<frmTest>().Befehl6.click(); },
                [&] {
                    return spalte("select itemwert from persontestergebnis where personid = 1 and itemnummer = 1") +
                           spalte("select typrealwert from typwertzuweisung where personid = 1 and itemnummer = 1");
                },
                "",
                0,
                {datei}});
}

TEST_F(Plattenfehler, StoringTheSettings) {
    const std::string einstellungen = pfad("zuv.sdb");
    durchlaufe({[&] {
                    Form4& f = forms::Default<Form4>();
                    f.Show();
                    f.Text6[0].setText("Erika " + std::to_string(++lauf));
                },
                [&] { forms::Instance<Form4>().Command1_Click(); },
                [&] { return sql(einstellungen, "select vorname from Konfiguration"); },
                "",
                0,
                {einstellungen}});
}

TEST_F(Plattenfehler, WritingTheRecentFilesList) {
    // Opening a file that is not first in the list writes the list into the INI file.
    const std::string ini = (dir / "Zuv50.ini").string();
    std::string naechste;
    durchlaufe({[&] {
                    mdi().mnuClose_Click();
                    // The file that is not first in the list moves up.
                    naechste = support::readFile(ini).find("1=" + datei) != std::string::npos ? quelle : datei;
                },
                [&] {
                    h().chooseFile(naechste);
                    mdi().mnuOpen_Click();
                },
                [&] { return support::readFile(ini); },
                "",
                0,
                {}});
}

TEST_F(Plattenfehler, MakingANewDataFile) {
    std::string ziel;
    durchlaufe({[&] {
                    mdi().mnuClose_Click();
                    entfernen(ziel);
                    ziel = pfad("Neu" + std::to_string(++lauf) + ".ZDB");
                },
                [&] {
                    h().chooseFile(ziel);
                    mdi().mnuNew_Click();
                },
                [&] { return std::to_string(fs::exists(ziel) && gDateiOffen); },
                "",
                0,
                {}});
}

TEST_F(Plattenfehler, CompactingADataFile) {
    std::string ziel;
    durchlaufe({[&] {
                    mdi().mnuClose_Click();
                    entfernen(ziel);
                    ziel = pfad("Kompakt" + std::to_string(++lauf) + ".ZDB");
                },
                [&] {
                    h().chooseFile(datei).chooseFile(ziel);
                    mdi().CompactDB();
                },
                [&] { return std::to_string(fs::exists(ziel)); },
                DialogTxt(10),
                0,
                {datei}});
}

TEST_F(Plattenfehler, BackingUpTheDataFile) {
    std::string ziel;
    durchlaufe({[&] {
                    if (!gDateiOffen) {
                        h().chooseFile(datei);
                        mdi().mnuOpen_Click();
                    }
                    entfernen(ziel);
                    ziel = pfad("Sicherung" + std::to_string(++lauf) + ".ZDB");
                },
                [&] {
                    h().answer(forms::vbYes).chooseFile(ziel);
                    mdi().BackUpDB();
                },
                [&] { return std::to_string(fs::exists(ziel)); },
                DialogTxt(16),
                1,
                {datei}});
}

// The blank questionnaire printed into a PDF file: written whole under its name or not at all.
TEST_F(Plattenfehler, PrintingTheQuestionnaireIntoAPdfFile) {
    const std::string ziel = pfad("Fragebogen.pdf");
    durchlaufe({[&] {
                    draw::printer().setOutputFileName("");
                    fs::remove(ziel);
                    draw::printer().setOutputFileName(ziel);
                },
                [&] {
                    h().answer(forms::vbYes);
                    mdi().mnuDruckFragebogen.Click();
                },
                [&] { return std::to_string(fs::exists(ziel)); },
                "",
                1,
                {}});
    EXPECT_NE(support::run("pdftotext " + support::shellQuote(ziel) + " -").output.find("Fragebogen"), std::string::npos);
    draw::printer().setOutputFileName("");
}

}  // namespace
