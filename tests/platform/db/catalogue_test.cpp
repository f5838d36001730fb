// Every SQL text, record source and search criterion the two programs hand to the engine, run as
// the programs write them (blanks of Str included) against a data file, a settings database and a
// content database built here with the programs' schemas. Each row checks what the window that
// reads the rows relies on: their order, their number, a value, a Null, an error number.
#include <map>

#include "db_fixture.h"
#include "support/inhalt_schema.h"

using namespace dbtest;
using vb::Variant;

namespace {

enum class File { Data, Settings, Content };

// A record source bound to a data control (or opened as the caller opens it) and walked from the
// first row to the end.
struct SourceCase {
    const char* use;
    File file;
    std::string source;
    db::RecordsetType type;
    long count;            // -1: not checked
    const char* field;     // read at every row (nullptr: not read)
    const char* expected;  // the values in row order, "|" between them
};

// A criterion searched with FindFirst and, with `loop`, FindNext until NoMatch.
struct FindCase {
    const char* use;
    File file;
    std::string source;
    std::string criterion;
    bool loop;
    const char* field;
    const char* expected;
};

// Something the programs do that must fail with the number their traps and callers expect.
struct ErrorCase {
    const char* use;
    File file;
    std::string source;
    int error;
};

std::string text(const Variant& v) {
    if (v.isNull()) return "Null";
    if (v.type() == Variant::Type::Boolean) return v.toBool() ? "-1" : "0";
    return v.toString();
}

// The scores of the first person's nine result rows (types 1 to 9); a blank is Null.
struct Scores {
    const char* column;
    int values[9];
    bool nullAt[9];
};
const Scores kScores[] = {
    {"TypGesamtSumme", {30, 40, 36, 40, 10, -2, 36, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"TypSumme4", {5, 5, 5, 5, 5, 5, 5, 5, 5}, {}},
    {"TypSumme3", {1, 2, 3, 4, 5, 6, 7, 8, 9}, {}},
    {"TypSumme2", {3, 1, 2, 3, 1, 2, 3, 1, 2}, {}},
    {"TypSumme1", {3, 1, 2, 3, 1, 2, 3, 1, 2}, {}},
    {"TypSumme0", {2, 0, 0, 1, 0, 0, 3, 0, 1}, {0, 0, 0, 0, 1, 0, 0, 0, 0}},
    {"TypSumme34", {12, 8, 12, 4, 20, 0, 8, 12, 4}, {}},
    {"TypSumme01", {0, 10, 0, 5, 3, 10, 0, 1, 2}, {}},
    {"AW0", {1, 2, 3, 4, 5, 6, 7, 8, 9}, {}},
};

class Catalogue : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        buildDataFile();
        buildSettings();
        buildContent();
    }

    std::string fileOf(File f) const {
        switch (f) {
        case File::Data: return path("Daten.ZDB");
        case File::Settings: return path("zuv.sdb");
        case File::Content: return path("zuv40typ.sdb");
        }
        return "";
    }

    // Persons 1 Zora Berg (full rows, answered up to statement 50), 2 Bernd Mueller (result rows
    // stored in reverse type order, nothing answered), 3 Ärger without a first name (result rows
    // only), 4 Anna Berg (no rows at all).
    void buildDataFile() {
        auto d = makeDataFile(*ws, fileOf(File::Data));
        d->BeginTrans();
        d->Execute("insert into persdat (vorname, nachname, testdatum) values ('Zora', 'Berg', '01.02.2026')");
        d->Execute("insert into persdat (vorname, nachname, testdatum) values ('Bernd', 'Mueller', '02.02.2026')");
        d->Execute("insert into persdat (nachname) values ('Ärger')");
        d->Execute("insert into persdat (vorname, nachname, testdatum) values ('Anna', 'Berg', '03.02.2026')");
        for (int person : {1, 2}) {
            for (int item = 1; item <= 109; ++item) {
                const std::string value = person == 1 && item <= 50 ? std::to_string(item % 5) : "Null";
                d->Execute("insert into persontestergebnis values (" + std::to_string(person) + ", " +
                           std::to_string(item) + ", " + value + ")");
            }
            // Statements 1 to 109 with one type each, then statements 1 to 17 with a second type.
            for (int row = 1; row <= 126; ++row) {
                const int item = row <= 109 ? row : row - 109;
                const int type = row <= 109 ? item % 9 + 1 : (item + 3) % 9 + 1;
                const std::string value = person == 1 && item <= 50 ? std::to_string(item % 5) : "Null";
                d->Execute("insert into typwertzuweisung values (" + std::to_string(person) + ", " +
                           std::to_string(item) + ", " + std::to_string(type) + ", " + value + ")");
            }
        }
        for (int type = 1; type <= 9; ++type) {
            std::string columns = "PersonID, TypNummer", values = "1, " + std::to_string(type);
            for (const auto& s : kScores) {
                columns += std::string(", ") + s.column;
                values += ", " + (s.nullAt[type - 1] ? std::string("Null") : std::to_string(s.values[type - 1]));
            }
            d->Execute("insert into ergebnis (" + columns + ") values (" + values + ")");
        }
        for (int type = 9; type >= 1; --type)
            d->Execute("insert into ergebnis (PersonID, TypNummer, AW0) values (2, " + std::to_string(type) + ", " +
                       std::to_string(2 * type) + ")");
        for (int type = 1; type <= 9; ++type)
            d->Execute("insert into ergebnis (PersonID, TypNummer) values (3, " + std::to_string(type) + ")");
        d->CommitTrans();
        d->Close();
    }

