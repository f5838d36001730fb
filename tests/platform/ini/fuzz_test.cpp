// Mutated INI files: every lookup answers with a value of one line, in UTF-8, or the default; and
// whatever the program writes it reads back as written.

#include <gtest/gtest.h>

#include <iostream>
#include <random>

#include "platform/ini/ini_file.h"
#include "platform/vb/error.h"
#include "platform/vb/utf8.h"
#include "support/files.h"
#include "support/fuzz.h"

namespace {

bool validUtf8(const std::string& s) {
    for (size_t pos = 0; pos < s.size();) {
        bool valid = true;
        vb::utf8::next(s, pos, &valid);
        if (!valid) return false;
    }
    return true;
}

class IniFuzz : public support::TempFolderTest {};

}  // namespace

TEST_F(IniFuzz, AnyFileGivesOneLineValuesOrTheDefault) {
    const std::string file = path("Zuv50.ini");
    support::Mutator m(
        {
            "[ZUV]\r\nAppPath=/opt/zuv\r\n[Options]\r\nSystemDB=/opt/zuv\\SYS.MDA\r\n[File1]\r\n1=/home/Anna/A.ZDB\r\n",
            "  [ file2 ]  \n  2 =  a=b=c  \n; 3=comment\n[File3]\n3=\"quoted\"\n[File4]\r\n4=x\r\n",
            "\xEF\xBB\xBF[ZUV]\nAppPath=C:\\Programme\\Z\xC3\xBCV\n",
            "[ZUV]\nAppPath=C:\\Programme\\Z\xFCV\n[File1]\n1=M\xFCller.ZDB\n",
        },
        {"[",  "]",   "=",       ";",     "\r\n", "\n",    "\r",           "\"",   "'",        " ",
         "\t", "ZUV", "AppPath", "File1", " 1",   "[ZUV]", "\xEF\xBB\xBF", "\xFC", "\xC3\xBC", "\x00"},
        support::fuzzSeed() + 2);
    const std::pair<const char*, const char*> lookups[] = {{"ZUV", "AppPath"}, {"File1", " 1"}, {"file2", "2"}};
    int round = 0;
    const long ran = support::fuzz(m, support::fuzzRuns(2000), [&](const std::string& text) {
        support::writeFile(file, text);
        const auto& [section, key] = lookups[round++ % std::size(lookups)];
        const std::string v = ini::GetPrivateProfileString(section, key, "", file);
        EXPECT_EQ(v.find_first_of("\r\n"), std::string::npos);
        EXPECT_TRUE(validUtf8(v)) << v;
        const std::string r = ini::ReadIniString(section, key, file);
        EXPECT_TRUE(v.empty() ? r == std::string(128, '\0') : r == v) << "[" << section << "] " << key;
    });
    std::cout << "fuzz: " << ran << " INI files\n";
}

// Sections and values the program could write, with their blanks, equals signs, semicolons and
// umlauts: written whole and read back as they were.
TEST_F(IniFuzz, WhatIsWrittenIsReadBack) {
    std::mt19937 random(static_cast<unsigned>(support::fuzzSeed()));
    const std::string alphabet = "abcXYZ019 =;[]\\/.:_-\xC3\xA4\xC3\x9F\"'";
    auto word = [&](size_t maxLength) {
        std::string w;
        for (size_t n = random() % maxLength; w.size() < n;) {
            const size_t at = random() % alphabet.size();
            // Multi-byte characters go in whole.
            if (static_cast<unsigned char>(alphabet[at]) == 0xC3) w += alphabet.substr(at, 2);
            else if (static_cast<unsigned char>(alphabet[at]) < 0x80) w += alphabet[at];
        }
        return w;
    };
    const long runs = support::fuzzRuns(100);
    for (long i = 0; i < runs; ++i) {
        std::vector<ini::Section> sections;
        for (int s = 0; s < 3; ++s) {
            ini::Section sec{"S" + std::to_string(s) + word(6), {}};
            while (sec.name.find(']') != std::string::npos) sec.name.erase(sec.name.find(']'), 1);
            for (int k = 0; k < 3; ++k) {
                std::string value = word(300);
                // What the reader takes away by its rules: blanks around the value, one pair of quotes.
                while (!value.empty() && value.back() == ' ') value.pop_back();
                while (!value.empty() && value.front() == ' ') value.erase(0, 1);
                if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
                    value += "x";
                sec.entries.push_back({"K" + std::to_string(k), value});
            }
            sections.push_back(sec);
        }
        ini::writeIniFile(path("w.ini"), sections);
        for (const auto& sec : sections)
            for (const auto& e : sec.entries)
                ASSERT_EQ(ini::GetPrivateProfileString(sec.name, e.key, "(fehlt)", path("w.ini")), e.value)
                    << "[" << sec.name << "] " << e.key;
    }
    std::cout << "fuzz: " << runs << " INI files written and read back\n";
}
