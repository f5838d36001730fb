// Two programs on one data file: a row that the other program changed or deleted after this one
// read it is never written back or deleted from the stale copy, and changes elsewhere in the file
// stand in nobody's way.

#include <signal.h>
#include <sys/wait.h>

#include <map>

#include "db_fixture.h"
#include "support/fork.h"
#include "support/handshake.h"

using namespace dbtest;

namespace {

// The other program: a forked child that opens the file through the engine and does, at each
// word of the test, the step of that name. It answers 'k' for a step done and 'e' for a step that
// ended with an engine error. The test process holds no connection when it starts one.
class AnderesProgramm {
public:
    using Schritt = std::function<void(db::Database&)>;

    AnderesProgramm(db::Workspace& ws, const std::string& file, std::map<char, Schritt> schritte) {
        m_pid = support::forkChild();
        if (m_pid != 0) {
            m_bereit = m_pid > 0 && m_h.parentHears() == 'r';
            return;
        }
        int code = 0;
        try {
            auto d = ws.OpenDatabase(file);
            m_h.tellParent('r');
            for (char c = m_h.childHears(); c != 'q' && c != '?'; c = m_h.childHears()) {
                try {
                    schritte.at(c)(*d);
                    m_h.tellParent('k');
                } catch (const vb::Error&) {
                    m_h.tellParent('e');
                }
            }
            d->Close();
        } catch (...) {
            code = 3;
        }
        ::_exit(code);  // no destructors, no test framework: the child only does its steps
    }
    ~AnderesProgramm() {
        if (m_pid <= 0 || m_beendet) return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }

    bool bereit() const { return m_bereit; }
    // Does the step and waits until it is done.
    char tue(char schritt) {
        beginne(schritt);
        return warte();
    }
    // Starts the step while the test goes on with its own; warte() waits for its end.
    void beginne(char schritt) { m_h.tellChild(schritt); }
    char warte() { return m_h.parentHears(); }
    // The child's exit code once it closed the file.
    int ende() {
        m_h.tellChild('q');
        const int status = support::childEnds(m_pid);
        m_beendet = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    support::Handshake m_h;
    pid_t m_pid = -1;
    bool m_bereit = false;
    bool m_beendet = false;
};

// Opens the rows of a statement and stands on the first.
std::shared_ptr<db::Recordset> zeilen(db::Database& d, const std::string& sql) {
    auto rs = d.OpenRecordset(sql);
    if (rs->RecordCount() == 0) throw vb::Error(vb::err::NoCurrentRecord, sql);
    return rs;
}

// Sets one field of the first row of a statement through Edit and Update.
void setze(db::Database& d, const std::string& sql, const char* feld, const vb::Variant& wert) {
    auto rs = zeilen(d, sql);
    rs->Edit();
    rs->Fields(feld) = wert;
    rs->Update();
}

const std::string kAnna = "select * from persdat where personid = 1";
const std::string kBert = "select * from persdat where personid = 2";

}  // namespace

class ZweiProgramme : public DbTest {
protected:
    // A data file with Anna Eins (1) and Bert Zwei (2) and their blank rows, closed again.
    std::string datei() {
        auto d = makeDataFile(*ws, path("daten.ZDB"));
        addPerson(*d, "Anna", "Eins");
        addPerson(*d, "Bert", "Zwei");
        d->Close();
        return path("daten.ZDB");
    }
    std::string person(const std::string& file, int id) {
        return outside(file,
                       "select vorname || '|' || nachname || '|' || ifnull(telefon, '') from persdat where personid = " +
                           std::to_string(id));
    }
};

// The case of the two person windows: both press "Ändern" on Anna; the other program saves a new
// first name, then this one saves the telephone and writes back every box, the first name from
// its copy. The save is refused, also when tried again, and nothing of it is in the file; edited
// afresh, the person shows the other program's change and takes this one's too. Changes of other
// rows, and new persons, meanwhile do not count.
TEST_F(ZweiProgramme, AStaleCopyOfAPersonIsNeverWrittenBackOverTheOtherProgramsChange) {
    const std::string file = datei();
    AnderesProgramm b(*ws, file,
                      {{'v', [](db::Database& d) { setze(d, kAnna, "Vorname", "Annegret"); }},
                       {'t', [](db::Database& d) { setze(d, kBert, "Telefon", "030 9876"); }},
                       {'n', [](db::Database& d) { addPerson(d, "Cora", "Drei"); }}});
    ASSERT_TRUE(b.bereit());
    auto a = ws->OpenDatabase(file);
    auto rs = a->OpenRecordset("select * from persdat order by nachname");
    rs->FindFirst("PersonID =1");
    rs->Edit();
    ASSERT_EQ(b.tue('v'), 'k');
    rs->Fields("Vorname") = rs->Fields("Vorname").Value();
    rs->Fields("Telefon") = "0761 1234";
    EXPECT_EQ(errorOf([&] { rs->Update(); }), vb::err::ChangedByOther);
    EXPECT_EQ(person(file, 1), "Annegret|Eins|");
    EXPECT_EQ(rs->Fields("Telefon").Value().toString(), "0761 1234");  // the edit is still there
    EXPECT_EQ(errorOf([&] { rs->Update(); }), vb::err::ChangedByOther);
    EXPECT_EQ(person(file, 1), "Annegret|Eins|");
    rs->CancelUpdate();
    EXPECT_EQ(rs->Fields("Vorname").Value().toString(), "Annegret");
    rs->Edit();
    rs->Fields("Telefon") = "0761 1234";
    rs->Update();
    EXPECT_EQ(person(file, 1), "Annegret|Eins|0761 1234");

    rs->Edit();
    rs->Fields("Bemerkung") = "ruhig";
    ASSERT_EQ(b.tue('t'), 'k');
    ASSERT_EQ(b.tue('n'), 'k');
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 0);
    EXPECT_EQ(outside(file, "select bemerkung from persdat where personid = 1"), "ruhig");
    EXPECT_EQ(person(file, 2), "Bert|Zwei|030 9876");
    EXPECT_EQ(outside(file, "select count(*) from persdat"), "3");
    a->Close();
    EXPECT_EQ(b.ende(), 0);
    EXPECT_EQ(integrity(file), "ok");
}