    void buildSettings() {
        auto s = ws->CreateDatabase(fileOf(File::Settings), "", db::dbInstallation);
        for (const char* t : {"MenuTxt", "labelTxt", "MenuTxtTypen", "labelTxtTypen"})
            s->Execute(std::string("CREATE TABLE [") + t + "] ([ID] LONG, [BeschriftungDtsch] TEXT(255))");
        for (const char* t : {"DialogTxt", "DialogTxtTypen"})
            s->Execute(std::string("CREATE TABLE [") + t + "] ([ID] SHORT, [BeschriftungDtsch] TEXT(255))");
        s->Execute("CREATE TABLE [TestItemTyp] ([ItemNummer] SHORT, [TypNummer] SHORT)");
        s->Execute("CREATE TABLE [testitems] ([itemnummer] SHORT, [itemtext] TEXT(255))");
        s->Execute("CREATE TABLE [fragebogen] ([fb_seite1] LONGTEXT, [fb_seite2] LONGTEXT)");
        s->Execute(
            "CREATE TABLE [Typ] ([typnummer] SHORT, [typbezeichnung] TEXT(50), "
            "[typbezeichnungZUVStandard] TEXT(50))");
        s->Execute(
            "CREATE TABLE [Konfiguration] ([Assistentanzeige] BIT, [typbenennungziffer] BIT, "
            "[Standardschriftfarbe] LONG, [Standardschriftart] TEXT(50), [StandardschriftGroesse] SHORT, "
            "[DruckZeilenabstand] TEXT(50), [Vorname] TEXT(50), [firma] TEXT(50), [DruckNameKopf] BIT, "
            "[DruckLinieFuss] BIT)");
        s->Execute(
            "CREATE TABLE [KonfigurationTypen] ([Assistentanzeige] BIT, [Standardschriftart] TEXT(50), "
            "[VorName] TEXT(50), [DruckLiteratur] BIT, [DruckLinieFuss] BIT)");
        s->Execute(
            "CREATE TABLE [chartkonfiguration] ([Balken 2D] BIT, [Fläche 2D] BIT, [ShowÜberschrift] BIT, "
            "[DiagrammFontBold] BIT, [DiagrammFontsize] SHORT, [DiagrammFussnote] TEXT(255), "
            "[3DRotation] TEXT(10), [Achsenlinienfarbegrün] SHORT, [HintergrundfarbeGrün] SHORT)");
        s->BeginTrans();
        const char* menus[] = {"Ansicht", "Datei", "Bearbeiten"};
        int k = 0;
        for (int id : {2, 0, 1}) {
            for (const char* t : {"MenuTxt", "labelTxt", "DialogTxt", "MenuTxtTypen", "labelTxtTypen", "DialogTxtTypen"})
                s->Execute(std::string("insert into ") + t + " values (" + std::to_string(id) + ", '" + menus[k] + "')");
            ++k;
        }
        for (auto [item, type] : {std::pair{5, 8}, {5, 9}, {1, 3}, {2, 1}, {2, 1}, {1, 4}})
            s->Execute("insert into TestItemTyp values (" + std::to_string(item) + ", " + std::to_string(type) + ")");
        for (int item = 1; item <= 109; ++item)
            s->Execute("insert into testitems values (" + std::to_string(item) + ", 'Aussage " + std::to_string(item) +
                       "')");
        s->Execute("insert into fragebogen values ('Seite eins\r\nzweite Zeile', 'Seite zwei')");
        const char* names[] = {"Eins", "Zwei", "Drei", "Vier", "Fünf", "Sechs", "Sieben", "Acht", "Neun"};
        for (int type = 1; type <= 9; ++type)
            s->Execute("insert into Typ values (" + std::to_string(type) + ", '" + names[type - 1] + "', 'Standard " +
                       std::to_string(type) + "')");
        s->Execute(
            "insert into Konfiguration values (True, False, 255, 'Arial', 10, 'einfach', 'Eva', 'Praxis', True, "
            "False)");
        s->Execute("insert into KonfigurationTypen values (True, 'Arial', 'Eva', True, False)");
        s->Execute("insert into chartkonfiguration values (-1, 0, -1, 0, 10, Null, '30', 0, 255)");
        s->CommitTrans();
        s->Close();
    }

    // Three topics, literature for two of them, the text of every topic for types 1 to 9; the
    // topics' rows of a type are stored out of topic order. The stored query is written as a
    // stored query of the old files reads: the two "titel" and the two "thementitelid" columns
    // take their tables' names.
    void buildContent() {
        auto c = ws->CreateDatabase(fileOf(File::Content), "", db::dbInstallation);
        for (const char* sql : support::kInhaltsTabellen) c->Execute(sql);
        c->BeginTrans();
        for (int type = 1; type <= 9; ++type) c->Execute("insert into typ values (" + std::to_string(type) + ")");
        c->Execute("insert into thementitel values (1, 'Kindheit'), (2, 'Beruf'), (3, 'Partnerschaft')");
        c->Execute(
            "insert into Literatur (literaturid, Autor, Titel, Herausgeber) values (1, 'L. Adler', "
            "'Neun Wege', 'K. Brandt')");
        c->Execute("insert into Literatur (literaturid, Autor) values (2, 'M. Zeller')");
        for (int type = 1; type <= 9; ++type)
            for (int topic : {2, 3, 1})
                c->Execute("insert into thema (thementitelid, enneatypid, Inhalt, literaturid) values (" +
                           std::to_string(topic) + ", " + std::to_string(type) + ", 'Thema " + std::to_string(topic) +
                           " für Typ " + std::to_string(type) + "', " + std::to_string(topic == 3 ? 2 : 1) + ")");
        c->CommitTrans();
        c->Close();
    }

