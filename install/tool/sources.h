#pragma once

#include <string>
#include <utility>
#include <vector>

// Readers of the plain-text sources under install/. Every reader reports a malformed line as
// std::runtime_error naming file and line, so a typo in a source stops the build instead of
// producing a folder with a missing or shifted text.
namespace install {

// One-row settings tables: "column TAB type TAB value". Types: YESNO, SHORT, LONG, TEXT(n), MEMO.
struct ColumnValue {
    std::string name;
    std::string type;
    std::string value;
};

struct HelpTopic {
    std::string path;
    std::string title;
    std::string html;
};

// A malformed source: the file, the line (0 for the file as a whole) and what is wrong.
[[noreturn]] void sourceError(const std::string& path, int line, const std::string& what);

struct NumberedLine {
    int number;
    std::string text;
};

// The lines of a source with their numbers, for messages: comments ("#" at the start) left out,
// empty lines too unless `keepEmpty`. A CR LF line end is an error: the sources use LF only.
std::vector<NumberedLine> readNumberedLines(const std::string& path, bool keepEmpty);

// The cells of a line, split at every TAB.
std::vector<std::string> splitTabs(const std::string& line);

// Lines of a source file without comments ("#" at the start) and without empty lines.
std::vector<std::string> readSourceLines(const std::string& path, bool keepEmpty = false);

// "position TAB text"; positions must run 0, 1, 2, … without gaps, since the programs address
// the texts by their position in ID order.
std::vector<std::string> readTextTable(const std::string& path);

// Rows of TAB-separated cells, each with exactly `columns` cells.
std::vector<std::vector<std::string>> readGrid(const std::string& path, std::size_t columns);

std::vector<ColumnValue> readRecord(const std::string& path);

// "[name]" starts a section; its lines are joined with CR LF.
std::vector<std::pair<std::string, std::string>> readSections(const std::string& path);

std::vector<HelpTopic> readHelpTopics(const std::string& path);

// The characters of a TEXT(n) type, 0 for other types.
int textSize(const std::string& type);

// Number of characters (not bytes) of a UTF-8 text.
std::size_t utf8Length(const std::string& text);

}  // namespace install
