#pragma once

#include <string>
#include <vector>

// Profile files ("Zuv50.ini"): "[Section]" lines and "key=value" lines below them.
namespace ini {

// The value of `key` in `section` of `file`, or `defaultValue` when the file, the section or the
// key is missing. Section and key names are compared without regard to case and without the
// blanks around them (the key " 1" finds the line "1=…"); the value is what follows the first "="
// of the line, without blanks or tabs around it and without one pair of enclosing quotes. Where a
// section or a key stands twice, the first counts. Lines starting with ";" are comments. The file
// name is found without regard to case; a file that is not UTF-8 is read as Windows-1252. Values
// of any length come back whole.
std::string GetPrivateProfileString(const std::string& section, const std::string& key, const std::string& defaultValue,
                                    const std::string& file);

// The programs' own reader over the above: the value, or 128 NUL characters when the key is
// missing or its value empty. Callers test a value with `present`.
std::string ReadIniString(const std::string& section, const std::string& key, const std::string& file);

// The callers' test: the value sorts after a single blank, compared by character codes, so ""
// and the NUL text count as missing.
inline bool present(const std::string& value) { return value > " "; }

struct Entry {
    std::string key;
    std::string value;
};
struct Section {
    std::string name;
    std::vector<Entry> entries;
};

// Writes the whole file anew: "[name]" and "key=value" lines, each ended by CR LF. The text goes to
// a file beside the target first and then takes its place, so a failure leaves the earlier file as
// it was. Failures raise vb::Error (76 folder missing, 70 not allowed, 61 disk full, 75 otherwise;
// 5 for a name or value holding a line break, which would add lines of its own).
void writeIniFile(const std::string& file, const std::vector<Section>& sections);

}  // namespace ini