    // A data control bound as the windows bind theirs.
    void bind(db::DataControl& dc, File f, const std::string& source) {
        dc.setDatabaseName(fileOf(f));
        dc.setRecordSource(source);
        dc.Refresh();
    }
};

TEST_F(Catalogue, RecordSourcesGiveTheirRowsInTheOrderTheWindowsWalkThem) {
    using T = db::RecordsetType;
    const std::string ranking = "select * from ergebnis  where personid =  1 order by ";
    const SourceCase cases[] = {
        // Rankings of evaluation pages, the cross-check page and report pages 7 to 16: ties keep
        // the stored (type) order, Null scores come last when descending and first when ascending.
        {"ranking by total", File::Data, ranking + "typgesamtsumme desc", T::Dynaset, 9, "TypNummer",
         "2|4|3|7|1|5|8|6|9"},
        {"ranking by rating 4, all tied", File::Data, ranking + "typsumme4 desc", T::Dynaset, 9, "typnummer",
         "1|2|3|4|5|6|7|8|9"},
        {"ranking by rating 3", File::Data, ranking + "typsumme3 desc", T::Dynaset, 9, "typnummer", "9|8|7|6|5|4|3|2|1"},
        {"ranking by rating 2", File::Data, ranking + "typsumme2 desc", T::Dynaset, 9, "typnummer", "1|4|7|3|6|9|2|5|8"},
        {"ranking by rating 1, ascending", File::Data, ranking + "typsumme1", T::Dynaset, 9, "typnummer",
         "2|5|8|3|6|9|1|4|7"},
        {"ranking by rating 0, ascending", File::Data, ranking + "typsumme0", T::Dynaset, 9, "typnummer",
         "5|2|3|6|8|4|9|1|7"},
        {"ranking by ratings 3 and 4", File::Data, ranking + "typsumme34 desc", T::Dynaset, 9, "typnummer",
         "5|1|3|8|2|7|4|9|6"},
        {"ranking by ratings 0 and 1", File::Data, ranking + "typsumme01", T::Dynaset, 9, "typnummer",
         "1|3|7|8|9|5|4|2|6"},
        {"total score read along the ranking", File::Data, ranking + "typgesamtsumme desc", T::Dynaset, 9,
         "TypGesamtSumme", "40|40|36|36|30|10|0|-2|Null"},
        {"answer values by type (report pages 19 to 21)", File::Data,
         "select * from ergebnis  where personid =  2 order by typnummer", T::Dynaset, 9, "AW0",
         "2|4|6|8|10|12|14|16|18"},
        {"chart series: rows in stored order", File::Data, "select * from ergebnis where personid =  2", T::Dynaset, 9,
         "typnummer", "9|8|7|6|5|4|3|2|1"},
        {"report: result rows of the person, number joined with &", File::Data,
         "select * from ergebnis where personid = 2", T::Dynaset, 9, nullptr, nullptr},
        {"scoring: blank result rows read Null", File::Data, "select * from ergebnis where personid =  3", T::Dynaset, 9,
         "typgesamtsumme", "Null|Null|Null|Null|Null|Null|Null|Null|Null"},
        {"scoring cursors", File::Data, "select * from typwertzuweisung where personid =  1", T::Dynaset, 126, nullptr,
         nullptr},
        {"person row with Str", File::Data, "select * from persdat where personid =  1", T::Dynaset, 1, "Nachname",
         "Berg"},
        {"chart options: person row, field name in other case", File::Data, "select * from persdat where personID =  1",
         T::Dynaset, 1, "vorname", "Zora"},
        {"report: person row, number joined with &", File::Data, "select * from persdat where personid = 4", T::Dynaset,
         1, "Vorname", "Anna"},
        {"person without first name", File::Data, "select * from persdat where personid =  3", T::Dynaset, 1, "Vorname",
         "Null"},
        {"person list by surname", File::Data, "select * from persdat order by nachname", T::Dynaset, 4, "PersonID",
         "3|1|4|2"},
        {"person list by surname and first name", File::Data, "select * from persdat order by nachname, vorname",
         T::Dynaset, 4, "PersonID", "3|4|1|2"},
        {"XML import: every answer", File::Data, "Select * from PersonTestErgebnis;", T::Dynaset, 218, nullptr, nullptr},
        {"XML import: every item-type row", File::Data, "Select * from TypWertZuweisung;", T::Dynaset, 252, nullptr,
         nullptr},
        {"XML import: every result row", File::Data, "Select * from Ergebnis;", T::Dynaset, 27, nullptr, nullptr},
        {"XML import: the person's item-type rows", File::Data, "Select * from TypWertZuweisung where PersonID =  2",
         T::Dynaset, 126, nullptr, nullptr},
        {"XML import: the person's answers", File::Data, "Select * from PersonTestErgebnis where PersonID =  2",
         T::Dynaset, 109, "ItemWert", nullptr},
        {"test form: answers, LIKE on a number", File::Data, "select * from persontestergebnis where personid like 1",
         T::Dynaset, 109, nullptr, nullptr},
        {"test form: item-type rows, LIKE on a number", File::Data,
         "select * from typwertzuweisung where personid like 2", T::Dynaset, 126, nullptr, nullptr},
        {"import: answers of one source person", File::Data, "select * from persontestergebnis where personid =  1",
         T::Dynaset, 109, nullptr, nullptr},
        {"main window cursors by table name", File::Data, "persdat", T::Dynaset, 4, "nachname",
         "Berg|Mueller|Ärger|Berg"},
        {"", File::Data, "persontestergebnis", T::Dynaset, 218, nullptr, nullptr},
        {"", File::Data, "typwertzuweisung", T::Dynaset, 252, nullptr, nullptr},
        {"", File::Data, "ergebnis", T::Dynaset, 27, nullptr, nullptr},
        {"line writer's table, empty", File::Data, "Drucktabelle", T::Dynaset, 0, nullptr, nullptr},
        {"report: print rows, empty", File::Data, "select * from Drucktabelle order by Druckseite, ZeilenNr;", T::Dynaset,
         0, nullptr, nullptr},
        {"file version row", File::Data, "Info", T::Table, 1, "Version", "32-Bit"},

        // Settings database.
        {"menu texts by ID", File::Settings,
         "SELECT DISTINCTROW MenuTxt.BeschriftungDtsch FROM MenuTxt ORDER BY MenuTxt.ID;", T::Snapshot, 3,
         "BeschriftungDtsch", "Datei|Bearbeiten|Ansicht"},
        {"label texts by ID", File::Settings,
         "SELECT DISTINCTROW labelTxt.BeschriftungDtsch FROM labelTxt ORDER BY labelTxt.ID;", T::Snapshot, 3,
         "BeschriftungDtsch", "Datei|Bearbeiten|Ansicht"},
        {"dialog texts with their ID read as id", File::Settings,
         "SELECT DISTINCTROW DialogTxt.ID, DialogTxt.BeschriftungDtsch FROM DialogTxt ORDER BY DialogTxt.ID;",
         T::Snapshot, 3, "id", "0|1|2"},
        {"reader menu texts", File::Settings,
         "SELECT DISTINCTROW MenuTxtTypen.BeschriftungDtsch FROM MenuTxtTypen ORDER BY MenuTxtTypen.ID;", T::Snapshot, 3,
         "BeschriftungDtsch", "Datei|Bearbeiten|Ansicht"},
        {"reader label texts", File::Settings,
         "SELECT DISTINCTROW labelTxtTypen.BeschriftungDtsch FROM labelTxtTypen ORDER BY labelTxtTypen.ID;", T::Snapshot,
         3, "beschriftungdtsch", "Datei|Bearbeiten|Ansicht"},
        {"reader dialog texts", File::Settings,
         "SELECT DISTINCTROW DialogTxtTypen.ID, DialogTxtTypen.BeschriftungDtsch FROM DialogTxtTypen ORDER BY "
         "DialogTxtTypen.ID;",
         T::Snapshot, 3, "BeschriftungDtsch", "Datei|Bearbeiten|Ansicht"},
        {"item-type pairs in stored order, DISTINCTROW drops no row", File::Settings,
         "SELECT DISTINCTROW * FROM TestItemTyp;", T::Snapshot, 6, "TypNummer", "8|9|3|1|1|4"},
        {"statements", File::Settings, "testitems", T::Dynaset, 109, nullptr, nullptr},
        {"questionnaire pages keep CR LF", File::Settings, "fragebogen", T::Dynaset, 1, "fb_seite1",
         "Seite eins\r\nzweite Zeile"},
        {"type names in stored order", File::Settings, "Typ", T::Dynaset, 9, "typbezeichnung",
         "Eins|Zwei|Drei|Vier|Fünf|Sechs|Sieben|Acht|Neun"},
        {"settings row", File::Settings, "Konfiguration", T::Dynaset, 1, "DruckNameKopf", "-1"},
        {"letterhead row", File::Settings, "select * from Konfiguration", T::Dynaset, 1, "Firma", "Praxis"},
        {"reader settings row", File::Settings, "KonfigurationTypen", T::Dynaset, 1, "vorname", "Eva"},
        {"chart settings: names with blank and umlaut", File::Settings, "chartkonfiguration", T::Dynaset, 1, "Fläche 2D",
         "0"},
        {"chart settings: umlaut in another case", File::Settings, "chartkonfiguration", T::Dynaset, 1,
         "HintergrundFarbeGRÜN", "255"},
        {"chart settings: empty footnote is Null", File::Settings, "chartkonfiguration", T::Dynaset, 1,
         "DiagrammFussnote", "Null"},
        {"chart settings: name with a leading digit", File::Settings, "chartkonfiguration", T::Dynaset, 1, "3DRotation",
         "30"},

        // Content database.
        {"types", File::Content, "typ", T::Dynaset, 9, "typnummer", "1|2|3|4|5|6|7|8|9"},
        {"topic list in stored order", File::Content, "thementitel", T::Dynaset, 3, "Titel",
         "Kindheit|Beruf|Partnerschaft"},
        {"topic list, other case", File::Content, "Thementitel", T::Dynaset, 3, "titel", "Kindheit|Beruf|Partnerschaft"},
        {"one topic for one type", File::Content,
         "select * from themenalleinfos where thementitel.titel = 'Beruf' and enneatypid =  4", T::Dynaset, 1, "Inhalt",
         "Thema 2 für Typ 4"},
        {"its title", File::Content,
         "select * from themenalleinfos where thementitel.titel = 'Beruf' and enneatypid =  4", T::Dynaset, 1,
         "thementitel.titel", "Beruf"},
        {"its literature title", File::Content,
         "select * from themenalleinfos where thementitel.titel = 'Beruf' and enneatypid =  4", T::Dynaset, 1,
         "Literatur.Titel", "Neun Wege"},
        {"literature fields may be Null", File::Content,
         "select * from themenalleinfos where thementitel.titel = 'Partnerschaft' and enneatypid =  9", T::Dynaset, 1,
         "Literatur.Titel", "Null"},
        {"print by type: topics in topic order", File::Content,
         "select * from themenalleinfos where enneatypid =  3 order by thema.thementitelid", T::Dynaset, 3,
         "Thementitel.Titel", "Kindheit|Beruf|Partnerschaft"},
        {"print by type: text read as inhalt", File::Content,
         "select * from themenalleinfos where enneatypid =  3 order by thema.thementitelid", T::Dynaset, 3, "inhalt",
         "Thema 1 für Typ 3|Thema 2 für Typ 3|Thema 3 für Typ 3"},
        {"print by type: author", File::Content,
         "select * from themenalleinfos where enneatypid =  3 order by thema.thementitelid", T::Dynaset, 3, "Autor",
         "L. Adler|L. Adler|M. Zeller"},
    };
    std::map<File, db::DataControl> controls;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.use) + ": " + c.source);
        db::DataControl& dc = controls[c.file];
        dc.setRecordsetType(c.type);
        ASSERT_NO_THROW(bind(dc, c.file, c.source));
        auto rs = dc.Recordset();
        if (c.count >= 0) {
            EXPECT_EQ(rs->RecordCount(), c.count);
        }
        if (!c.field) continue;
        std::string read;
        for (; !rs->Eof(); rs->MoveNext()) read += (read.empty() ? "" : "|") + text(rs->Fields(c.field).Value());
        if (c.expected) {
            EXPECT_EQ(read, c.expected);
        }
    }
}

