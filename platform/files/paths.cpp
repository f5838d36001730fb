#include "platform/files/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <climits>
#include <vector>

#include "platform/files/file_io.h"
#include "platform/files/held_files.h"
#include "platform/files/own_folders.h"
#include "platform/files/system_calls.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"

namespace files {

namespace {

std::string& programFolderOverride() {
    static std::string folder;
    return folder;
}

std::string slashes(const std::string& p) {
    std::string s = p;
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

std::vector<std::string> components(const std::string& p) {
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= p.size()) {
        const size_t next = p.find('/', pos);
        const size_t end = next == std::string::npos ? p.size() : next;
        if (end > pos) parts.push_back(p.substr(pos, end - pos));
        if (next == std::string::npos) break;
        pos = next + 1;
    }
    return parts;
}

bool exists(const std::string& p) {
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `name` without regard to case; "" when none.
std::string findNoCase(const std::string& folder, const std::string& name) {
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return {};
    const std::string wanted = vb::UCase(name);
    std::string best;
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        if (vb::UCase(n) == wanted && (best.empty() || n < best)) best = n;
    }
    ::closedir(d);
    return best;
}

// The standard text of the number: the error box shows it as the language's runtime would.
[[noreturn]] void raise(int number, const std::string& /*path*/) { throw vb::Error(number); }

bool isFolder(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isFile(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string parentOf(const std::string& p) {
    const size_t slash = p.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    sys::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string resolve(const std::string& windowsPath) {
    const std::string p = slashes(windowsPath);
    if (p.empty()) return p;
    const bool absolute = p[0] == '/';
    const bool trailing = p.size() > 1 && p.back() == '/';
    std::string out = absolute ? "/" : "";
    bool found = true;
    for (const std::string& comp : components(p)) {
        const std::string folder = out;
        if (!out.empty() && out.back() != '/') out += '/';
        if (found && comp != "." && comp != "..") {
            if (exists(out + comp)) {
                out += comp;
            } else if (const std::string real = findNoCase(folder, comp); !real.empty()) {
                out += real;
            } else {
                found = false;
                out += comp;
            }
        } else {
            out += comp;
        }
    }
    if (trailing && out.back() != '/') out += '/';
    return out;
}

std::string programFolder() {
    if (!programFolderOverride().empty()) return programFolderOverride();
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    return parentOf(std::string(buf, static_cast<size_t>(n)));
}

void setProgramFolder(const std::string& folder) {
    std::string f = slashes(folder);
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    programFolderOverride() = f;
}

std::string joinPath(const std::string& a, const std::string& b) {
    std::string left = slashes(a), right = slashes(b);
    while (!left.empty() && left.back() == '/') left.pop_back();
    size_t skip = 0;
    while (skip < right.size() && right[skip] == '/') ++skip;
    right.erase(0, skip);
    if (a.empty()) return right;
    if (left.empty()) return "/" + right;  // a was the root
    return left + "/" + right;
}

std::string fileName(const std::string& path) {
    const std::string p = slashes(path);
    const size_t slash = p.find_last_of('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

bool FileExists(const std::string& path) { return !path.empty() && isFile(resolve(path)); }

bool FolderExists(const std::string& path) { return !path.empty() && isFolder(resolve(path)); }

std::string Dir(const std::string& path) {
    if (path.empty()) return {};
    const std::string real = resolve(path);
    return isFile(real) ? fileName(real) : std::string();
}

void Kill(const std::string& path) {
    const std::string real = resolve(path);
    if (path.empty() || !exists(real) || isFolder(real)) raise(vb::err::FileNotFound, path);
    if (::unlink(real.c_str()) != 0) raise(errorNumberFor(errno), path);
}

int copyAll(int in, int out) {
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buf, sizeof buf);
        if (n == 0) return 0;
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = sys::write(out, buf + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            done += w;
        }
    }
}

namespace {

void copyFile(const std::string& source, const std::string& target, bool asNewFile) {
    const std::string src = resolve(source);
    if (source.empty() || !isFile(src)) raise(vb::err::FileNotFound, source);
    const std::string dst = resolve(target);
    if (target.empty() || dst.back() == '/') raise(vb::err::PathFileAccessError, target);
    const std::string folder = parentOf(dst);
    if (!isFolder(folder)) raise(vb::err::FolderNotFound, target);
    struct stat ss, ds;
    if (::stat(src.c_str(), &ss) != 0) raise(errorNumberFor(errno), source);
    refuseHeldFile(src, source);
    refuseHeldFile(dst, target);
    if (::stat(dst.c_str(), &ds) == 0) {
        if (ss.st_dev == ds.st_dev && ss.st_ino == ds.st_ino) raise(vb::err::PermissionDenied, target);
        if (S_ISDIR(ds.st_mode)) raise(vb::err::PathFileAccessError, target);
    }

    const int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) raise(errorNumberFor(errno), source);
    const std::string tmpl = tempNameBeside(dst);
    const int out = ::open(tmpl.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        const int e = errno;
        ::close(in);
        raise(errorNumberFor(e), target);
    }
    int failure = copyAll(in, out);
    ::close(in);
    if (!failure) ::fchmod(out, asNewFile ? newFileMode() : ss.st_mode & 07777);
    if (!failure && sys::fsync(out) != 0) failure = errno;
    if (::close(out) != 0 && !failure) failure = errno;
    if (!failure && ::rename(tmpl.c_str(), dst.c_str()) != 0) failure = errno;
    if (failure) {
        ::unlink(tmpl.c_str());
        raise(errorNumberFor(failure) == vb::err::FileNotFound ? vb::err::PathFileAccessError : errorNumberFor(failure),
              target);
    }
    syncFolder(folder);
}

}  // namespace

void FileCopy(const std::string& source, const std::string& target) { copyFile(source, target, false); }

void copyAsNewFile(const std::string& source, const std::string& target) { copyFile(source, target, true); }

namespace {

const char* const kTempMark = ".zuvtmp";

std::string hostTag() {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0 || !buf[0]) return "host";
    std::string h = buf;
    // The tag is read back by splitting at "-" and "."; neither may stand inside it.
    for (char& c : h)
        if (c == '-' || c == '.' || c == '/' || static_cast<unsigned char>(c) < 0x20) c = '_';
    return h;
}

// "<host>-<pid>-<n>" of a temporary name; false when the name is not one of ours.
bool tempParts(const std::string& name, std::string& host, long& pid) {
    if (name.size() < 2 || name[0] != '.') return false;
    std::string n = name;
    for (const char* side : {"-journal", "-wal", "-shm"}) {
        const std::string s = side;
        if (n.size() > s.size() && n.compare(n.size() - s.size(), s.size(), s) == 0) {
            n.erase(n.size() - s.size());
            break;
        }
    }
    const std::string mark = kTempMark;
    if (n.size() <= mark.size() || n.compare(n.size() - mark.size(), mark.size(), mark) != 0) return false;
    n.erase(n.size() - mark.size());
    const size_t dot = n.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return false;
    const std::string tag = n.substr(dot + 1);
    const size_t d2 = tag.find_last_of('-');
    if (d2 == std::string::npos || d2 == 0) return false;
    const size_t d1 = tag.find_last_of('-', d2 - 1);
    if (d1 == std::string::npos || d1 == 0) return false;
    const std::string pidText = tag.substr(d1 + 1, d2 - d1 - 1);
    const std::string counter = tag.substr(d2 + 1);
    auto digits = [](const std::string& t) {
        return !t.empty() && t.size() < 12 && t.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(pidText) || !digits(counter)) return false;
    host = tag.substr(0, d1);
    pid = std::stol(pidText);
    return true;
}

}  // namespace

std::string tempNameBeside(const std::string& target) {
    static unsigned long counter = 0;
    const std::string dst = resolve(target);
    const std::string folder = parentOf(dst);
    const std::string stem = folder + "/." + fileName(dst) + "." + hostTag() + "-" + std::to_string(::getpid()) + "-";
    for (;;) {
        const std::string name = stem + std::to_string(++counter) + kTempMark;
        if (!exists(name) && !exists(name + "-journal") && !exists(name + "-wal")) return name;
    }
}

bool isTempName(const std::string& name) {
    std::string host;
    long pid = 0;
    return tempParts(fileName(name), host, pid);
}

int removeStaleTempFiles(const std::string& folderIn) {
    const std::string folder = resolve(folderIn);
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return 0;
    const std::string me = hostTag();
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        std::string host;
        long pid = 0;
        if (!tempParts(n, host, pid)) continue;
        const std::string full = joinPath(folder, n);
        struct stat st;
        if (::lstat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        bool gone;
        if (host == me) gone = pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
        else gone = ::time(nullptr) - st.st_mtime > 24 * 3600;  // its pid means nothing here
        if (gone) stale.push_back(full);
    }
    ::closedir(d);
    int removed = 0;
    for (const auto& f : stale)
        if (::unlink(f.c_str()) == 0) ++removed;
    return removed;
}

void moveIntoPlace(const std::string& from, const std::string& target, bool replace) {
    const std::string src = resolve(from);
    const std::string dst = resolve(target);
    int rc;
    if (replace) {
        // The file that is replaced keeps its permissions: whoever could read or write it before
        // still can, and no more.
        if (struct stat st; ::stat(dst.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            ::chmod(src.c_str(), st.st_mode & 07777);
        rc = ::rename(src.c_str(), dst.c_str());
    } else {
        rc = ::renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, dst.c_str(), RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without the flag: a hard link fails just as well when the name is taken.
            rc = ::link(src.c_str(), dst.c_str());
            if (rc == 0) ::unlink(src.c_str());
        }
    }
    if (rc != 0) {
        const int e = errno;
        if (e == EEXIST) raise(vb::err::FileAlreadyExists, target);
        const int number = errorNumberFor(e);
        raise(number == vb::err::FileNotFound ? vb::err::PathFileAccessError : number, target);
    }
    syncFolder(parentOf(dst));
}

void syncFile(const std::string& path) {
    refuseHeldFile(resolve(path), path);
    const int fd = ::open(resolve(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) raise(vb::err::PathFileAccessError, path);
    const int rc = sys::fsync(fd);
    const int failure = rc != 0 ? errno : 0;
    ::close(fd);
    if (rc != 0)
        raise(errorNumberFor(failure) == vb::err::FileNotFound ? vb::err::PathFileAccessError : errorNumberFor(failure),
              path);
}

bool samePath(const std::string& a, const std::string& b) {
    const std::string ra = resolve(a), rb = resolve(b);
    struct stat sa, sb;
    if (::stat(ra.c_str(), &sa) == 0 && ::stat(rb.c_str(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return vb::UCase(ra) == vb::UCase(rb);
}

}  // namespace files
