#include "platform/report/report.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "platform/db/field.h"
#include "platform/db/recordset.h"
#include "platform/files/held_files.h"
#include "platform/files/paths.h"
#include "platform/vb/ascii.h"
#include "platform/vb/error.h"

namespace report {

namespace {

bool sameName(std::string_view a, std::string_view b) { return vb::ascii::equalsNoCase(a, b); }

std::string inQuotes(const std::string& s) { return "\u201E" + s + "\u201C"; }

}  // namespace

int DataTable::column(std::string_view name) const {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (sameName(columns[i], name)) return static_cast<int>(i);
    return -1;
}

vb::Variant DataTable::value(std::size_t row, std::string_view name) const {
    const int c = column(name);
    if (c < 0 || row >= rows.size()) return {};
    return rows[row][c];
}

void ReportObject::setWidth(int twips) {
    if (twips < 0) throw vb::Error(vb::err::InvalidPropertyValue);
    m_width = twips;
}

void ReportObject::setHeight(int twips) {
    if (twips < 0) throw vb::Error(vb::err::InvalidPropertyValue);
    m_height = twips;
}

ReportObject& Section::ReportObjects(int index) {
    if (index < 1 || index > ReportObjectCount()) throw vb::Error(vb::err::SubscriptOutOfRange);
    return *m_objects[index - 1];
}

Section& Report::Sections(int position) {
    if (position < 1 || position > SectionCount()) throw vb::Error(vb::err::SubscriptOutOfRange);
    return *m_sections[position - 1];
}

Section& Report::Sections(const std::string& name) {
    for (auto& s : m_sections)
        if (sameName(s->Name(), name)) return *s;
    throw vb::Error(err::NoSuchSection,
                    "Die Berichtsvorlage " + inQuotes(m_name) + " hat keinen Bereich " + inQuotes(name) + ".");
}

Report& Report::OpenSubreport(const std::string& name) {
    for (auto& s : m_sections)
        for (auto& o : s->objects())
            if (o->Kind() == SubreportObject && o->subreport() &&
                (sameName(o->file(), name) || sameName(o->Name(), name)))
                return *o->subreport();
    throw vb::Error(err::NoSuchSubreport,
                    "Die Berichtsvorlage " + inQuotes(m_name) + " enthält keinen Unterbericht " + inQuotes(name) + ".");
}

void Report::SetDataSource(db::Recordset& rs) {
    DataTable t;
    for (int i = 0; i < rs.FieldCount(); ++i) t.columns.push_back(rs.Fields(i).Name());
    if (rs.RecordCount() > 0) {
        rs.MoveFirst();
        for (; !rs.Eof(); rs.MoveNext()) {
            std::vector<vb::Variant> row;
            row.reserve(t.columns.size());
            for (int i = 0; i < rs.FieldCount(); ++i) row.push_back(rs.Fields(i).Value());
            t.rows.push_back(std::move(row));
        }
        rs.MoveFirst();
    }
    m_data = std::move(t);
}

void Report::setLandscape(bool on) {
    if (m_page.designWidth == 0) m_page.designWidth = m_page.contentWidth();
    if (m_page.landscape() != on) std::swap(m_page.width, m_page.height);
}

LineStyle Report::style(const std::string& code) const {
    for (const auto& s : m_styles)
        if (s.code == code) return s;
    for (const auto& s : m_styles)
        if (s.code == "DE") return s;
    LineStyle s;
    s.code = code;
    s.font = m_font;
    return s;
}

// ---------------------------------------------------------------- the layout reader

class LayoutReader {
public:
    LayoutReader(const std::string& text, const std::string& fileName) : m_text(text), m_file(fileName) {}
    std::shared_ptr<Report> read();

private:
    struct Token {
        std::string key;    // "" for a plain word
        std::string value;  // the word, or the value of key=value
        bool quotedValue = false;
    };
    [[noreturn]] void fail(const std::string& why) const;
    std::vector<Token> tokens(const std::string& line) const;
    void statement(const std::vector<Token>& t);
    void pageStatement(const std::vector<Token>& t);
    void fontAttributes(const Token& t, TextFont& f, bool& used) const;
    void objectStatement(const std::string& what, const std::vector<Token>& t);
    void sectionStatement(const std::vector<Token>& t);
    void styleStatement(const std::vector<Token>& t);
    int number(const Token& t) const;
    Align alignment(const Token& t) const;