TEST_F(Catalogue, CriteriaFindTheRowsTheLoopsExpect) {
    const FindCase cases[] = {
        {"scoring: unanswered statement", File::Data, "select * from typwertzuweisung where personid =  1",
         "typrealwert is Null", false, "itemnummer", "51"},
        {"test form: storing a rating, statement with two types", File::Data,
         "select * from typwertzuweisung where personid like 1", "itemnummer like  17", true, "typnummer", "9|3"},
        {"statement 1 is not statement 10 to 19", File::Data, "select * from typwertzuweisung where personid like 1",
         "itemnummer like  1", true, "typnummer", "2|5"},
        {"test form: confirm at the end", File::Data, "select * from typwertzuweisung where personid like 2",
         "typrealwert is Null", false, "itemnummer", "1"},
        {"test form: the answer of a statement", File::Data, "select * from persontestergebnis where personid like 1",
         "itemnummer like 17", false, "itemwert", "2"},
        {"XML import: item-type rows of a statement", File::Data, "Select * from TypWertZuweisung where PersonID =  1",
         "itemnummer like  17", true, "TypNummer", "9|3"},
        {"XML import: the answer row", File::Data, "Select * from PersonTestErgebnis where PersonID =  1",
         "itemnummer like  50", false, "ItemWert", "0"},
        {"person window: back to the person", File::Data, "select * from persdat order by nachname", "PersonID =4", false,
         "Vorname", "Anna"},
        {"test form: statement text", File::Settings, "testitems", "itemnummer like 17", false, "itemtext", "Aussage 17"},
        {"reader: type button", File::Content, "typ", "typnummer =  4", false, "typnummer", "4"},
        {"reader: topic by its dotted name", File::Content,
         "select * from themenalleinfos where enneatypid =  3 order by thema.thementitelid",
         "thementitel.titel = 'Partnerschaft'", false, "Autor", "M. Zeller"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.use) + ": " + c.criterion);
        db::DataControl dc;
        ASSERT_NO_THROW(bind(dc, c.file, c.source));
        auto rs = dc.Recordset();
        std::string read;
        for (rs->FindFirst(c.criterion); !rs->NoMatch(); rs->FindNext(c.criterion)) {
            read += (read.empty() ? "" : "|") + text(rs->Fields(c.field).Value());
            if (!c.loop) break;
        }
        EXPECT_EQ(read, c.expected);
    }

    // The reader's type buttons move its type cursor; the bound type label follows the row.
    db::DataControl typ;
    int moves = 0;
    typ.addRowListener([&] { ++moves; });
    bind(typ, File::Content, "typ");
    const int afterRefresh = moves;
    typ.Recordset()->FindFirst("typnummer =  7");
    EXPECT_EQ(moves, afterRefresh + 1);
    EXPECT_EQ(typ.Recordset()->Fields("typnummer").Value().toInt(), 7);

    // A search that finds nothing says so and leaves the row where it was.
    db::DataControl pers;
    bind(pers, File::Data, "select * from persdat order by nachname");
    auto rs = pers.Recordset();
    rs->MoveNext();
    rs->FindFirst("PersonID =99");
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->Fields("PersonID").Value().toLong(), 1);
    EXPECT_EQ(errorOf([&] { rs->FindFirst("gibtsnicht = 1"); }), vb::err::UnknownFieldInCriteria);
}