// Deleting: a person the other program changed after this one read it stays, with all its rows,
// until this one has read it again. A person the other program deleted meanwhile is neither saved
// back nor deleted a second time (3167), and nothing comes back into the file.
TEST_F(ZweiProgramme, APersonChangedOrDeletedMeanwhileIsNotDeletedOrSavedFromTheStaleCopy) {
    const std::string file = datei();
    AnderesProgramm b(*ws, file,
                      {{'t', [](db::Database& d) { setze(d, kBert, "Telefon", "030 9876"); }},
                       {'a', [](db::Database& d) { zeilen(d, kAnna)->Delete(); }},
                       {'c',
                        [](db::Database& d) { zeilen(d, "select * from persdat where vorname = 'Cora'")->Delete(); }}});
    ASSERT_TRUE(b.bereit());
    auto a = ws->OpenDatabase(file);
    auto rs = a->OpenRecordset("select * from persdat order by personid");
    rs->MoveLast();
    ASSERT_EQ(rs->Fields("Vorname").Value().toString(), "Bert");
    ASSERT_EQ(b.tue('t'), 'k');
    EXPECT_EQ(errorOf([&] { rs->Delete(); }), vb::err::ChangedByOther);
    EXPECT_EQ(outside(file, "select count(*) from persontestergebnis where personid = 2"), "109");
    EXPECT_EQ(rs->Fields("Telefon").Value().toString(), "030 9876");  // read again
    rs->Delete();
    EXPECT_EQ(outside(file, "select count(*) from persdat where personid = 2"), "0");

    rs->MoveFirst();
    rs->Edit();
    rs->Fields("Telefon") = "0761 1234";
    ASSERT_EQ(b.tue('a'), 'k');
    EXPECT_EQ(errorOf([&] { rs->Update(); }), vb::err::RowDeleted);
    rs->CancelUpdate();
    EXPECT_EQ(errorOf([&] { rs->Edit(); }), vb::err::RowDeleted);
    EXPECT_EQ(outside(file, "select count(*) from persdat"), "0");

    a->Execute("insert into persdat (vorname, nachname) values ('Cora', 'Drei')");
    rs->Requery();
    ASSERT_EQ(rs->Fields("Vorname").Value().toString(), "Cora");
    ASSERT_EQ(b.tue('c'), 'k');
    EXPECT_EQ(errorOf([&] { rs->Delete(); }), vb::err::RowDeleted);
    EXPECT_EQ(outside(file, "select count(*) from persdat"), "0");
    a->Close();
    EXPECT_EQ(b.ende(), 0);
}

