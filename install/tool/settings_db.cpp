#include "install/tool/settings_db.h"

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "install/tool/sources.h"

#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"
#include "platform/db/types.h"
#include "platform/db/workspace.h"
#include "platform/vb/error.h"

namespace install {

namespace {

struct Column {
    std::string name;
    std::string type;  // YESNO, SHORT, LONG, TEXT(n), MEMO
};

struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<std::vector<std::string>> rows;
};

std::string jetType(const std::string& type) {
    if (type == "YESNO") return "BIT";
    if (type == "SHORT") return "SHORT";
    if (type == "LONG") return "LONG";
    if (type == "MEMO") return "LONGTEXT";
    return type;  // TEXT(n)
}

Table textTable(const std::string& sourceDir, const std::string& name) {
    // The message texts are read into records with a 16-bit ID.
    bool dialog = name.rfind("DialogTxt", 0) == 0;
    Table t{name, {{"ID", dialog ? "SHORT" : "LONG"}, {"BeschriftungDtsch", "TEXT(255)"}}, {}};
    auto texts = readTextTable(sourceDir + "/texts/" + name + ".txt");
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (utf8Length(texts[i]) > 255)
            throw std::runtime_error(name + " position " + std::to_string(i) + ": more than 255 characters");
        t.rows.push_back({std::to_string(i), texts[i]});
    }
    return t;
}

Table recordTable(const std::string& sourceDir, const std::string& name) {
    Table t{name, {}, {{}}};
    for (auto& c : readRecord(sourceDir + "/settings/" + name + ".txt")) {
        t.columns.push_back({c.name, c.type});
        t.rows[0].push_back(c.value);
    }
    return t;
}

std::vector<Table> settingsTables(const std::string& sourceDir) {
    std::vector<Table> tables;
    for (const char* name : {"MenuTxt", "labelTxt", "DialogTxt", "MenuTxtTypen", "labelTxtTypen", "DialogTxtTypen"})
        tables.push_back(textTable(sourceDir, name));

    Table typ{"Typ",
              {{"typnummer", "SHORT"},
               {"typbezeichnung", "TEXT(50)"},
               {"typbezeichnungZUVStandard", "TEXT(50)"},
               {"typbezeichnungOdrell", "TEXT(50)"},
               {"typbezeichnungTarvik", "TEXT(50)"},
               {"typbezeichnungQuimbly", "TEXT(50)"},
               {"typbezeichnungFenwarth", "TEXT(50)"}},
              readGrid(sourceDir + "/settings/Typ.txt", 7)};
    tables.push_back(std::move(typ));

    tables.push_back({"testitems",
                      {{"itemnummer", "SHORT"}, {"itemtext", "TEXT(255)"}},
                      readGrid(sourceDir + "/test/testitems.txt", 2)});
    tables.push_back({"TestItemTyp",
                      {{"ItemNummer", "SHORT"}, {"TypNummer", "SHORT"}},
                      readGrid(sourceDir + "/test/TestItemTyp.txt", 2)});

    Table fragebogen{"fragebogen", {}, {{}}};
    for (auto& [column, text] : readSections(sourceDir + "/test/fragebogen.txt")) {
        fragebogen.columns.push_back({column, "MEMO"});
        fragebogen.rows[0].push_back(text);
    }
    tables.push_back(std::move(fragebogen));

    for (const char* name : {"Konfiguration", "KonfigurationTypen", "chartkonfiguration"})
        tables.push_back(recordTable(sourceDir, name));
    return tables;
}

}  // namespace

void writeWorkgroupFile(const std::string& path) {
    db::createWorkgroupFile(path, kWorkgroupKennung, {{kAccount, kWorkgroupPassword}}, {"Admins", "Users"});
}

namespace {
void removeDatabaseFile(const std::string& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(path + suffix);
}
}  // namespace

void writeInstallationDatabase(const std::string& path, const std::string& workgroupPath,
                               const std::function<void(db::Database&)>& fill) {
    removeDatabaseFile(path);
    auto& engine = db::DBEngine::instance();
    engine.setSystemDB(workgroupPath);
    engine.setDefaultUser(kAccount);
    engine.setDefaultPassword(kWorkgroupPassword);
    try {
        auto ws = engine.CreateWorkspace("Kestrel", kAccount, kWorkgroupPassword);
        auto database = ws->CreateDatabase(path, "", db::dbInstallation);
        fill(*database);
        database->Close();
        ws->Close();
    } catch (const vb::Error& e) {
        removeDatabaseFile(path);
        throw std::runtime_error(path + ": database error " + std::to_string(e.number()) + ": " + e.description());
    }
}

void writeSettingsDatabase(const std::string& sourceDir, const std::string& path, const std::string& workgroupPath) {
    auto tables = settingsTables(sourceDir);  // read everything first: a bad source leaves no half file
    writeInstallationDatabase(path, workgroupPath, [&](db::Database& database) {
        for (auto& t : tables) {
            std::string ddl = "CREATE TABLE [" + t.name + "] (";
            for (std::size_t i = 0; i < t.columns.size(); ++i)
                ddl += (i ? ", [" : "[") + t.columns[i].name + "] " + jetType(t.columns[i].type);
            database.Execute(ddl + ")");
        }
        database.BeginTrans();
        for (auto& t : tables) {
            auto rs = database.OpenRecordset(t.name, db::RecordsetType::Table);
            for (auto& row : t.rows) {
                rs->AddNew();
                for (std::size_t i = 0; i < t.columns.size(); ++i) {
                    const auto& type = t.columns[i].type;
                    const auto& cell = row[i];
                    auto& field = rs->Fields(t.columns[i].name);
                    if (type == "YESNO") field = vb::Variant(cell != "0");
                    else if (type == "SHORT") field = vb::Variant(static_cast<int16_t>(std::stoi(cell)));
                    else if (type == "LONG") field = vb::Variant(static_cast<int32_t>(std::stol(cell)));
                    else field = vb::Variant(cell);
                }
                rs->Update();
            }
            rs->Close();
        }
        database.CommitTrans();
    });
}

}  // namespace install
