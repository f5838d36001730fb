#include "install/tool/content_db.h"

#include <map>
#include <set>
#include <stdexcept>
#include <vector>

#include "install/tool/settings_db.h"
#include "install/tool/sources.h"

#include "platform/db/database.h"
#include "platform/db/field.h"
#include "platform/db/recordset.h"
#include "platform/vb/strings.h"

namespace install {

namespace {

constexpr int kTypes = 9;
constexpr int kTitleSize = 100;

struct LiteratureRow {
    long id = 0;
    std::vector<std::string> fields;  // Autor, Titel, Reihe, Herausgeber, Auflage, Verlag, Ort, Jahr
};

const std::vector<std::string> kLiteratureColumns = {"Autor",   "Titel",  "Reihe", "Herausgeber",
                                                     "Auflage", "Verlag", "Ort",   "Jahr"};

struct Topic {
    std::string file;
    std::string title;
    long literature = 0;
    std::vector<std::string> texts;  // the text for type 1 … 9
};

long number(const std::string& path, int line, const std::string& cell, const char* what) {
    try {
        std::size_t used = 0;
        long v = std::stol(cell, &used);
        if (used == cell.size()) return v;
    } catch (const std::exception&) {
    }
    sourceError(path, line, std::string(what) + " is not a number: " + cell);
}

// "id TAB Autor TAB Titel [TAB Reihe TAB Herausgeber TAB Auflage TAB Verlag TAB Ort TAB Jahr]":
// cells left out at the end are empty, so an editor that strips trailing tabs changes nothing.
std::map<long, LiteratureRow> readLiterature(const std::string& path) {
    std::map<long, LiteratureRow> rows;
    for (const auto& [n, line] : readNumberedLines(path, false)) {
        auto cells = splitTabs(line);
        if (cells.size() < 3 || cells.size() > 1 + kLiteratureColumns.size())
            sourceError(path, n, "expected id TAB Autor TAB Titel and up to six more cells");
        LiteratureRow row;
        row.id = number(path, n, cells[0], "the id");
        for (std::size_t i = 0; i < kLiteratureColumns.size(); ++i)
            row.fields.push_back(i + 1 < cells.size() ? cells[i + 1] : std::string());
        if (row.fields[0].empty()) sourceError(path, n, "the author is empty");
        for (std::size_t i = 0; i < row.fields.size(); ++i)
            if (utf8Length(row.fields[i]) > 255)
                sourceError(path, n, kLiteratureColumns[i] + " has more than 255 characters");
        if (!rows.emplace(row.id, row).second) sourceError(path, n, "id " + cells[0] + " twice");
    }
    if (rows.empty()) sourceError(path, 0, "no literature row");
    return rows;
}

// The texts of one topic: "[1]" … "[9]" start the text for a type, in type order. Within a text,
// lines that follow each other form one paragraph (joined with a blank); an empty line ends the
// paragraph. Paragraphs are stored separated by an empty line (CR LF CR LF), the line end that the
// description window and the print engine both break at.
std::vector<std::string> readTopicTexts(const std::string& path) {
    std::vector<std::vector<std::string>> paragraphs;  // per type
    bool open = false;                                 // a paragraph is being collected
    for (const auto& [n, line] : readNumberedLines(path, true)) {
        if (line.size() >= 3 && line.front() == '[' && line.back() == ']') {
            const std::string expected = "[" + std::to_string(paragraphs.size() + 1) + "]";
            if (line != expected) sourceError(path, n, line + " where " + expected + " was expected");
            paragraphs.emplace_back();
            open = false;
            continue;
        }
        const std::string text = vb::Trim(line);
        if (text.empty()) {
            open = false;
            continue;
        }
        if (paragraphs.empty()) sourceError(path, n, "text before [1]");
        if (text.find('\t') != std::string::npos) sourceError(path, n, "a tab in the text");
        auto& own = paragraphs.back();
        if (open) own.back() += " " + text;
        else own.push_back(text);
        open = true;
    }
    if (paragraphs.size() != kTypes)
        sourceError(path, 0,
                    std::to_string(paragraphs.size()) + " texts where one for each of the nine types was expected");
    std::vector<std::string> texts;
    for (std::size_t t = 0; t < paragraphs.size(); ++t) {
        if (paragraphs[t].empty()) sourceError(path, 0, "the text for type " + std::to_string(t + 1) + " is empty");
        std::string text;
        for (std::size_t p = 0; p < paragraphs[t].size(); ++p) text += (p ? "\r\n\r\n" : "") + paragraphs[t][p];
        texts.push_back(std::move(text));
    }
    return texts;
}

// "position TAB file TAB title TAB literature id", positions 0, 1, 2, … in list order; the texts
// of a topic are in "<file>.txt" beside the list.
std::vector<Topic> readTopics(const std::string& dir, const std::map<long, LiteratureRow>& literature) {
    const std::string path = dir + "/themen.txt";
    std::vector<Topic> topics;
    std::set<std::string> titles, files;
    for (const auto& [n, line] : readNumberedLines(path, false)) {
        auto cells = splitTabs(line);
        if (cells.size() != 4) sourceError(path, n, "expected position TAB file TAB title TAB literature id");
        if (number(path, n, cells[0], "the position") != static_cast<long>(topics.size()))
            sourceError(path, n, "position " + cells[0] + " where " + std::to_string(topics.size()) + " was expected");
        Topic topic{cells[1], cells[2], number(path, n, cells[3], "the literature id"), {}};
        if (topic.file.empty() || topic.file.find_first_of("/\\.") != std::string::npos)
            sourceError(path, n, "the file is a plain name without extension");
        if (topic.title.empty() || vb::Trim(topic.title) != topic.title)
            sourceError(path, n, "the title is empty or has blanks at its ends");
        if (utf8Length(topic.title) > kTitleSize)
            sourceError(path, n, "the title has more than " + std::to_string(kTitleSize) + " characters");
        // The description window finds a topic's row by its title.
        if (!titles.insert(topic.title).second) sourceError(path, n, "the title " + topic.title + " twice");
        if (!files.insert(topic.file).second) sourceError(path, n, "the file " + topic.file + " twice");
        if (!literature.count(topic.literature)) sourceError(path, n, "no literature row " + cells[3]);
        topic.texts = readTopicTexts(dir + "/" + topic.file + ".txt");
        topics.push_back(std::move(topic));
    }
    if (topics.empty()) sourceError(path, 0, "no topic");
    return topics;
}

}  // namespace

void writeContentDatabase(const std::string& sourceDir, const std::string& path, const std::string& workgroupPath) {
    // Everything is read and checked first: a bad source leaves no half file.
    const auto types = readGrid(sourceDir + "/settings/Typ.txt", 7);
    if (types.size() != kTypes) sourceError(sourceDir + "/settings/Typ.txt", 0, "nine types expected");
    const auto literature = readLiterature(sourceDir + "/typen/Literatur.txt");
    const auto topics = readTopics(sourceDir + "/typen", literature);

    writeInstallationDatabase(path, workgroupPath, [&](db::Database& database) {
        database.Execute(
            "CREATE TABLE [typ] ([typnummer] SHORT PRIMARY KEY, [typbezeichnung] TEXT(50) NOT NULL, "
            "[typbezeichnungZUVStandard] TEXT(50) NOT NULL, [typbezeichnungOdrell] TEXT(50) NOT NULL, "
            "[typbezeichnungTarvik] TEXT(50) NOT NULL, [typbezeichnungQuimbly] TEXT(50) NOT NULL, "
            "[typbezeichnungFenwarth] TEXT(50) NOT NULL)");
        database.Execute("CREATE TABLE [thementitel] ([thementitelid] LONG PRIMARY KEY, [Titel] TEXT(" +
                         std::to_string(kTitleSize) + ") NOT NULL)");
        database.Execute("CREATE UNIQUE INDEX [Titel] ON [thementitel] ([Titel])");
        std::string literatureColumns;
        for (const auto& column : kLiteratureColumns) literatureColumns += ", [" + column + "] TEXT(255) NOT NULL";
        database.Execute("CREATE TABLE [Literatur] ([literaturid] LONG PRIMARY KEY" + literatureColumns + ")");
        database.Execute(
            "CREATE TABLE [thema] ([themaid] COUNTER, [thementitelid] LONG NOT NULL, [enneatypid] SHORT NOT NULL, "
            "[Inhalt] LONGTEXT NOT NULL, [literaturid] LONG NOT NULL)");
        database.Execute("CREATE UNIQUE INDEX [ThemaJeTyp] ON [thema] ([thementitelid], [enneatypid])");
        database.CreateRelation("thementitelthema", "thementitel", "thema", 0, "thementitelid", "thementitelid");
        database.CreateRelation("typthema", "typ", "thema", 0, "typnummer", "enneatypid");
        database.CreateRelation("Literaturthema", "Literatur", "thema", 0, "literaturid", "literaturid");

        // The two Titel and the topic number keep their tables' names, as the reader filters,
        // sorts and reads them.
        database.Execute(
            "CREATE VIEW [themenalleinfos] AS SELECT thementitel.Titel AS [thementitel.titel], "
            "thema.thementitelid AS [thema.thementitelid], thema.enneatypid, thema.Inhalt, Literatur.Autor, "
            "Literatur.Titel AS [Literatur.Titel], Literatur.Reihe, Literatur.Herausgeber, Literatur.Auflage, "
            "Literatur.Verlag, Literatur.Ort, Literatur.Jahr "
            "FROM (thema INNER JOIN thementitel ON thema.thementitelid = thementitel.thementitelid) "
            "INNER JOIN Literatur ON thema.literaturid = Literatur.literaturid");

        database.BeginTrans();
        {
            auto rs = database.OpenRecordset("typ", db::RecordsetType::Table);
            const char* columns[] = {"typnummer",
                                     "typbezeichnung",
                                     "typbezeichnungZUVStandard",
                                     "typbezeichnungOdrell",
                                     "typbezeichnungTarvik",
                                     "typbezeichnungQuimbly",
                                     "typbezeichnungFenwarth"};
            for (const auto& row : types) {
                rs->AddNew();
                rs->Fields(columns[0]) = vb::Variant(static_cast<int16_t>(std::stoi(row[0])));
                for (int i = 1; i < 7; ++i) rs->Fields(columns[i]) = vb::Variant(row[i]);
                rs->Update();
            }
            rs->Close();
        }
        {
            auto rs = database.OpenRecordset("Literatur", db::RecordsetType::Table);
            for (const auto& [id, row] : literature) {
                rs->AddNew();
                rs->Fields("literaturid") = vb::Variant(static_cast<int32_t>(id));
                for (std::size_t i = 0; i < kLiteratureColumns.size(); ++i)
                    rs->Fields(kLiteratureColumns[i]) = vb::Variant(row.fields[i]);
                rs->Update();
            }
            rs->Close();
        }
        {
            auto titles = database.OpenRecordset("thementitel", db::RecordsetType::Table);
            auto texts = database.OpenRecordset("thema", db::RecordsetType::Table);
            for (std::size_t i = 0; i < topics.size(); ++i) {
                const auto id = static_cast<int32_t>(i + 1);
                titles->AddNew();
                titles->Fields("thementitelid") = vb::Variant(id);
                titles->Fields("Titel") = vb::Variant(topics[i].title);
                titles->Update();
                for (int type = 1; type <= kTypes; ++type) {
                    texts->AddNew();
                    texts->Fields("thementitelid") = vb::Variant(id);
                    texts->Fields("enneatypid") = vb::Variant(static_cast<int16_t>(type));
                    texts->Fields("Inhalt") = vb::Variant(topics[i].texts[type - 1]);
                    texts->Fields("literaturid") = vb::Variant(static_cast<int32_t>(topics[i].literature));
                    texts->Update();
                }
            }
            titles->Close();
            texts->Close();
        }
        database.CommitTrans();
    });
}

}  // namespace install
