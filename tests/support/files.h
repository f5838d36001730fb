#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

// Files, folders and outside programs for tests that check what lands on disk.
namespace support {

namespace fs = std::filesystem;

// Puts back what a test changed for the whole program (its folders, the current folder) when the
// test's scope ends, also when an exception ends the test halfway: the tests after it in the same
// process start from the program's own state.
class PutBack {
public:
    explicit PutBack(std::function<void()> undo) : m_undo(std::move(undo)) {}
    ~PutBack() { m_undo(); }
    PutBack(const PutBack&) = delete;
    PutBack& operator=(const PutBack&) = delete;

private:
    std::function<void()> m_undo;
};

struct RunResult {
    int status;
    std::string output;  // standard output and standard error together
};

// Runs a shell command and collects what it prints.
inline RunResult run(const std::string& command) {
    RunResult r{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return r;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.output.append(buffer.data(), n);
    r.status = pclose(pipe);
    return r;
}

// One word for the shell, whatever it holds.
inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void writeFile(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

// Lines of a text, without the final empty one.
inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream ss(text);
    std::string line;
    while (std::getline(ss, line)) out.push_back(line);
    return out;
}

// A new empty folder in the temporary folder; empty path when none could be made.
inline fs::path makeTempDir(const std::string& stem) {
    std::string templ = (fs::temp_directory_path() / (stem + "-XXXXXX")).string();
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    char* made = mkdtemp(buf.data());
    return made ? fs::path(made) : fs::path();
}

// A fresh folder for each test, removed with all it holds afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = makeTempDir("zuv-test"); }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    fs::path m_dir;
};

}  // namespace support