TEST_F(Catalogue, FailuresCarryTheNumbersTheTrapsShow) {
    const ErrorCase cases[] = {
        {"ranking of a person without result rows", File::Data,
         "select * from ergebnis  where personid =  4 order by typgesamtsumme desc", vb::err::NoCurrentRecord},
        {"report: person that is gone", File::Data, "select * from persdat where personid = 99",
         vb::err::NoCurrentRecord},
        {"reader: topic missing for the type", File::Content,
         "select * from themenalleinfos where thementitel.titel = 'Gibtsnicht' and enneatypid =  1",
         vb::err::NoCurrentRecord},
        {"reader: topic title with a quote, not doubled", File::Content,
         "select * from themenalleinfos where thementitel.titel = 'Eltern's Haus' and enneatypid =  1",
         vb::err::SyntaxError},
        {"a table that does not exist", File::Data, "Gibtsnicht", vb::err::ObjectNotFound},
        {"a query on a table that does not exist", File::Settings, "select * from Gibtsnicht", vb::err::TableNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.use) + ": " + c.source);
        db::DataControl dc;
        EXPECT_EQ(errorOf([&] {
                      bind(dc, c.file, c.source);
                      dc.Recordset()->MoveFirst();
                  }),
                  c.error);
    }
    // A caller that doubles the quote finds the topic.
    db::DataControl dc;
    auto c = ws->OpenDatabase(fileOf(File::Content));
    c->Execute("insert into thementitel values (4, 'Eltern''s Haus')");
    c->Execute("insert into thema (thementitelid, enneatypid, Inhalt, literaturid) values (4, 1, 'x', 2)");
    bind(dc, File::Content,
         "select * from themenalleinfos where thementitel.titel = 'Eltern''s Haus' and enneatypid =  1");
    EXPECT_EQ(dc.Recordset()->Fields("thementitel.titel").Value().toString(), "Eltern's Haus");
    // The topic table itself is still read by its own column names.
    auto t = c->OpenRecordset("select thementitel.titel from thementitel where thementitel.thementitelid = 4");
    EXPECT_EQ(t->Fields("titel").Value().toString(), "Eltern's Haus");
}

