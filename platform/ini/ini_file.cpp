#include "platform/ini/ini_file.h"

#include "platform/files/file_io.h"
#include "platform/files/paths.h"
#include "platform/vb/codepage.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"
#include "platform/vb/utf8.h"

namespace ini {

namespace {

std::string trimBlanks(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool validUtf8(const std::string& s) {
    size_t pos = 0;
    while (pos < s.size()) {
        bool valid = true;
        vb::utf8::next(s, pos, &valid);
        if (!valid) return false;
    }
    return true;
}

// The file's text as UTF-8, or nothing when it cannot be read (that reads as "every key missing").
bool readText(const std::string& file, std::string& text) {
    try {
        text = files::readFile(file);
    } catch (const vb::Error&) {
        return false;
    }
    // A byte-order mark announces UTF-8; bytes that are not UTF-8 after all are read as
    // Windows-1252 like any other such file, so that no value carries broken characters.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    if (!validUtf8(text)) text = vb::toUtf8(text, vb::CodePage::Windows1252);
    return true;
}

bool sameName(const std::string& a, const std::string& b) { return vb::UCase(trimBlanks(a)) == vb::UCase(trimBlanks(b)); }

}  // namespace

std::string GetPrivateProfileString(const std::string& section, const std::string& key, const std::string& defaultValue,
                                    const std::string& file) {
    std::string text;
    if (!readText(file, text)) return defaultValue;
    bool inSection = false, sectionSeen = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = trimBlanks(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;

        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (inSection) break;  // only the first section of that name counts
            const size_t close = line.find(']');
            const std::string name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            inSection = !sectionSeen && sameName(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection) continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos || !sameName(line.substr(0, eq), key)) continue;
        std::string value = trimBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return defaultValue;
}

std::string ReadIniString(const std::string& section, const std::string& key, const std::string& file) {
    std::string value = GetPrivateProfileString(section, key, "", file);
    if (value.empty()) return std::string(128, '\0');
    return value;
}

void writeIniFile(const std::string& file, const std::vector<Section>& sections) {
    // A line break inside a name or value (a file name may hold one) would slip lines of its own
    // into the file; such a text is refused and the earlier file stays.
    const auto check = [](const std::string& t) {
        if (t.find_first_of("\r\n") != std::string::npos)
            throw vb::Error(vb::err::InvalidProcedureCall,
                            "Ein Eintrag der INI-Datei enthält einen Zeilenumbruch und kann nicht gespeichert werden.");
    };
    std::string text;
    for (const Section& s : sections) {
        check(s.name);
        text += "[" + s.name + "]\r\n";
        for (const Entry& e : s.entries) {
            check(e.key);
            check(e.value);
            text += e.key + "=" + e.value + "\r\n";
        }
    }
    files::replaceFile(file, text);
}

}  // namespace ini