    const std::string& m_text;
    std::string m_file;
    int m_line = 0;
    std::shared_ptr<Report> m_report;
    Section* m_section = nullptr;
};

void LayoutReader::fail(const std::string& why) const {
    throw vb::Error(err::DamagedLayout, "Die Berichtsvorlage " + inQuotes(m_file) + " ist beschädigt (Zeile " +
                                            std::to_string(m_line) + "): " + why);
}

std::vector<LayoutReader::Token> LayoutReader::tokens(const std::string& line) const {
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        if (line[i] == '#') break;
        Token t;
        std::string word;
        bool inKey = true;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            if (line[i] == '=' && inKey && !word.empty()) {
                t.key = word;
                word.clear();
                inKey = false;
                ++i;
                if (i < line.size() && line[i] == '"') {
                    ++i;
                    bool closed = false;
                    while (i < line.size()) {
                        if (line[i] == '\\' && i + 1 < line.size()) {
                            word += line[i + 1];
                            i += 2;
                        } else if (line[i] == '"') {
                            ++i;
                            closed = true;
                            break;
                        } else {
                            word += line[i++];
                        }
                    }
                    if (!closed) fail("ein Text in Anführungszeichen ist nicht geschlossen");
                    t.quotedValue = true;
                    break;
                }
                continue;
            }
            word += line[i++];
        }
        t.value = word;
        out.push_back(std::move(t));
    }
    return out;
}

int LayoutReader::number(const Token& t) const {
    try {
        std::size_t used = 0;
        const int v = std::stoi(t.value, &used);
        if (used != t.value.size()) throw std::invalid_argument(t.value);
        return v;
    } catch (const std::exception&) {
        fail("„" + t.key + "“ erwartet eine ganze Zahl, nicht „" + t.value + "“");
    }
}

Align LayoutReader::alignment(const Token& t) const {
    if (t.value == "left") return Align::Left;
    if (t.value == "center") return Align::Center;
    if (t.value == "right") return Align::Right;
    fail("unbekannte Ausrichtung „" + t.value + "“");
}

void LayoutReader::fontAttributes(const Token& t, TextFont& f, bool& used) const {
    used = true;
    if (t.key == "family") f.family = t.value;
    else if (t.key == "size") {
        f.size = number(t);
        if (f.size < 4 || f.size > 72) fail("Schriftgröße außerhalb von 4 bis 72");
    } else if (t.key.empty() && t.value == "bold") f.bold = true;
    else if (t.key.empty() && t.value == "italic") f.italic = true;
    else used = false;
}

void LayoutReader::pageStatement(const std::vector<Token>& t) {
    PageSetup& p = m_report->m_page;
    bool landscape = false;
    for (std::size_t i = 1; i < t.size(); ++i) {
        const Token& k = t[i];
        if (k.key == "paper") {
            if (k.value == "A4") p.width = 11906, p.height = 16838;
            else if (k.value == "A5") p.width = 8391, p.height = 11906;
            else if (k.value == "Letter") p.width = 12240, p.height = 15840;
            else fail("unbekanntes Papierformat „" + k.value + "“");
        } else if (k.key == "orientation") {
            if (k.value != "portrait" && k.value != "landscape") fail("unbekannte Ausrichtung „" + k.value + "“");
            landscape = k.value == "landscape";
        } else if (k.key == "left") p.left = number(k);
        else if (k.key == "top") p.top = number(k);
        else if (k.key == "right") p.right = number(k);
        else if (k.key == "bottom") p.bottom = number(k);
        else fail("unbekannte Angabe „" + (k.key.empty() ? k.value : k.key) + "“ bei page");
    }
    if (landscape) std::swap(p.width, p.height);
    if (p.left < 0 || p.right < 0 || p.top < 0 || p.bottom < 0 || p.contentWidth() < 1440 ||
        p.height - p.top - p.bottom < 1440)
        fail("die Ränder lassen auf dem Blatt keinen Platz");
    p.designWidth = p.contentWidth();
}

void LayoutReader::sectionStatement(const std::vector<Token>& t) {
    auto s = std::make_unique<Section>();
    bool typed = false;
    for (std::size_t i = 1; i < t.size(); ++i) {
        const Token& k = t[i];
        if (k.key == "name") s->m_name = k.value;
        else if (k.key == "type") {
            static const std::map<std::string, SectionType> types = {{"reportheader", SectionType::ReportHeader},
                                                                     {"pageheader", SectionType::PageHeader},
                                                                     {"groupheader", SectionType::GroupHeader},
                                                                     {"details", SectionType::Details},
                                                                     {"groupfooter", SectionType::GroupFooter},
                                                                     {"reportfooter", SectionType::ReportFooter},
                                                                     {"pagefooter", SectionType::PageFooter}};
            auto it = types.find(k.value);
            if (it == types.end()) fail("unbekannte Bereichsart „" + k.value + "“");
            s->m_type = it->second;
            typed = true;
        } else if (k.key == "height") s->m_height = std::max(0, number(k));
        else if (k.key.empty() && k.value == "newpage") s->m_newPage = true;
        else if (k.key.empty() && k.value == "keeptogether") s->m_keepTogether = true;
        else if (k.key.empty() && k.value == "collapse") s->m_collapse = true;
        else fail("unbekannte Angabe „" + (k.key.empty() ? k.value : k.key) + "“ bei section");
    }
    if (s->m_name.empty()) fail("ein Bereich ohne Namen");
    if (!typed) fail("der Bereich „" + s->m_name + "“ hat keine Art (type=…)");
    for (auto& other : m_report->m_sections)
        if (sameName(other->Name(), s->Name())) fail("der Bereich „" + s->m_name + "“ kommt zweimal vor");
    m_section = s.get();
    m_report->m_sections.push_back(std::move(s));
}

