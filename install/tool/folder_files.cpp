#include "install/tool/folder_files.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "install/tool/sources.h"
#include "platform/vb/codepage.h"

namespace install {

namespace {

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) throw std::runtime_error(path + ": cannot be written");
}

std::string htmlEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

}  // namespace

void writeIniFile(const std::string& folder) {
    std::string text = "[ZUV]\r\nAppPath=" + folder + "\r\n[Options]\r\nSystemDB=" + folder + "/Sys.mda\r\n";
    writeBytes(folder + "/Zuv50.ini", text);
}

void writeIntroduction(const std::string& source, const std::string& folder) {
    std::string text;
    int number = 0;
    for (auto& line : readSourceLines(source, true)) {
        ++number;
        for (std::size_t i = 0; i < line.size(); ++i) {
            unsigned char c = line[i];
            if (c >= 0x80) {
                static const char* allowed[] = {"ä", "ö", "ü", "Ä", "Ö", "Ü", "ß"};
                bool ok = false;
                for (const char* a : allowed)
                    if (line.compare(i, 2, a) == 0) ok = true;
                if (!ok)
                    throw std::runtime_error(source + ": line " + std::to_string(number) +
                                             ": only ASCII, umlauts and ß survive the program's conversion");
                ++i;
            } else if (c < 0x20) {
                throw std::runtime_error(source + ": line " + std::to_string(number) + ": control character");
            }
        }
        text += line + "\r\n";
    }
    writeBytes(folder + "/zuvinfo.txt", vb::fromUtf8(text, vb::CodePage::Dos850));
}

void writeHelpFile(const std::string& source, const std::string& path) {
    auto topics = readHelpTopics(source);
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    auto check = [&](int rc) {
        if (rc != SQLITE_OK && rc != SQLITE_DONE) {
            std::string message = db ? sqlite3_errmsg(db) : "out of memory";
            sqlite3_close(db);
            throw std::runtime_error(path + ": " + message);
        }
    };
    check(sqlite3_open(path.c_str(), &db));
    check(sqlite3_exec(db,
                       "CREATE TABLE topics(path TEXT PRIMARY KEY COLLATE NOCASE, title TEXT NOT NULL, "
                       "html TEXT NOT NULL); BEGIN;",
                       nullptr, nullptr, nullptr));
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO topics(path, title, html) VALUES (?, ?, ?)", -1, &insert, nullptr));
    for (auto& t : topics) {
        std::string html = "<html><head><meta charset=\"utf-8\"><title>" + htmlEscape(t.title) +
                           "</title></head><body>\n<h1>" + htmlEscape(t.title) + "</h1>\n" + t.html + "</body></html>\n";
        sqlite3_bind_text(insert, 1, t.path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, t.title.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, html.c_str(), -1, SQLITE_TRANSIENT);
        int rc = sqlite3_step(insert);
        if (rc != SQLITE_DONE) {
            sqlite3_finalize(insert);
            check(rc);
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr));
    check(sqlite3_close(db));
}

}  // namespace install