// On every table a field that another program changed after Edit read it is not written over:
// not when only a text's case changed (the file compares text without regard to case), nor one
// character inside a long memo, nor a Null that became a value or a value that became Null, nor a
// memo that the sqlite3 tool filled with bytes; also in a table wider than SQLite lets a function
// take arguments. What the other program wrote stays, and edited afresh, the row takes this
// program's change on top. A change of a field this program neither writes nor reads stands in
// nobody's way and stays too.
TEST_F(ZweiProgramme, EveryTableKeepsAFieldChangedMeanwhileAndTheOtherProgramsFieldsBeside) {
    const std::string file = datei();
    const std::string lang(20000, 'a');
    {
        auto d = ws->OpenDatabase(file);
        std::string breit = "CREATE TABLE [Breit] ([Nr] COUNTER, [Notiz] MEMO, [Wert] SINGLE";
        for (int i = 1; i <= 130; ++i) breit += ", [F" + std::to_string(i) + "] Long";
        d->Execute(breit + ")");
        auto rs = d->OpenRecordset("Breit");
        rs->AddNew();
        rs->Fields("F1") = 1;
        rs->Fields("Notiz") = lang;
        rs->Fields("Wert") = vb::Variant(0.5f);
        rs->Update();
        d->Close();
    }
    const std::string ergebnis = "select * from ergebnis where personid = 1 and typnummer = 3";
    std::string mitte = lang;
    mitte[10000] = 'b';
    AnderesProgramm b(*ws, file,
                      {{'s', [&](db::Database& d) { setze(d, ergebnis, "TypSumme3", 12); }},
                       {'g', [](db::Database& d) { setze(d, kBert, "Nachname", "ZWEI"); }},
                       {'w', [](db::Database& d) { setze(d, "Breit", "F125", 7); }},
                       {'m', [&](db::Database& d) { setze(d, "Breit", "Notiz", mitte); }},
                       {'1', [](db::Database& d) { setze(d, kAnna, "Telefon", "030 1"); }},
                       {'0', [](db::Database& d) { setze(d, kAnna, "Telefon", vb::Variant::null()); }},
                       {'p', [](db::Database& d) { setze(d, kAnna, "Bemerkung", "neu"); }}});
    ASSERT_TRUE(b.bereit());
    auto a = ws->OpenDatabase(file);
    struct Fall {
        std::string quelle;
        const char* feld;
        vb::Variant wert;
        const char* wieGelesen;  // written back as Edit read it, as a window writes every box
        std::function<void()> anderer;
        int fehler;
        std::string sql;  // what the file holds after the other program's change and after this one's
        std::string vorher, nachher;
    };
    auto schritt = [&](char c) { return [&b, c] { ASSERT_EQ(b.tue(c), 'k'); }; };
    const std::string anna = "select nachname || '|' || ifnull(telefon, 'Null') from persdat where personid = 1";
    const std::vector<Fall> faelle = {
        {ergebnis, "TypGesamtSumme", 5, "TypSumme3", schritt('s'), vb::err::ChangedByOther,
         "select ifnull(typgesamtsumme, '-') || '|' || typsumme3 from ergebnis where personid = 1 and typnummer = 3",
         "-|12", "5|12"},
        {kBert, "Vorname", "X", "Nachname", schritt('g'), vb::err::ChangedByOther,
         "select vorname || '|' || nachname from persdat where personid = 2", "Bert|ZWEI", "X|ZWEI"},
        {"Breit", "F2", 5, "F125", schritt('w'), vb::err::ChangedByOther,
         "select ifnull(f2, '-') || '|' || f125 from breit", "-|7", "5|7"},
        {"Breit", "Wert", vb::Variant(0.25f), "Notiz", schritt('m'), vb::err::ChangedByOther,
         "select wert || '|' || substr(notiz, 10000, 3) from breit", "0.5|aba", "0.25|aba"},
        {kAnna, "Nachname", "Eins-Berg", "Telefon", schritt('1'), vb::err::ChangedByOther, anna, "Eins|030 1",
         "Eins-Berg|030 1"},
        {kAnna, "Nachname", "Eins", "Telefon", schritt('0'), vb::err::ChangedByOther, anna, "Eins-Berg|Null",
         "Eins|Null"},
        {"Breit", "F3", 3, "Notiz", [&] { outside(file, "update breit set notiz = x'00ff00'"); }, vb::err::ChangedByOther,
         "select ifnull(f3, '-') || '|' || hex(notiz) from breit", "-|00FF00", "3|00FF00"},
        {"select personid, vorname from persdat where personid = 1", "Vorname", "Ann", nullptr, schritt('p'), 0,
         "select vorname || '|' || bemerkung from persdat where personid = 1", "", "Ann|neu"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.quelle + " / " + f.feld);
        auto rs = zeilen(*a, f.quelle);
        auto schreibe = [&] {
            rs->Edit();
            rs->Fields(f.feld) = f.wert;
            if (f.wieGelesen) rs->Fields(f.wieGelesen) = rs->Fields(f.wieGelesen).Value();
        };
        schreibe();
        f.anderer();
        EXPECT_EQ(errorOf([&] { rs->Update(); }), f.fehler);
        if (f.fehler != 0) {
            EXPECT_EQ(outside(file, f.sql), f.vorher);
            rs->CancelUpdate();
            schreibe();
            EXPECT_EQ(errorOf([&] { rs->Update(); }), 0);
        }
        EXPECT_EQ(outside(file, f.sql), f.nachher);
    }
    a->Close();
    EXPECT_EQ(b.ende(), 0);
    EXPECT_EQ(integrity(file), "ok");
}

