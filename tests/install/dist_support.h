#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/files.h"

// A fresh installation folder built by the installation tool, and the outside programs that
// check its files (sqlite3, wmf2svg, iconv).
namespace install_test {

namespace fs = std::filesystem;

using support::lines;
using support::makeTempDir;
using support::readFile;
using support::run;
using support::RunResult;
using support::shellQuote;

inline std::string toolPath() { return std::string(ZUV_BINARY_DIR) + "/install/zuv_install_tool"; }
inline std::string sourceDir() { return std::string(ZUV_SOURCE_DIR) + "/install"; }

// One fresh folder per test program.
class DistFolder : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        folder() = makeTempDir("zuv-dist") / "Z.U.V. Programm";
        toolRun() = run(shellQuote(toolPath()) + " " + shellQuote(sourceDir()) + " " + shellQuote(folder().string()));
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
        auto r = run("sqlite3 -batch -separator '\t' " + shellQuote(file(database).string()) + " " + shellQuote(query));
        EXPECT_EQ(r.status, 0) << query << "\n" << r.output;
        return lines(r.output);
    }
    static std::string sqlValue(const std::string& database, const std::string& query) {
        auto rows = sql(database, query);
        return rows.empty() ? std::string("<no row>") : rows[0];
    }
};

}  // namespace install_test