void LayoutReader::objectStatement(const std::string& what, const std::vector<Token>& t) {
    if (!m_section) fail("„" + what + "“ steht vor dem ersten Bereich");
    static const std::map<std::string, int> kinds = {{"text", TextObject},
                                                     {"field", FieldObject},
                                                     {"line", LineObject},
                                                     {"box", BoxObject},
                                                     {"subreport", SubreportObject},
                                                     {"picture", PictureObject},
                                                     {"printlines", PrintLinesObject}};
    auto o = std::make_unique<ReportObject>();
    o->m_kind = kinds.at(what);
    o->m_font = m_report->m_font;
    bool hasValue = false;
    for (std::size_t i = 1; i < t.size(); ++i) {
        const Token& k = t[i];
        bool fontUsed = false;
        fontAttributes(k, o->m_font, fontUsed);
        if (fontUsed) continue;
        if (k.key == "name") o->m_name = k.value;
        else if (k.key == "left") o->m_left = number(k);
        else if (k.key == "top") o->m_top = number(k);
        else if (k.key == "width") o->m_width = number(k);
        else if (k.key == "height") o->m_height = number(k);
        else if (k.key == "value") o->m_value = k.value, hasValue = true;
        else if (k.key == "file") o->m_file = k.value;
        else if (k.key == "align") o->m_align = alignment(k);
        else if (k.key == "thickness") o->m_thickness = number(k);
        else if (k.key == "color") o->m_color = number(k);
        else if (k.key == "from") o->m_fromPage = number(k);
        else if (k.key == "to") o->m_toPage = number(k);
        else if (k.key == "pagefield") o->m_pageField = k.value;
        else if (k.key == "linefield") o->m_lineField = k.value;
        else if (k.key == "textfield") o->m_textField = k.value;
        else if (k.key == "codefield") o->m_codeField = k.value;
        else if (k.key.empty() && k.value == "hidden") o->m_suppress = true;
        else fail("unbekannte Angabe „" + (k.key.empty() ? k.value : k.key) + "“ bei " + what);
    }
    if (o->m_name.empty()) fail("ein Berichtsobjekt ohne Namen");
    if (o->m_left < 0 || o->m_top < 0 || o->m_width < 0 || o->m_height < 0)
        fail("das Objekt „" + o->m_name + "“ hat eine negative Lage oder Größe");
    if ((o->m_kind == TextObject || o->m_kind == FieldObject) && !hasValue)
        fail("das Objekt „" + o->m_name + "“ hat keinen Inhalt (value=…)");
    if ((o->m_kind == PictureObject || o->m_kind == SubreportObject) && o->m_file.empty())
        fail("das Objekt „" + o->m_name + "“ nennt keine Datei (file=…)");
    if (o->m_kind != LineObject && o->m_kind != PictureObject && o->m_width == 0)
        fail("das Objekt „" + o->m_name + "“ hat keine Breite");
    m_section->m_objects.push_back(std::move(o));
}

void LayoutReader::styleStatement(const std::vector<Token>& t) {
    LineStyle s;
    s.font = m_report->m_font;
    for (std::size_t i = 1; i < t.size(); ++i) {
        const Token& k = t[i];
        bool fontUsed = false;
        fontAttributes(k, s.font, fontUsed);
        if (fontUsed) continue;
        if (k.key == "code") s.code = k.value;
        else if (k.key == "indent") s.indent = number(k);
        else if (k.key == "before") s.before = number(k);
        else if (k.key == "after") s.after = number(k);
        else if (k.key == "color") s.color = number(k);
        else if (k.key.empty() && k.value == "mono") s.mono = true;
        else if (k.key.empty() && k.value == "table") s.table = true;
        else if (k.key.empty() && k.value == "grid") s.grid = true;
        else if (k.key.empty() && k.value == "keepnext") s.keepNext = true;
        else if (k.key.empty() && k.value == "apart") s.apart = true;
        else fail("unbekannte Angabe „" + (k.key.empty() ? k.value : k.key) + "“ bei style");
    }
    if (s.code.empty()) fail("eine Zeilenart ohne Kennung (code=…)");
    if (s.indent < 0 || s.before < 0 || s.after < 0) fail("negative Abstände bei der Zeilenart „" + s.code + "“");
    for (auto& other : m_report->m_styles)
        if (other.code == s.code) fail("die Zeilenart „" + s.code + "“ kommt zweimal vor");
    m_report->m_styles.push_back(std::move(s));
}

