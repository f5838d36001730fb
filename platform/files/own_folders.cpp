#include "platform/files/own_folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>

#include "platform/vb/error.h"

namespace files {

namespace {

bool isFolder(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string absoluteEnv(const char* name) {
    const char* v = std::getenv(name);
    return v && v[0] == '/' ? std::string(v) : std::string();
}

std::string homeFolder() {
    if (std::string h = absoluteEnv("HOME"); !h.empty()) return h;
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') return pw->pw_dir;
    return "/tmp";
}

std::string withoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string tempRoot() {
    std::string t = absoluteEnv("TMPDIR");
    if (t.empty() || !isFolder(t)) t = "/tmp";
    return withoutTrailingSlash(t);
}

// The process number in "<prefix><pid>-<random>"; 0 when the name is not of that form.
long pidInName(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
    const size_t dash = name.find('-', prefix.size());
    if (dash == std::string::npos || dash == prefix.size() || dash - prefix.size() > 10 || dash + 1 == name.size())
        return 0;
    const std::string digits = name.substr(prefix.size(), dash - prefix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stol(digits);
}

}  // namespace

bool folderWritable(const std::string& folder) {
    return !folder.empty() && isFolder(folder) && ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string userConfigFolder(const std::string& program) {
    std::string base = absoluteEnv("XDG_CONFIG_HOME");
    if (base.empty()) base = homeFolder() + "/.config";
    return withoutTrailingSlash(base) + "/" + program;
}

std::string userDataFolder(const std::string& program) {
    std::string base = absoluteEnv("XDG_DATA_HOME");
    if (base.empty()) base = homeFolder() + "/.local/share";
    return withoutTrailingSlash(base) + "/" + program;
}

void makeOwnFolder(const std::string& folderIn) {
    const std::string folder = withoutTrailingSlash(folderIn);
    for (size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos != folder.size() && folder[pos] != '/') continue;
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            throw vb::Error(vb::err::FolderNotFound, vb::errorDescription(vb::err::FolderNotFound) + ": " + folder);
    }
    if (!isFolder(folder))
        throw vb::Error(vb::err::FolderNotFound, vb::errorDescription(vb::err::FolderNotFound) + ": " + folder);
}

unsigned newFileMode() {
    // Read, not set: setting the umask to learn it would change it for every thread meanwhile.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return 0666u & ~static_cast<unsigned>(std::strtoul(line.c_str() + 6, nullptr, 8));
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666u & ~static_cast<unsigned>(mask);
}

std::string makePrivateTempFolder(const std::string& prefix) {
    std::string name = tempRoot() + "/" + prefix + std::to_string(::getpid()) + "-XXXXXX";
    if (!::mkdtemp(name.data()))
        throw vb::Error(vb::err::PathFileAccessError, vb::errorDescription(vb::err::PathFileAccessError) + ": " + name);
    return name;
}

void removePrivateTempFolder(const std::string& folder, const std::vector<std::string>& names) {
    // Only a folder of this account, reached without following a link, is emptied.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir < 0) return;
    struct stat st;
    if (::fstat(dir, &st) == 0 && st.st_uid == ::geteuid())
        for (const std::string& n : names) ::unlinkat(dir, n.c_str(), 0);
    ::close(dir);
    ::rmdir(folder.c_str());
}

int removeStalePrivateTempFolders(const std::string& prefix, const std::vector<std::string>& names) {
    const std::string root = tempRoot();
    DIR* d = ::opendir(root.c_str());
    if (!d) return 0;
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        const long pid = pidInName(n, prefix);
        if (pid <= 0 || pid == ::getpid()) continue;
        struct stat st;
        const std::string full = root + "/" + n;
        if (::lstat(full.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) stale.push_back(full);
    }
    ::closedir(d);
    int removed = 0;
    for (const std::string& f : stale) {
        removePrivateTempFolder(f, names);
        if (!isFolder(f)) ++removed;
    }
    return removed;
}

}  // namespace files
