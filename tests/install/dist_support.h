#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// A fresh installation folder built by the installation tool, and the outside programs that
// check its files (sqlite3, wmf2svg, iconv).
namespace install_test {

namespace fs = std::filesystem;

struct RunResult {
    int status;
    std::string output;
};

inline RunResult run(const std::string& command) {
    RunResult r{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        r.output.append(buffer.data(), n);
    r.status = pclose(pipe);
    return r;
}

inline std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string toolPath() { return std::string(ZUV_BINARY_DIR) + "/install/zuv_install_tool"; }
inline std::string sourceDir() { return std::string(ZUV_SOURCE_DIR) + "/install"; }

inline std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline fs::path makeTempDir(const std::string& stem) {
    std::string templ = (fs::temp_directory_path() / (stem + "-XXXXXX")).string();
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    char* made = mkdtemp(buf.data());
    return made ? fs::path(made) : fs::path();
}

// Lines of the output, without the final empty one.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream ss(text);
    std::string line;
    while (std::getline(ss, line))
        out.push_back(line);
    return out;
}

// One fresh folder per test program.
class DistFolder : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        folder() = makeTempDir("zuv-dist") / "Z.U.V. Programm";
        toolRun() = run(quote(toolPath()) + " " + quote(sourceDir()) + " " + quote(folder().string()));
    }
    static void TearDownTestSuite() { fs::remove_all(folder().parent_path()); }

    static fs::path& folder() {
        static fs::path f;
        return f;
    }
    static RunResult& toolRun() {
        static RunResult r;
        return r;
    }
    static fs::path file(const std::string& name) { return folder() / name; }

    // Rows of a query through the sqlite3 command-line client, cells separated by TAB.
    static std::vector<std::string> sql(const std::string& database, const std::string& query) {
        auto r = run("sqlite3 -batch -separator '\t' " + quote(file(database).string()) + " " + quote(query));
        EXPECT_EQ(r.status, 0) << query << "\n" << r.output;
        return lines(r.output);
    }
    static std::string sqlValue(const std::string& database, const std::string& query) {
        auto rows = sql(database, query);
        return rows.empty() ? std::string("<no row>") : rows[0];
    }
};

}  // namespace install_test