// The line writer appends rows through the main window's data control, one AddNew/Update a line;
// the report reads them back in page and line order.
TEST_F(Catalogue, PrintLinesAreWrittenOneByOneAndReadInPageAndLineOrder) {
    auto d = ws->OpenDatabase(fileOf(File::Data), false, false);
    db::DataControl data5, data1;
    auto write = [&](int16_t page, int16_t line, const std::string& text, const std::string& format) {
        auto rs = data5.Recordset();
        rs->AddNew();
        rs->Fields("Druckseite") = page;
        rs->Fields("ZeilenNr") = line;
        rs->Fields("ZeilenText") = text;
        rs->Fields("Formatierung") = format;
        rs->Update();
    };
    for (int pass = 0; pass < 2; ++pass) {
        d->Execute("DELETE * FROM Drucktabelle;");
        bind(data5, File::Data, "Drucktabelle");
        write(7, 1, "Rangfolge", "U1");
        write(7, 0, "", "DE");
        write(1, 2, "Zora Berg", "U2");
        write(1, 1, "Persönliche Angaben", "U2");
        write(24, 3, std::string(255, 'x'), "C1");
        write(7, 2, "", "DE");
    }
    EXPECT_EQ(d->RecordsAffected(), 6);
    EXPECT_EQ(errorOf([&] { write(7, 1, "noch einmal", "U1"); }), vb::err::DuplicateKey);
    EXPECT_EQ(errorOf([&] { write(7, 9, std::string(256, 'x'), "DE"); }), vb::err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { write(7, 9, "x", "DEF"); }), vb::err::FieldTooSmall);

    bind(data1, File::Data, "select * from Drucktabelle order by Druckseite, ZeilenNr;");
    auto rs = data1.Recordset();
    ASSERT_EQ(rs->RecordCount(), 6);
    std::string order;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        order += rs->Fields("Druckseite").Value().toString() + "/" + rs->Fields("ZeilenNr").Value().toString() + "=" +
                 rs->Fields("Formatierung").Value().toString() + " ";
    EXPECT_EQ(order, "1/1=U2 1/2=U2 7/0=DE 7/1=U1 7/2=DE 24/3=C1 ");
    rs->MoveFirst();
    rs->MoveNext();
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("Zeilentext").Value(), Variant(""));  // a blank line is empty, not Null
    rs->FindFirst("Druckseite = 7 and ZeilenNr = 1");
    EXPECT_EQ(rs->Fields("ZeilenText").Value().toString(), "Rangfolge");  // the first row stays

    d->Execute("DELETE * FROM Drucktabelle;");
    bind(data1, File::Data, "select * from Drucktabelle order by Druckseite, ZeilenNr;");
    EXPECT_EQ(data1.Recordset()->RecordCount(), 0);
    data1.close();
    data5.close();
    d->Close();

    // A data file opened read-only refuses both the emptying and the writing.
    auto ro = ws->OpenDatabase(fileOf(File::Data), false, true);
    EXPECT_EQ(errorOf([&] { ro->Execute("DELETE * FROM Drucktabelle;"); }), vb::err::ReadOnlyDatabase);
    data5.setReadOnly(true);
    bind(data5, File::Data, "Drucktabelle");
    EXPECT_EQ(errorOf([&] { write(1, 1, "x", "DE"); }), vb::err::ReadOnlyDatabase);
}

