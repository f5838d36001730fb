#pragma once

// Where a word may be broken with a hyphen, by the system's hyphenation patterns (libhyphen with
// a dictionary of the hyphen-* packages). The dictionary is looked for when first needed; without
// it no word has a hyphenation point, and texts break between words only. Safe to use from any
// thread.

#include <QString>

#include <string>
#include <vector>

namespace chart {

class Hyphenation {
public:
    // The German patterns installed at /usr/share/hyphen/hyph_de_DE.dic. libhyphen takes more
    // than a second to read them: preloadGerman() starts that in the background (once, e.g. at
    // the program's start), german() waits for it.
    static const Hyphenation& german();
    static void preloadGerman();
    // The patterns of that dictionary file; a file that is missing or unreadable gives none.
    explicit Hyphenation(const std::string& dictionaryPath);
    ~Hyphenation();
    Hyphenation(const Hyphenation&) = delete;
    Hyphenation& operator=(const Hyphenation&) = delete;

    bool available() const { return m_dict != nullptr; }
    // The positions i (1 .. size-1, counted in QChars) at which `word` may be broken as
    // word.left(i) + "-" / word.mid(i), in increasing order. Letters only are hyphenated: a word
    // with digits or signs is split into its runs of letters, each of at least two letters on
    // either side of a break; a word whose letters the dictionary cannot spell has no points.
    std::vector<int> points(const QString& word) const;

private:
    struct Dict;
    Dict* m_dict = nullptr;
    std::string m_encoding;
};

}  // namespace chart
