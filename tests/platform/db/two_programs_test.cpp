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
        int status = 0;
        ::waitpid(m_pid, &status, 0);
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
    if (rs->RecordCount() == 0) throw vb::Error(3021, sql);
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
        return outside(file, "select vorname || '|' || nachname || '|' || ifnull(telefon, '') from persdat where personid = " +
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
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 3197);
    EXPECT_EQ(person(file, 1), "Annegret|Eins|");
    EXPECT_EQ(rs->Fields("Telefon").Value().toString(), "0761 1234");  // the edit is still there
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 3197);
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
                       {'c', [](db::Database& d) { zeilen(d, "select * from persdat where vorname = 'Cora'")->Delete(); }}});
    ASSERT_TRUE(b.bereit());
    auto a = ws->OpenDatabase(file);
    auto rs = a->OpenRecordset("select * from persdat order by personid");
    rs->MoveLast();
    ASSERT_EQ(rs->Fields("Vorname").Value().toString(), "Bert");
    ASSERT_EQ(b.tue('t'), 'k');
    EXPECT_EQ(errorOf([&] { rs->Delete(); }), 3197);
    EXPECT_EQ(outside(file, "select count(*) from persontestergebnis where personid = 2"), "109");
    EXPECT_EQ(rs->Fields("Telefon").Value().toString(), "030 9876");  // read again
    rs->Delete();
    EXPECT_EQ(outside(file, "select count(*) from persdat where personid = 2"), "0");

    rs->MoveFirst();
    rs->Edit();
    rs->Fields("Telefon") = "0761 1234";
    ASSERT_EQ(b.tue('a'), 'k');
    EXPECT_EQ(errorOf([&] { rs->Update(); }), 3167);
    rs->CancelUpdate();
    EXPECT_EQ(errorOf([&] { rs->Edit(); }), 3167);
    EXPECT_EQ(outside(file, "select count(*) from persdat"), "0");

    a->Execute("insert into persdat (vorname, nachname) values ('Cora', 'Drei')");
    rs->Requery();
    ASSERT_EQ(rs->Fields("Vorname").Value().toString(), "Cora");
    ASSERT_EQ(b.tue('c'), 'k');
    EXPECT_EQ(errorOf([&] { rs->Delete(); }), 3167);
    EXPECT_EQ(outside(file, "select count(*) from persdat"), "0");
    a->Close();
    EXPECT_EQ(b.ende(), 0);
}

// On every table a field that the other program changed after Edit is not written over, also when
// only its case changed (the file compares text without regard to case), and in a table wider than
// SQLite lets a function take arguments. Fields the other program changed that this one does not
// write stay as the other program left them, and this one then shows them.
TEST_F(ZweiProgramme, EveryTableKeepsAFieldChangedMeanwhileAndTheOtherProgramsFieldsBeside) {
    const std::string file = datei();
    {
        auto d = ws->OpenDatabase(file);
        std::string breit = "CREATE TABLE [Breit] ([Nr] COUNTER";
        for (int i = 1; i <= 130; ++i) breit += ", [F" + std::to_string(i) + "] Long";
        d->Execute(breit + ")");
        d->Execute("INSERT INTO [Breit] ([F1]) VALUES (1)");
        d->Close();
    }
    const std::string ergebnis = "select * from ergebnis where personid = 1 and typnummer = 3";
    AnderesProgramm b(*ws, file,
                      {{'s', [&](db::Database& d) { setze(d, ergebnis, "TypSumme3", 12); }},
                       {'a', [&](db::Database& d) { setze(d, ergebnis, "AW0", 4); }},
                       {'A', [&](db::Database& d) { setze(d, ergebnis, "AW1", 2); }},
                       {'g', [](db::Database& d) { setze(d, kBert, "Nachname", "ZWEI"); }},
                       {'w', [](db::Database& d) { setze(d, "Breit", "F125", 7); }},
                       {'m', [](db::Database& d) { setze(d, kAnna, "Bemerkung", "neu"); }}});
    ASSERT_TRUE(b.bereit());
    auto a = ws->OpenDatabase(file);
    struct Fall {
        std::string quelle;
        std::vector<std::pair<const char*, vb::Variant>> felder;  // a Null value: the field as Edit read it
        char anderer;
        int fehler;
    };
    const vb::Variant wieGelesen = vb::Variant::null();
    for (const Fall& f : {Fall{ergebnis, {{"TypGesamtSumme", 5}, {"TypSumme3", wieGelesen}}, 's', 3197},
                          Fall{kBert, {{"Vorname", "X"}, {"Nachname", wieGelesen}}, 'g', 3197},
                          Fall{"Breit", {{"F2", 5}, {"F125", wieGelesen}}, 'w', 3197},
                          Fall{ergebnis, {{"TypGesamtSumme", 6}, {"TypSumme3", wieGelesen}}, 'a', 0},
                          Fall{"select personid, vorname from persdat where personid = 1", {{"Vorname", "X"}}, 'm', 0}}) {
        SCOPED_TRACE(f.quelle + " / " + f.anderer);
        auto rs = zeilen(*a, f.quelle);
        auto schreibe = [&] {
            rs->Edit();
            for (const auto& [feld, wert] : f.felder) rs->Fields(feld) = wert.isNull() ? rs->Fields(feld).Value() : wert;
        };
        schreibe();
        ASSERT_EQ(b.tue(f.anderer), 'k');
        EXPECT_EQ(errorOf([&] { rs->Update(); }), f.fehler);
        if (f.fehler == 0) continue;
        rs->CancelUpdate();
        schreibe();
        EXPECT_EQ(errorOf([&] { rs->Update(); }), 0);
    }
    auto rs = zeilen(*a, ergebnis);
    rs->Edit();
    rs->Fields("TypGesamtSumme") = 7;
    ASSERT_EQ(b.tue('A'), 'k');
    rs->Update();
    EXPECT_EQ(rs->Fields("AW1").Value().toLong(), 2);
    EXPECT_EQ(outside(file, "select typgesamtsumme || '|' || typsumme3 || '|' || aw0 || '|' || aw1 from ergebnis where "
                            "personid = 1 and typnummer = 3"),
              "7|12|4|2");
    EXPECT_EQ(person(file, 2), "X|ZWEI|");
    EXPECT_EQ(outside(file, "select f2 || '|' || f125 from breit"), "5|7");
    EXPECT_EQ(outside(file, "select vorname || '|' || bemerkung from persdat where personid = 1"), "X|neu");
    a->Close();
    EXPECT_EQ(b.ende(), 0);
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
                if (e.number() != 3197 && e.number() != 3218) throw;
                if (rs->editMode() != db::Recordset::EditMode::None) rs->CancelUpdate();
            }
        }
        if (gezaehlt < kZaehlungen) throw vb::Error(3218, "nicht fertig");
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