// Settings rows are saved by several windows that each hold the row: only the fields a window sets
// are written, Yes/No fields take any non-zero value as -1, and both path spellings reach one file.
TEST_F(Catalogue, SettingsRowsAreSavedByTheWindowsThatHoldThem) {
    const std::string folder = m_dir.path().toStdString();
    // The program folder is read upper-cased from the INI file.
    const std::string slash = folder + "/zuv.sdb",
                      backslash = QString::fromStdString(folder).toUpper().toStdString() + "\\ZUV.SDB";
    db::DataControl form4, report4, report5, chart, druckMan;
    form4.setDatabaseName(slash);
    form4.setRecordSource("Konfiguration");
    form4.Refresh();
    report4.setDatabaseName(slash);
    report4.setRecordSource("Konfiguration");
    report4.Refresh();
    report5.setDatabaseName(backslash);
    report5.setRecordSource("select * from Konfiguration");
    report5.Refresh();

    // The settings window keeps its row in edit mode from loading on; the report window saves its
    // switches meanwhile, then the settings window saves its own fields.
    auto f = form4.Recordset();
    f->Edit();
    f->Fields("Standardschriftart") = "Verdana";
    f->Fields("typbenennungziffer") = 1;  // a check box value
    auto r = report4.Recordset();
    r->Edit();
    r->Fields("DruckNameKopf") = 0;
    r->Fields("DruckLinieFuss") = 1;
    r->Update();
    f->Fields("StandardschriftGroesse") = "12";
    f->Update();
    report5.Refresh();
    auto row = report5.Recordset();
    EXPECT_EQ(text(row->Fields("Standardschriftart").Value()), "Verdana");
    EXPECT_EQ(text(row->Fields("typbenennungziffer").Value()), "-1");
    EXPECT_EQ(row->Fields("StandardschriftGroesse").Value(), Variant(int16_t(12)));
    EXPECT_EQ(text(row->Fields("DruckNameKopf").Value()), "0");
    EXPECT_EQ(text(row->Fields("DruckLinieFuss").Value()), "-1");
    EXPECT_EQ(text(row->Fields("Vorname").Value()), "Eva");

    // The chart options save every column of their row.
    chart.setDatabaseName(slash);
    chart.setRecordSource("chartkonfiguration");
    chart.Refresh();
    auto c = chart.Recordset();
    c->Edit();
    c->Fields("Balken 2D") = 0;
    c->Fields("Fläche 2D") = true;
    c->Fields("ShowÜberschrift") = 2;  // a greyed check box counts as ticked
    c->Fields("DiagrammFontbold") = 1;
    c->Fields("3DRotation") = "40";
    c->Fields("Achsenlinienfarbegrün") = 128;
    c->Fields("DiagrammFussnote") = "";
    c->Update();
    EXPECT_EQ(errorOf([&] {
                  c->Edit();
                  c->Fields("Achsenlinienfarbegrün") = "grün";
              }),
              vb::err::TypeMismatch);
    c->CancelUpdate();
    chart.Refresh();
    c = chart.Recordset();
    std::string read;
    for (const char* n : {"balken 2d", "fläche 2d", "showüberschrift", "DiagrammFontBold", "3drotation",
                          "AchsenlinienfarbeGrün", "DiagrammFussnote"})
        read += text(c->Fields(n).Value()) + " ";
    EXPECT_EQ(read, "0 -1 -1 -1 40 128  ");

    // The reader's print manager saves its switches while the reader's settings window holds the row.
    db::DataControl readerForm4;
    readerForm4.setDatabaseName(slash);
    readerForm4.setRecordSource("KonfigurationTypen");
    readerForm4.Refresh();
    readerForm4.Recordset()->Edit();
    druckMan.setDatabaseName(slash);
    druckMan.setRecordSource("KonfigurationTypen");
    druckMan.Refresh();
    druckMan.Recordset()->Edit();
    druckMan.Recordset()->Fields("DruckLiteratur") = 0;
    druckMan.Recordset()->Update();
    readerForm4.Recordset()->Fields("VorName") = "Ida";
    readerForm4.Recordset()->Update();
    druckMan.Refresh();
    EXPECT_EQ(text(druckMan.Recordset()->Fields("DruckLiteratur").Value()), "0");
    EXPECT_EQ(text(druckMan.Recordset()->Fields("Vorname").Value()), "Ida");
}

