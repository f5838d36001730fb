#pragma once

// A help file: one SQLite file with the table
//   topics(path TEXT PRIMARY KEY COLLATE NOCASE, title TEXT NOT NULL, html TEXT NOT NULL)
// where `path` is the topic path as the programs pass it ("html/zuvw45gu.htm").

#include <memory>
#include <optional>
#include <string>

struct sqlite3;

namespace help {

struct Topic {
    std::string path;
    std::string title;
    std::string html;
};

class HelpFile {
public:
    // Opens read-only; nullopt (and a German reason in `error`) when the file is missing or is
    // no help file.
    static std::unique_ptr<HelpFile> open(const std::string& path, std::string* error = nullptr);
    ~HelpFile();
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

    // A topic by its path, compared without regard to case; a leading "/" or "./" and an
    // "#anchor" are ignored.
    std::optional<Topic> topic(const std::string& path) const;
    // The start page: the first topic stored.
    std::optional<Topic> firstTopic() const;
    const std::string& fileName() const { return m_file; }

    // A link inside topic `from` resolved to a topic path: "other.htm" next to "html/x.htm"
    // gives "html/other.htm"; "../a.htm" and "sub/b.htm" are followed.
    static std::string resolveLink(const std::string& from, const std::string& link);

private:
    HelpFile(sqlite3* db, std::string file) : m_db(db), m_file(std::move(file)) {}
    sqlite3* m_db;
    std::string m_file;
};

}  // namespace help