void LayoutReader::statement(const std::vector<Token>& t) {
    const Token& head = t.front();
    if (!head.key.empty()) fail("eine Zeile beginnt mit „" + head.key + "=“ statt mit einer Anweisung");
    const std::string& w = head.value;
    if (!m_report) {
        if (w != "report") fail("die Vorlage beginnt nicht mit „report“");
        m_report = std::make_shared<Report>();
        for (std::size_t i = 1; i < t.size(); ++i) {
            if (t[i].key == "name") m_report->m_name = t[i].value;
            else fail("unbekannte Angabe bei report");
        }
        if (m_report->m_name.empty()) fail("der Bericht hat keinen Namen");
        return;
    }
    if (w == "report") fail("„report“ kommt zweimal vor");
    if (w == "page") return pageStatement(t);
    if (w == "font") {
        for (std::size_t i = 1; i < t.size(); ++i) {
            bool used = false;
            fontAttributes(t[i], m_report->m_font, used);
            if (!used) fail("unbekannte Angabe bei font");
        }
        return;
    }
    if (w == "section") return sectionStatement(t);
    if (w == "style") return styleStatement(t);
    if (w == "text" || w == "field" || w == "line" || w == "box" || w == "subreport" || w == "picture" ||
        w == "printlines")
        return objectStatement(w, t);
    fail("unbekannte Anweisung „" + w + "“");
}

std::shared_ptr<Report> LayoutReader::read() {
    std::istringstream in(m_text);
    std::string line;
    while (std::getline(in, line)) {
        ++m_line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto t = tokens(line);
        if (t.empty()) continue;
        statement(t);
    }
    ++m_line;
    if (!m_report) fail("die Datei ist leer");
    if (m_report->m_sections.empty()) fail("der Bericht hat keinen Bereich");
    return m_report;
}

std::shared_ptr<Report> readLayout(const std::string& text, const std::string& fileName) {
    if (text.find('\0') != std::string::npos)
        throw vb::Error(err::DamagedLayout,
                        "Die Berichtsvorlage " + inQuotes(fileName) + " ist beschädigt: sie ist keine Textdatei.");
    LayoutReader reader(text, fileName);
    return reader.read();
}

// ---------------------------------------------------------------- the engine

namespace {

std::string readWhole(const std::string& path, const std::string& shownName) {
    QFile f(QString::fromStdString(path));
    const QFileInfo info(f);
    if (!info.exists() || info.isDir())
        throw vb::Error(vb::err::FileNotFound, "Die Berichtsvorlage " + inQuotes(shownName) + " fehlt: " + path);
    files::refuseHeldFile(path, shownName);
    // A layout is a few kilobytes; anything far larger is not one of ours.
    if (info.size() > 4 * 1024 * 1024 || !f.open(QIODevice::ReadOnly))
        throw vb::Error(err::DamagedLayout, "Die Berichtsvorlage " + inQuotes(shownName) + " kann nicht gelesen werden.");
    const QByteArray bytes = f.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

std::string Report::picturePath(const std::string& file) const {
    if (!m_pictureFolder.empty())
        if (std::string there = files::resolve(m_pictureFolder + "/" + file);
            QFileInfo(QString::fromStdString(there)).isFile())
            return there;
    return m_folder + "/" + file;
}

std::shared_ptr<Report> Engine::open(const std::string& path, int depth) const {
    const std::string resolved = files::resolve(path);
    const std::string name = std::filesystem::path(resolved).filename().string();
    auto r = readLayout(readWhole(resolved, name), name);
    r->m_fileName = resolved;
    r->m_folder = std::filesystem::path(resolved).parent_path().string();
    r->m_pictureFolder = m_pictureFolder;
    for (auto& s : r->m_sections)
        for (auto& o : s->m_objects) {
            if (o->Kind() != SubreportObject) continue;
            if (depth >= 3)
                throw vb::Error(err::DamagedLayout, "Die Berichtsvorlage " + inQuotes(name) +
                                                        " schachtelt Unterberichte zu tief (" + o->file() + ").");
            o->m_subreport = open(r->m_folder + "/" + o->file(), depth + 1);
        }
    return r;
}

std::shared_ptr<Report> Engine::OpenReport(const std::string& path) { return open(path, 0); }

}  // namespace report