// The shared main-window control that lists persons is rebound to the settings database to print
// the questionnaire, and back.
TEST_F(Catalogue, ADataControlIsReboundBetweenDataFileAndSettings) {
    db::DataControl data4;
    bind(data4, File::Data, "persdat");
    EXPECT_EQ(data4.Recordset()->RecordCount(), 4);
    bind(data4, File::Settings, "testitems");
    EXPECT_EQ(data4.Recordset()->Fields("itemtext").Value().toString(), "Aussage 1");
    bind(data4, File::Settings, "fragebogen");
    EXPECT_EQ(data4.Recordset()->Fields("fb_seite2").Value().toString(), "Seite zwei");
    bind(data4, File::Data, "ergebnis");
    EXPECT_EQ(data4.Recordset()->RecordCount(), 27);
    data4.close();
    // Nothing keeps the settings database open: it can be opened exclusively.
    auto s = ws->OpenDatabase(fileOf(File::Settings), true, false);
    s->Close();
}

// A data file made before the print table existed gets it when opened; running the two statements
// again fails with the numbers the opening passes over.
TEST_F(Catalogue, AnOlderDataFileGetsThePrintTableWithItsKey) {
    auto d = ws->CreateDatabase(path("alt.ZDB"), ";LANGID=0x0409;CP=1252;COUNTRY=0", db::dbEncrypt);
    for (const char* sql : kDataFileStatements)
        if (std::string(sql).find("Drucktabelle") == std::string::npos) d->Execute(sql);
    EXPECT_FALSE(d->hasTable("DRUCKTABELLE"));
    const std::string table = kDataFileStatements[5], key = kDataFileStatements[10];
    d->Execute(table);
    d->Execute(key);
    EXPECT_TRUE(d->hasTable("drucktabelle"));
    EXPECT_EQ(errorOf([&] { d->Execute(table); }), vb::err::ObjectExists);
    EXPECT_EQ(errorOf([&] { d->Execute(key); }), vb::err::IndexExists);
    d->Execute("insert into Drucktabelle values (1, 1, 'a', 'DE')");
    EXPECT_EQ(errorOf([&] { d->Execute("insert into Drucktabelle values (1, 1, 'b', 'DE')"); }), vb::err::DuplicateKey);
    // The key of the data file's other tables is separate although it has the same name.
    d->Execute("insert into PersDat (Nachname) values ('Berg')");
    auto p = d->OpenRecordset("PersDat");
    EXPECT_EQ(p->Fields("PersonID").Value().toLong(), 1);
}

// The import's statements, as the import joins them, from another data file.
TEST_F(Catalogue, ImportStatementsCopyTheOtherFilesRows) {
    const std::string source = path("Quelle.ZDB");
    std::filesystem::copy_file(fileOf(File::Data), source);
    auto d = ws->OpenDatabase(fileOf(File::Data), false, false);
    const char* tables[][2] = {
        {"persontestergebnis", "personid, itemnummer,itemwert"},
        {"typwertzuweisung", "personid, itemnummer,typnummer, typrealwert"},
    };
    d->Execute(" SELECT * INTO persontestergebnistemp FROM persontestergebnis  in '" + source + "'; ");
    EXPECT_EQ(d->RecordsAffected(), 218);
    d->Execute(" SELECT * INTO typwertzuweisungtemp FROM typwertzuweisung  in '" + source + "'; ");
    EXPECT_EQ(d->RecordsAffected(), 252);
    // The source person 2 becomes person 4 here.
    db::DataControl data1, data2;
    data1.setDatabaseName(source);
    data1.setConnect("Access 2000;");
    data1.setRecordSource("select * from persontestergebnis where personid =  2");
    data1.Refresh();
    EXPECT_EQ(data1.Recordset()->RecordCount(), 109);
    // Copying a person's rows goes by position: field 0 is the person number.
    data1.setRecordSource("select * from ergebnis where personid =  2");
    data1.Refresh();
    EXPECT_EQ(data1.Recordset()->FieldCount(), 16);
    EXPECT_EQ(data1.Recordset()->Fields(0).Name(), "PersonID");
    EXPECT_EQ(data1.Recordset()->Fields(15).Name(), "AWGesamt");
    data1.close();
    d->Execute("update persontestergebnistemp set personid = 4 where personid = 2");
    d->Execute("delete from persontestergebnistemp where personid <> 4");
    d->Execute(
        "insert into persontestergebnis (personid, itemnummer,itemwert)  select  personid, itemnummer,itemwert  "
        "from  persontestergebnistemp");
    EXPECT_EQ(d->RecordsAffected(), 109);
    d->Execute("update typwertzuweisungtemp set personid = 4 where personid = 2");
    d->Execute("delete from typwertzuweisungtemp where personid <> 4");
    d->Execute(
        "insert into typwertzuweisung(personid, itemnummer,typnummer, typrealwert)  select  personid, "
        "itemnummer,typnummer, typrealwert  from  typwertzuweisungtemp");
    EXPECT_EQ(d->RecordsAffected(), 126);
    for (const auto& t : tables) {
        d->Execute(std::string("drop table [") + t[0] + "temp];");
        EXPECT_FALSE(d->hasTable(std::string(t[0]) + "temp"));
    }
    bind(data2, File::Data, "select * from typwertzuweisung where personid =  4");
    EXPECT_EQ(data2.Recordset()->RecordCount(), 126);
    data2.Recordset()->FindFirst("typrealwert is Null");
    EXPECT_EQ(data2.Recordset()->Fields("itemnummer").Value().toInt(), 1);
}

}  // namespace