// What this program wrote itself never counts as another program's change: a row edited again
// and again without moving, by two recordsets in turn, and inside a transaction, is stored each
// time.
TEST_F(ZweiProgramme, TheProgramsOwnWritesAreNeverTakenForAnotherProgramsChange) {
    const std::string file = datei();
    auto a = ws->OpenDatabase(file);
    auto eins = zeilen(*a, kAnna);
    auto zwei = zeilen(*a, "select personid, telefon from persdat where personid = 1");
    for (int i = 1; i <= 3; ++i) {
        eins->Edit();
        eins->Fields("Bemerkung") = "Runde " + std::to_string(i);
        EXPECT_EQ(errorOf([&] { eins->Update(); }), 0);
        zwei->Edit();
        zwei->Fields("Telefon") = std::to_string(i);
        EXPECT_EQ(errorOf([&] { zwei->Update(); }), 0);
        a->Execute("update persdat set strasse = 'Weg " + std::to_string(i) + "' where personid = 1");
        EXPECT_EQ(errorOf([&] {
                      db::inTransaction(*a, [&] {
                          eins->Edit();
                          eins->Fields("Vorname") = "Anna " + std::to_string(i);
                          eins->Update();
                          eins->Edit();
                          eins->Fields("Nachname") = "Eins " + std::to_string(i);
                          eins->Update();
                      });
                  }),
                  0);
    }
    EXPECT_EQ(outside(file,
                      "select vorname || '|' || nachname || '|' || telefon || '|' || strasse || '|' || bemerkung "
                      "from persdat where personid = 1"),
              "Anna 3|Eins 3|3|Weg 3|Runde 3");
    a->Close();
}

// Both programs count up the same field at the same time, each reading the value at Edit and
// trying again when its Update is refused: no count is lost.
TEST_F(ZweiProgramme, CountsOfTwoProgramsAtTheSameTimeAreNeverLost) {
    constexpr int kZaehlungen = 150;
    const std::string file = datei();
    const std::string zeile = "select * from ergebnis where personid = 1 and typnummer = 1";
    auto zaehle = [zeile](db::Database& d) {
        auto rs = zeilen(d, zeile);
        int gezaehlt = 0;
        for (int versuch = 0; gezaehlt < kZaehlungen && versuch < 100 * kZaehlungen; ++versuch) {
            try {
                rs->Edit();
                const vb::Variant v = rs->Fields("TypGesamtSumme").Value();
                rs->Fields("TypGesamtSumme") = (v.isNull() ? 0 : v.toLong()) + 1;
                rs->Update();
                ++gezaehlt;
            } catch (const vb::Error& e) {
                if (e.number() != vb::err::ChangedByOther && e.number() != vb::err::RecordLocked) throw;
                if (rs->editMode() != db::Recordset::EditMode::None) rs->CancelUpdate();
            }
        }
        if (gezaehlt < kZaehlungen) throw vb::Error(vb::err::RecordLocked, "nicht fertig");
    };
    AnderesProgramm b(*ws, file, {{'z', zaehle}});
    ASSERT_TRUE(b.bereit());
    auto a = ws->OpenDatabase(file);
    b.beginne('z');
    EXPECT_EQ(errorOf([&] { zaehle(*a); }), 0);
    EXPECT_EQ(b.warte(), 'k');
    EXPECT_EQ(outside(file, "select typgesamtsumme from ergebnis where personid = 1 and typnummer = 1"),
              std::to_string(2 * kZaehlungen));
    a->Close();
    EXPECT_EQ(b.ende(), 0);
}
