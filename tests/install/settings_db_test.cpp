#include <algorithm>
#include <map>
#include <set>

#include "tests/install/dist_support.h"

#include "platform/db/data_control.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/recordset.h"
#include "platform/db/workspace.h"
#include "platform/vb/error.h"

using namespace install_test;

namespace {

class SettingsDatabase : public DistFolder {
protected:
    void SetUp() override {
        ASSERT_EQ(toolRun().status, 0) << toolRun().output;
        ASSERT_TRUE(fs::exists(file("zuv.sdb")));
    }

    static std::string text(const std::string& table, int position) {
        return sqlValue("zuv.sdb", "SELECT BeschriftungDtsch FROM " + table + " ORDER BY ID LIMIT 1 OFFSET " +
                                       std::to_string(position));
    }
    static std::set<std::string> columns(const std::string& table) {
        std::set<std::string> names;
        for (auto& row : sql("zuv.sdb", "SELECT name FROM pragma_table_info('" + table + "')")) {
            std::string lower = row;
            std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
            names.insert(lower);
        }
        return names;
    }
    static int count(const std::string& table, const std::string& where = "") {
        return std::stoi(
            sqlValue("zuv.sdb", "SELECT count(*) FROM [" + table + "]" + (where.empty() ? "" : " WHERE " + where)));
    }
};

TEST_F(SettingsDatabase, HoldsEveryTableWithItsColumnsAndRows) {
    struct Expect {
        const char* table;
        int minRows, maxRows;
        std::vector<std::string> columns;
    };
    const std::vector<Expect> expected = {
        {"MenuTxt", 46, 32767, {"id", "beschriftungdtsch"}},
        {"labelTxt", 461, 32767, {"id", "beschriftungdtsch"}},
        {"DialogTxt", 139, 32767, {"id", "beschriftungdtsch"}},
        {"MenuTxtTypen", 29, 32767, {"id", "beschriftungdtsch"}},
        // The reader's settings window uses the desk program's positions up to 244.
        {"labelTxtTypen", 245, 32767, {"id", "beschriftungdtsch"}},
        {"DialogTxtTypen", 55, 32767, {"id", "beschriftungdtsch"}},
        {"Typ",
         9,
         9,
         {"typnummer", "typbezeichnung", "typbezeichnungzuvstandard", "typbezeichnungodrell", "typbezeichnungtarvik",
          "typbezeichnungquimbly", "typbezeichnungfenwarth"}},
        {"testitems", 109, 109, {"itemnummer", "itemtext"}},
        {"TestItemTyp", 126, 126, {"itemnummer", "typnummer"}},
        {"fragebogen", 1, 1, {"fb_seite1", "fb_seite2"}},
        {"Konfiguration",
         1,
         1,
         {"assistentanzeige",
          "typbenennungziffer",
          "typbenennungzifferausgeschrieben",
          "typbenennungzuvstandard",
          "typbenennungodrell",
          "typbenennungtarvik",
          "typbenennungquimbly",
          "typbenennungfenwarth",
          "standardschriftfett",
          "standardschriftkursiv",
          "extraschriftfett",
          "extraschriftkursiv",
          "standardschriftfarbe",
          "extraschriftfarbe",
          "standardschriftart",
          "extraschriftart",
          "druckzeilenabstand",
          "zuvsymbolfarbe",
          "standardschriftgroesse",
          "extraschriftgroesse",
          "vorname",
          "nachname",
          "firma",
          "bereich",
          "abteilung",
          "strasse",
          "plzort",
          "land",
          "telefon",
          "fax",
          "mail",
          "url",
          "bemerkung",
          "drucknamekopf",
          "druckfirmakopf",
          "druckbereichkopf",
          "druckabteilungkopf",
          "druckstrassekopf",
          "druckplzortkopf",
          "drucklandkopf",
          "drucktelefonkopf",
          "druckfaxkopf",
          "druckemailkopf",
          "druckhomepagekopf",
          "druckbemerkungkopf",
          "testdrucknamekopf",
          "testdruckgeburtstagkopf",
          "testdruckstrassekopf",
          "testdruckplzortkopf",
          "testdrucklandkopf",
          "testdrucktelefonkopf",
          "testdruckemailkopf",
          "testdruckbereichkopf",
          "testdruckabteilungkopf",
          "testdruckbemerkungkopf",
          "testdrucktestdatumkopf",
          "druckseitennummerkopf",
          "druckaktuellesdatumkopf",
          "druckliniekopf",
          "druckenneagrammsymbol",
          "druckseitennummerfuss",
          "druckaktuellesdatumfuss",
          "druckliniefuss"}},
        {"KonfigurationTypen",
         1,
         1,
         {"assistentanzeige",
          "typbenennungfenwarth",
          "standardschriftart",
          "standardschriftgroesse",
          "druckzeilenabstand",
          "zuvsymbolfarbe",
          "extraschriftfarbe",
          "vorname",
          "nachname",
          "firma",
          "bereich",
          "abteilung",
          "strasse",
          "plzort",
          "land",
          "telefon",
          "fax",
          "mail",
          "url",
          "bemerkung",
          "drucknamekopf",
          "druckfirmakopf",
          "druckbereichkopf",
          "druckabteilungkopf",
          "druckstrassekopf",
          "druckplzortkopf",
          "drucklandkopf",
          "drucktelefonkopf",
          "druckfaxkopf",
          "druckemailkopf",
          "druckhomepagekopf",
          "druckbemerkungkopf",
          "druckseitennummerkopf",
          "druckaktuellesdatumkopf",
          "druckliniekopf",
          "druckenneagrammsymbol",
          "druckliteratur",
          "druckseitennummerfuss",
          "druckaktuellesdatumfuss",
          "druckliniefuss"}},
        {"chartkonfiguration",
         1,
         1,
         {"balken 2d",
          "fläche 3d",
          "schritt 3d",
          "skalierunglinear",
          "antwortwertegruppiert0bis4",
          "showÜberschrift",
          "diagrammÜberschrift",
          "diagrammfussnote",
          "diagrammfontname",
          "diagrammfontsize",
          "diagrammfontbold",
          "diagrammfontitalic",
          "3drotation",
          "3delevation",
          "3dbeleuchtung",
          "3dkantenbeleuchtung",
          "balkenabstand",
          "datenreihenuebereinander",
          "achsenlinienbreite",
          "achsenlinienfarbegrün",
          "hintergrundfarbegrün",
          "diagrammhintergrundfarbeblau",
          "reihe1rot",
          "reihe9blau"}},
    };
    for (auto& e : expected) {
        SCOPED_TRACE(e.table);
        int rows = count(e.table);
        EXPECT_GE(rows, e.minRows);
        EXPECT_LE(rows, e.maxRows);
        auto have = columns(e.table);
        for (std::string c : e.columns) {
            std::transform(c.begin(), c.end(), c.begin(), ::tolower);  // ASCII only, as the names are kept
            EXPECT_TRUE(have.count(c)) << "column " << c;
        }
    }
    EXPECT_EQ(columns("chartkonfiguration").size(), 81u);
    EXPECT_EQ(columns("KonfigurationTypen").size(), 53u);
}

TEST_F(SettingsDatabase, HoldsNoNullOrEmptyText) {
    for (const char* t : {"MenuTxt", "labelTxt", "DialogTxt", "MenuTxtTypen", "labelTxtTypen", "DialogTxtTypen"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(count(t, "BeschriftungDtsch IS NULL OR BeschriftungDtsch = ''"), 0);
        // Report lines are stored in a text column of 255 characters.
        EXPECT_EQ(count(t, "length(BeschriftungDtsch) > 255"), 0);
        // Positions are the IDs in order; a gap would shift every later text.
        EXPECT_EQ(sqlValue("zuv.sdb", std::string("SELECT max(ID) + 1 - count(*) FROM ") + t), "0");
    }
    for (const char* t :
         {"Konfiguration", "KonfigurationTypen", "chartkonfiguration", "Typ", "testitems", "fragebogen"}) {
        SCOPED_TRACE(t);
        std::string where;
        for (auto& c : columns(t)) where += (where.empty() ? "[" : " OR [") + c + "] IS NULL";
        EXPECT_EQ(count(t, where), 0);
    }
}

TEST_F(SettingsDatabase, TextsKeepTheRulesTheProgramsRelyOn) {
    // The evaluation window tells its mode by the first ten characters of its caption.
    EXPECT_EQ(text("labelTxt", 245),
              sqlValue("zuv.sdb", "SELECT substr(BeschriftungDtsch, 1, 10) FROM labelTxt WHERE ID = 158"));
    EXPECT_EQ(text("labelTxt", 246),
              sqlValue("zuv.sdb", "SELECT substr(BeschriftungDtsch, 1, 10) FROM labelTxt WHERE ID = 210"));
    EXPECT_NE(text("labelTxt", 245), text("labelTxt", 246));
    EXPECT_NE(text("labelTxt", 158), text("labelTxt", 210));
    EXPECT_NE(text("labelTxt", 153), text("labelTxt", 225));
    EXPECT_NE(text("labelTxt", 183), text("labelTxt", 184));

    // Symbol colours: each names an installed picture.
    std::set<std::string> colours;
    for (int p = 212; p <= 220; ++p) {
        colours.insert(text("labelTxt", p));
        EXPECT_TRUE(fs::exists(file("zuv_symb_" + text("labelTxt", p) + ".wmf"))) << text("labelTxt", p);
    }
    EXPECT_EQ(colours.size(), 9u);

    // Filters of the common dialog: description|pattern pairs.
    for (int p : {272, 273}) {
        std::string f = text("labelTxt", p);
        EXPECT_EQ(std::count(f.begin(), f.end(), '|') % 2, 1) << f;
        EXPECT_NE(f.find("*.ZDB"), std::string::npos) << f;
    }
    // A message-box title: short, one line.
    for (const char* t : {"DialogTxt", "DialogTxtTypen"}) {
        std::string title = text(t, 3);
        EXPECT_LE(title.size(), 40u);
        EXPECT_EQ(title.find('\n'), std::string::npos);
    }

    // The settings rows start valid: a naming scheme, a symbol colour and a line spacing the
    // settings window offers.
    for (const char* t : {"Konfiguration", "KonfigurationTypen"}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(sqlValue("zuv.sdb", std::string("SELECT typbenennungziffer + typbenennungzifferausgeschrieben + "
                                                  "typbenennungzuvstandard + typbenennungodrell + typbenennungtarvik + "
                                                  "typbenennungquimbly + typbenennungfenwarth FROM ") +
                                          t),
                  "-1");
        EXPECT_TRUE(colours.count(sqlValue("zuv.sdb", std::string("SELECT ZUVSymbolFarbe FROM ") + t)));
        EXPECT_EQ(sqlValue("zuv.sdb", std::string("SELECT DruckZeilenabstand FROM ") + t), text("labelTxt", 183));
        EXPECT_EQ(sqlValue("zuv.sdb", std::string("SELECT DruckZeilenabstand FROM ") + t), text("labelTxtTypen", 183));
    }
    EXPECT_LE(std::stoi(sqlValue("zuv.sdb", "SELECT StandardschriftGroesse FROM Konfiguration")), 12);
    EXPECT_LE(std::stoi(sqlValue("zuv.sdb", "SELECT StandardschriftGroesse FROM KonfigurationTypen")), 10);
}

TEST_F(SettingsDatabase, TypeDesignationsAreDistinctAndNoneInsideAnother) {
    EXPECT_EQ(sql("zuv.sdb", "SELECT typnummer FROM Typ"),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    for (const char* column : {"typbezeichnung", "typbezeichnungZUVStandard", "typbezeichnungOdrell",
                               "typbezeichnungTarvik", "typbezeichnungQuimbly", "typbezeichnungFenwarth"}) {
        SCOPED_TRACE(column);
        auto names = sql("zuv.sdb", std::string("SELECT ") + column + " FROM Typ");
        ASSERT_EQ(names.size(), 9u);
        for (std::size_t i = 0; i < 9; ++i) {
            EXPECT_FALSE(names[i].empty());
            EXPECT_LE(std::stoi(sqlValue("zuv.sdb", "SELECT length('" + names[i] + "')")), 20) << names[i];
            for (std::size_t j = 0; j < 9; ++j) {
                if (i != j) {
                    EXPECT_EQ(names[j].find(names[i]), std::string::npos) << names[i] << " in " << names[j];
                }
            }
        }
    }
}

TEST_F(SettingsDatabase, StatementsAndTheirTypes) {
    auto items = sql("zuv.sdb", "SELECT itemnummer, itemtext FROM testitems");
    ASSERT_EQ(items.size(), 109u);
    for (int n = 1; n <= 109; ++n) {
        const std::string& row = items[n - 1];
        EXPECT_EQ(row.substr(0, row.find('\t')), std::to_string(n));  // stored in number order
        std::string t = " " + row.substr(row.find('\t') + 1) + " ";
        for (auto& c : t)
            if (c == '.' || c == ',' || c == ';' || c == '?' || c == '!') c = ' ';
        bool firstPerson = false;
        for (const char* w : {" Ich ", " ich ", " mich ", " mir ", " mein", " Mein", " Mir "})
            firstPerson = firstPerson || t.find(w) != std::string::npos;
        EXPECT_TRUE(firstPerson) << row;
    }

    auto pairs = sql("zuv.sdb", "SELECT ItemNummer, TypNummer FROM TestItemTyp");
    ASSERT_EQ(pairs.size(), 126u);
    std::map<int, std::vector<int>> typesOf;
    std::map<int, int> perType;
    for (auto& p : pairs) {
        int item = std::stoi(p.substr(0, p.find('\t'))), type = std::stoi(p.substr(p.find('\t') + 1));
        typesOf[item].push_back(type);
        ++perType[type];
    }
    EXPECT_EQ(typesOf.size(), 109u);
    EXPECT_EQ(typesOf.begin()->first, 1);
    EXPECT_EQ(typesOf.rbegin()->first, 109);
    for (auto& [item, types] : typesOf) {
        std::set<int> unique(types.begin(), types.end());
        EXPECT_EQ(unique.size(), types.size()) << "statement " << item;
    }
    for (int t = 1; t <= 9; ++t) EXPECT_EQ(perType[t], 14) << "type " << t;

    // The statements whose rating counts reversed for one type have exactly the pairs the
    // scoring maps, no other.
    const std::map<int, std::set<int>> mapped = {{5, {8, 9}},  {28, {5, 2}}, {29, {7, 5}}, {30, {9, 3}}, {32, {7, 8, 1}},
                                                 {47, {6, 7}}, {63, {6, 4}}, {64, {9, 8}}, {81, {3, 6}}};
    for (auto& [item, types] : mapped)
        EXPECT_EQ(std::set<int>(typesOf[item].begin(), typesOf[item].end()), types) << "statement " << item;

    // The stored order is the order of the source, which every person's rows follow.
    auto source = lines(readFile(sourceDir() + "/test/TestItemTyp.txt"));
    source.erase(std::remove_if(source.begin(), source.end(), [](auto& l) { return l.empty() || l[0] == '#'; }),
                 source.end());
    EXPECT_EQ(pairs, source);
}

TEST_F(SettingsDatabase, ExplanationsSayWhatTheItemTypeTableHolds) {
    std::map<int, int> typesPerStatement, pairsPerType;
    auto pairs = sql("zuv.sdb", "SELECT ItemNummer, TypNummer FROM TestItemTyp");
    for (auto& p : pairs) {
        ++typesPerStatement[std::stoi(p.substr(0, p.find('\t')))];
        ++pairsPerType[std::stoi(p.substr(p.find('\t') + 1))];
    }
    std::set<int> counts;
    for (auto& [item, n] : typesPerStatement) counts.insert(n);
    ASSERT_FALSE(counts.empty());

    // The report's introduction names every number of types a statement counts for, and no other.
    const std::string intro = text("labelTxt", 404);
    const std::map<int, std::string> word = {{1, "einen"}, {2, "zwei"}, {3, "drei"}, {4, "vier"}, {5, "fünf"}};
    const std::string claim = intro.substr(intro.find("Aussage", intro.find("Aussagen") + 8));
    const std::string about = claim.substr(0, claim.find(';'));
    for (auto& [n, w] : word) {
        const bool named = (" " + about + " ").find(" " + w + " ") != std::string::npos;
        EXPECT_EQ(named, counts.count(n) == 1) << n << " types: " << about;
    }

    // The answer table's and the percentages' explanations: per type and in all.
    const std::string perType = std::to_string(pairsPerType.begin()->second);
    for (auto& [type, n] : pairsPerType) EXPECT_EQ(std::to_string(n), perType) << "type " << type;
    EXPECT_NE(text("labelTxt", 235).find("Jeder Typ hat " + perType + " Aussagen"), std::string::npos);
    EXPECT_NE(text("labelTxt", 237).find("die " + perType + " Aussagen je Typ"), std::string::npos);
    for (int position : {235, 238})
        EXPECT_NE(text("labelTxt", position).find(std::to_string(pairs.size()) + " Zuordnungen"), std::string::npos)
            << position;

    // The help names both page counts the evaluation can have.
    const std::string help = readFile(sourceDir() + "/help/ZUVDESK.txt");
    const std::string evaluation = help.substr(help.find("@@ html/zuvw0sqc.htm"), 600);
    EXPECT_NE(evaluation.find("zwölf"), std::string::npos);
    EXPECT_NE(evaluation.find("zehn"), std::string::npos);
}

TEST_F(SettingsDatabase, QuestionnairePagesUseLineBreaksOfThePrinter) {
    std::string page = sqlValue("zuv.sdb", "SELECT hex(fb_seite2) FROM fragebogen");
    EXPECT_NE(page.find("0D0A"), std::string::npos);  // CR LF between lines
    EXPECT_EQ(count("fragebogen", "instr(fb_seite1, char(10)) > 0 AND instr(fb_seite1, char(13) || char(10)) = 0"), 0);
}

TEST_F(SettingsDatabase, OpensThroughTheWorkgroupLoginAndRefusesAWrongPassword) {
    auto& engine = db::DBEngine::instance();
    engine.reset();
    engine.setSystemDB(file("Sys.mda").string());
    engine.setDefaultUser("KestrelAdmin");
    engine.setDefaultPassword("MossGlade");
    try {
        engine.CreateWorkspace("Kestrel", "KestrelAdmin", "Falsch");
        ADD_FAILURE() << "a wrong password was accepted";
    } catch (const vb::Error& e) {
        EXPECT_EQ(e.number(), vb::err::BadLogin);
    }
    auto ws = engine.CreateWorkspace("Kestrel", "KestrelAdmin", "MossGlade");
    auto database = ws->OpenDatabase(file("zuv.sdb").string());
    // The texts as the programs load them.
    auto rs = database->OpenRecordset("SELECT DISTINCTROW labelTxt.BeschriftungDtsch FROM labelTxt ORDER BY labelTxt.ID;",
                                      db::RecordsetType::Snapshot);
    rs->MoveLast();
    EXPECT_EQ(rs->RecordCount(), 461);
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("BeschriftungDtsch").Value().toString(), text("labelTxt", 0));
    rs->Close();
    auto items = database->OpenRecordset("SELECT DISTINCTROW * FROM TestItemTyp;", db::RecordsetType::Snapshot);
    items->MoveLast();
    EXPECT_EQ(items->RecordCount(), 126);
    items->Close();
    database->Close();
    ws->Close();
    engine.reset();
}

// The settings windows bind data controls to the installed rows and store them back; the chart
// settings are read by the spellings the chart window uses.
TEST_F(SettingsDatabase, SettingsRowsStoreThroughDataControlsAsTheWindowsDo) {
    auto& engine = db::DBEngine::instance();
    engine.reset();
    engine.setSystemDB(file("Sys.mda").string());
    engine.setDefaultUser("KestrelAdmin");
    engine.setDefaultPassword("MossGlade");
    // A copy, so that the other checks keep seeing the installed values.
    const fs::path copy = folder().parent_path() / "copy";
    fs::create_directories(copy);
    fs::copy_file(file("zuv.sdb"), copy / "zuv.sdb", fs::copy_options::overwrite_existing);
    const std::string database = (copy / "zuv.sdb").string();
    auto copied = [&](const std::string& query) {
        auto r = run("sqlite3 -batch -separator '\t' " + shellQuote(database) + " " + shellQuote(query));
        EXPECT_EQ(r.status, 0) << r.output;
        return r.output;
    };

    {
        db::DataControl chart;
        chart.setDatabaseName(database);
        chart.setRecordSource("chartkonfiguration");
        chart.Refresh();
        auto rs = chart.Recordset();
        EXPECT_TRUE(rs->Fields("Balken 2D").Value().toBool());
        EXPECT_FALSE(rs->Fields("Fläche 3D").Value().toBool());
        EXPECT_EQ(rs->Fields("3DRotation").Value().toString(), "30");
        EXPECT_EQ(rs->Fields("DiagrammFontname").Value().toString(), "Arial");
        EXPECT_FALSE(rs->Fields("DiagrammFontbold").Value().toBool());
        EXPECT_EQ(rs->Fields("HintergrundFarbeGrün").Value().toInt(), 255);
        EXPECT_EQ(rs->Fields("DiagrammHintergrundFarbeBlau").Value().toInt(), 255);
        EXPECT_EQ(rs->Fields("Reihe1Blau").Value().toInt(), 255);
        rs->Edit();
        rs->Fields("Balken 2D") = vb::Variant(false);
        rs->Fields("Schritt 3D") = vb::Variant(true);
        rs->Fields("DiagrammÜberschrift") = vb::Variant(std::string("Typen im Vergleich"));
        rs->Fields("Achsenlinienfarbegrün") = vb::Variant(int16_t(128));
        rs->Update();
        chart.close();
    }
    {
        db::DataControl settings;
        settings.setDatabaseName(database);
        settings.setRecordSource("Konfiguration");
        settings.Refresh();
        auto rs = settings.Recordset();
        rs->Edit();
        rs->Fields("DruckZeilenabstand") = vb::Variant(text("labelTxt", 184));
        rs->Fields("ZUVSymbolFarbe") = vb::Variant(text("labelTxt", 219));
        rs->Fields("typbenennungzuvstandard") = vb::Variant(false);
        rs->Fields("typbenennungquimbly") = vb::Variant(true);
        rs->Fields("StandardschriftGroesse") = vb::Variant(int16_t(12));
        rs->Update();
        settings.close();
    }
    EXPECT_EQ(copied("SELECT [Balken 2D], [Schritt 3D], [DiagrammÜberschrift], [Achsenlinienfarbegrün] "
                     "FROM chartkonfiguration"),
              "0\t-1\tTypen im Vergleich\t128\n");
    EXPECT_EQ(copied("SELECT DruckZeilenabstand, ZUVSymbolFarbe, typbenennungquimbly, count(*) FROM Konfiguration"),
              text("labelTxt", 184) + "\t" + text("labelTxt", 219) + "\t-1\t1\n");
    engine.reset();
}

}  // namespace
