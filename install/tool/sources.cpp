#include "install/tool/sources.h"

#include <fstream>
#include <stdexcept>

namespace install {

void sourceError(const std::string& path, int line, const std::string& what) {
    throw std::runtime_error(path + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + what);
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

std::vector<NumberedLine> readNumberedLines(const std::string& path, bool keepEmpty) {
    std::ifstream in(path, std::ios::binary);
    if (!in) sourceError(path, 0, "cannot be read");
    std::vector<NumberedLine> lines;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') sourceError(path, number, "CR LF line end; the sources use LF only");
        if (!line.empty() && line[0] == '#') continue;
        if (line.empty() && !keepEmpty) continue;
        lines.push_back({number, line});
    }
    return lines;
}

std::vector<std::string> readSourceLines(const std::string& path, bool keepEmpty) {
    std::vector<std::string> out;
    for (auto& l : readNumberedLines(path, keepEmpty)) out.push_back(l.text);
    return out;
}

std::vector<std::string> readTextTable(const std::string& path) {
    std::vector<std::string> texts;
    for (auto& l : readNumberedLines(path, false)) {
        auto tab = l.text.find('\t');
        if (tab == std::string::npos) sourceError(path, l.number, "expected position TAB text");
        int position = -1;
        try {
            std::size_t used = 0;
            position = std::stoi(l.text.substr(0, tab), &used);
            if (used != tab) position = -1;
        } catch (const std::exception&) {
        }
        if (position != static_cast<int>(texts.size()))
            sourceError(path, l.number,
                        "position " + l.text.substr(0, tab) + " where " + std::to_string(texts.size()) + " was expected");
        std::string text = l.text.substr(tab + 1);
        if (text.empty()) sourceError(path, l.number, "empty text; use a placeholder");
        texts.push_back(std::move(text));
    }
    return texts;
}

std::vector<std::vector<std::string>> readGrid(const std::string& path, std::size_t columns) {
    std::vector<std::vector<std::string>> rows;
    for (auto& l : readNumberedLines(path, false)) {
        auto cells = splitTabs(l.text);
        if (cells.size() != columns)
            sourceError(path, l.number,
                        std::to_string(cells.size()) + " cells where " + std::to_string(columns) + " were expected");
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::vector<ColumnValue> readRecord(const std::string& path) {
    std::vector<ColumnValue> record;
    for (auto& l : readNumberedLines(path, false)) {
        auto cells = splitTabs(l.text);
        if (cells.size() != 3) sourceError(path, l.number, "expected column TAB type TAB value");
        const std::string& type = cells[1];
        if (type != "YESNO" && type != "SHORT" && type != "LONG" && type != "MEMO" && textSize(type) <= 0)
            sourceError(path, l.number, "unknown type " + type);
        if (type == "YESNO" && cells[2] != "-1" && cells[2] != "0")
            sourceError(path, l.number, "a yes/no value is -1 or 0");
        if ((type == "SHORT" || type == "LONG")) {
            try {
                std::size_t used = 0;
                long v = std::stol(cells[2], &used);
                if (used != cells[2].size() || (type == "SHORT" && (v < -32768 || v > 32767)))
                    throw std::out_of_range("range");
            } catch (const std::exception&) {
                sourceError(path, l.number, "not a number of type " + type + ": " + cells[2]);
            }
        }
        if (textSize(type) > 0 && utf8Length(cells[2]) > static_cast<std::size_t>(textSize(type)))
            sourceError(path, l.number, "text longer than " + type);
        record.push_back({cells[0], cells[1], cells[2]});
    }
    return record;
}

std::vector<std::pair<std::string, std::string>> readSections(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> sections;
    std::vector<std::string> lines;
    auto flush = [&] {
        if (sections.empty()) return;
        while (!lines.empty() && lines.back().empty()) lines.pop_back();
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
        sections.back().second = text;
        lines.clear();
    };
    for (auto& l : readNumberedLines(path, true)) {
        if (l.text.size() > 2 && l.text.front() == '[' && l.text.back() == ']') {
            flush();
            sections.push_back({l.text.substr(1, l.text.size() - 2), ""});
        } else if (sections.empty()) {
            if (!l.text.empty()) sourceError(path, l.number, "text before the first [section]");
        } else {
            lines.push_back(l.text);
        }
    }
    flush();
    return sections;
}

std::vector<HelpTopic> readHelpTopics(const std::string& path) {
    std::vector<HelpTopic> topics;
    for (auto& l : readNumberedLines(path, false)) {
        if (l.text.rfind("@@ ", 0) == 0) {
            auto cells = splitTabs(l.text.substr(3));
            if (cells.size() != 2 || cells[0].empty() || cells[1].empty())
                sourceError(path, l.number, "expected @@ path TAB title");
            topics.push_back({cells[0], cells[1], ""});
        } else {
            if (topics.empty()) sourceError(path, l.number, "text before the first topic");
            topics.back().html += l.text + "\n";
        }
    }
    return topics;
}

int textSize(const std::string& type) {
    if (type.rfind("TEXT(", 0) != 0 || type.back() != ')') return 0;
    try {
        return std::stoi(type.substr(5, type.size() - 6));
    } catch (const std::exception&) {
        return 0;
    }
}

std::size_t utf8Length(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace install
