// The layers of the programs, read from the sources: a folder includes only the folders below it,
// so a subsystem reaches the main window through the one port and never through the frame, and
// inside platform/ drawing and help ask the person through the Host below them, never through the
// windows above.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The platform's folders from the bottom up; a folder includes its own and those of lower steps,
// never one of its own step (side by side) nor one above. The first five are the library without
// windows (zuv_platform).
const std::vector<std::vector<std::string>>& plattformStufen() {
    static const std::vector<std::vector<std::string>> s = {
        {"platform/vb"},
        {"platform/files"},
        {"platform/ini", "platform/xml", "platform/db"},
        {"platform/host"},
        {"platform/draw", "platform/help"},
        {"platform/forms"},
        {"platform/chart", "platform/report"},
    };
    return s;
}

// The folders each folder may include; platform/ is below all of the desk's and codex's.
const std::map<std::string, std::set<std::string>>& erlaubt() {
    static const std::map<std::string, std::set<std::string>> e = [] {
        std::map<std::string, std::set<std::string>> m = {
            {"desk/common", {"desk/common"}},
            {"desk/testing", {"desk/common", "desk/testing"}},
            {"desk/charts", {"desk/common", "desk/testing", "desk/charts"}},
            {"desk/reports", {"desk/common", "desk/testing", "desk/reports"}},
            {"desk/evaluation", {"desk/common", "desk/testing", "desk/charts", "desk/reports", "desk/evaluation"}},
            {"desk/frame",
             {"desk/common", "desk/testing", "desk/charts", "desk/reports", "desk/evaluation", "desk/frame"}},
            {"codex", {"desk/common", "codex"}},
        };
        std::set<std::string> darunter;
        for (const auto& stufe : plattformStufen()) {
            for (const auto& ordner : stufe) {
                m[ordner] = darunter;
                m[ordner].insert(ordner);
            }
            darunter.insert(stufe.begin(), stufe.end());
        }
        for (auto& [ordner, darf] : m)
            if (ordner.rfind("platform/", 0) != 0) darf.insert(darunter.begin(), darunter.end());
        return m;
    }();
    return e;
}

std::string schicht(const std::string& rel) {
    for (const auto& [ordner, _] : erlaubt())
        if (rel.rfind(ordner + "/", 0) == 0) return ordner;
    return "";
}

std::vector<std::string> verstoesse() {
    const fs::path wurzel = ZUV_SOURCE_DIR;
    const std::regex include(R"re(^\s*#\s*include\s+"((desk/[a-z]+|codex|platform/[a-z]+)/[^"]+)")re");
    const std::regex bedingt(R"(__has_include)");
    std::vector<std::string> falsch;
    for (const char* oben : {"desk", "codex", "platform"}) {
        if (!fs::exists(wurzel / oben)) continue;
        for (const auto& e : fs::recursive_directory_iterator(wurzel / oben)) {
            if (!e.is_regular_file()) continue;
            const auto ext = e.path().extension();
            if (ext != ".cpp" && ext != ".h") continue;
            const std::string rel = fs::relative(e.path(), wurzel).generic_string();
            const std::string von = schicht(rel);
            if (von.empty()) {
                // A new folder of the platform takes its step in the order before it is used.
                if (rel.rfind("platform/", 0) == 0) falsch.push_back(rel + " lies in no step of the platform");
                continue;
            }
            std::ifstream in(e.path());
            std::string zeile;
            for (int nr = 1; std::getline(in, zeile); ++nr) {
                std::smatch m;
                if (std::regex_search(zeile, bedingt))
                    falsch.push_back(rel + ":" + std::to_string(nr) + " __has_include");
                if (!std::regex_search(zeile, m, include)) continue;
                const std::string nach = schicht(m[1].str());
                if (!erlaubt().at(von).count(nach))
                    falsch.push_back(rel + ":" + std::to_string(nr) + " includes " + m[1].str());
            }
        }
    }
    return falsch;
}

}  // namespace

TEST(Layering, EachFolderIncludesOnlyTheLayersBelowIt) {
    const auto falsch = verstoesse();
    std::string liste;
    for (const auto& f : falsch) liste += "\n  " + f;
    EXPECT_TRUE(falsch.empty()) << liste;
}
