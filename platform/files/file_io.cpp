#include "platform/files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>

#include "platform/files/held_files.h"
#include "platform/files/paths.h"
#include "platform/files/system_calls.h"
#include "platform/vb/error.h"

namespace files {

namespace {

std::string parentOf(const std::string& p) {
    const size_t slash = p.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

bool isFolder(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// "1,5 MB", "300 KB", "12 Bytes": sizes as a person reads them.
std::string sizeText(unsigned long long bytes) {
    auto decimal = [](unsigned long long tenths) {
        return std::to_string(tenths / 10) + (tenths % 10 ? "," + std::to_string(tenths % 10) : "");
    };
    if (bytes >= 1000ull * 1000 * 1000) return decimal(bytes / 100000000ull) + " GB";
    if (bytes >= 1000ull * 1000) return decimal(bytes / 100000ull) + " MB";
    if (bytes >= 1000ull) return decimal(bytes / 100ull) + " KB";
    return std::to_string(bytes) + " Bytes";
}

struct OpenFile {
    std::FILE* f = nullptr;
    OpenMode mode = OpenMode::Input;
    ~OpenFile() {
        if (f) std::fclose(f);
    }
};

std::map<int, std::unique_ptr<OpenFile>>& table() {
    static std::map<int, std::unique_ptr<OpenFile>> t;
    return t;
}

OpenFile& entry(int n) {
    auto it = table().find(n);
    if (it == table().end()) throw vb::Error(52);
    return *it->second;
}

// A descriptor for reading `real`, which must be a regular file. It is opened without waiting, so
// that a pipe without a writer cannot stop the program here, and checked before anything is read;
// `st` holds what fstat says of it.
int openRegularForReading(const std::string& real, struct stat& st) {
    const int fd = ::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw vb::Error(errorNumberFor(errno));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw vb::Error(75, "Die Datei ist keine gewöhnliche Datei (sondern z. B. ein Gerät oder eine benannte Pipe) "
                            "und wird nicht gelesen.");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace

int errorNumberFor(int e) {
    switch (e) {
        case ENOENT: return 53;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY: return 70;
        case ENOSPC:
        case EDQUOT: return 61;
        case EIO: return 57;
        default: return 75;
    }
}

std::string readFile(const std::string& path, size_t maxBytes) {
    const std::string real = resolve(path);
    if (path.empty() || isFolder(real)) throw vb::Error(53);
    refuseHeldFile(real, path);
    struct stat st;
    const int fd = openRegularForReading(real, st);
    auto tooLarge = [&](unsigned long long size) {
        ::close(fd);
        throw vb::Error(7, "Die Datei ist " + sizeText(size) + " groß; gelesen werden Dateien bis " + sizeText(maxBytes) +
                               ".");
    };
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) tooLarge(static_cast<unsigned long long>(st.st_size));
    std::string data;
    data.reserve(static_cast<size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            throw vb::Error(75);
        }
        data.append(buf, static_cast<size_t>(n));
        if (data.size() > maxBytes) tooLarge(data.size());  // it grew while being read
    }
    ::close(fd);
    return data;
}

void replaceFile(const std::string& path, const std::string& bytes) {
    const std::string real = resolve(path);
    if (path.empty() || real.back() == '/' || isFolder(real)) throw vb::Error(75);
    const std::string folder = parentOf(real);
    if (!isFolder(folder)) throw vb::Error(76);
    refuseHeldFile(real, path);
    const std::string tmpl = tempNameBeside(real);
    const int fd = ::open(tmpl.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) throw vb::Error(errorNumberFor(errno) == 53 ? 76 : errorNumberFor(errno));
    int failure = 0;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = sys::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            failure = errno;
            break;
        }
        done += static_cast<size_t>(w);
    }
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st;
    if (!failure) ::fchmod(fd, ::stat(real.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    if (!failure && sys::fsync(fd) != 0) failure = errno;
    if (::close(fd) != 0 && !failure) failure = errno;
    if (!failure && ::rename(tmpl.c_str(), real.c_str()) != 0) failure = errno;
    if (failure) {
        ::unlink(tmpl.c_str());
        const int number = errorNumberFor(failure);
        throw vb::Error(number == 53 ? 75 : number);
    }
}

void Open(const std::string& path, OpenMode mode, int fileNumber) {
    if (fileNumber < 1 || fileNumber > 511) throw vb::Error(52);
    if (table().count(fileNumber)) throw vb::Error(55);
    const std::string real = resolve(path);
    if (path.empty() || isFolder(real)) throw vb::Error(mode == OpenMode::Input ? 53 : 75);
    if (mode != OpenMode::Input && !isFolder(parentOf(real))) throw vb::Error(76);
    refuseHeldFile(real, path);
    const char* how = mode == OpenMode::Input ? "rb" : mode == OpenMode::Output ? "wb" : "ab";
    std::FILE* f = nullptr;
    if (mode == OpenMode::Input) {
        // Only a regular file: a pipe without a writer would stop the program at the first line.
        struct stat st;
        const int fd = openRegularForReading(real, st);
        f = ::fdopen(fd, how);
        if (!f) ::close(fd);
    } else {
        f = std::fopen(real.c_str(), how);
    }
    if (!f) {
        const int number = errorNumberFor(errno);
        throw vb::Error(mode != OpenMode::Input && number == 53 ? 76 : number);
    }
    auto e = std::make_unique<OpenFile>();
    e->f = f;
    e->mode = mode;
    table()[fileNumber] = std::move(e);
}

void Print(int fileNumber, const std::string& text, bool endLine) {
    OpenFile& e = entry(fileNumber);
    if (e.mode == OpenMode::Input) throw vb::Error(52);
    std::string out = text;
    if (endLine) out += "\r\n";
    if (std::fwrite(out.data(), 1, out.size(), e.f) != out.size())
        throw vb::Error(errno == ENOSPC ? 61 : 57);
}

std::string LineInput(int fileNumber) {
    OpenFile& e = entry(fileNumber);
    if (e.mode != OpenMode::Input) throw vb::Error(52);
    int c = std::fgetc(e.f);
    if (c == EOF) throw vb::Error(62);
    std::string line;
    while (c != EOF && c != '\n' && c != '\r') {
        line += static_cast<char>(c);
        c = std::fgetc(e.f);
    }
    if (c == '\r') {
        const int d = std::fgetc(e.f);
        if (d != '\n' && d != EOF) std::ungetc(d, e.f);
    }
    return line;
}

bool Eof(int fileNumber) {
    OpenFile& e = entry(fileNumber);
    if (e.mode != OpenMode::Input) return true;
    const int c = std::fgetc(e.f);
    if (c == EOF) return true;
    std::ungetc(c, e.f);
    return false;
}

void Close(int fileNumber) {
    auto it = table().find(fileNumber);
    if (it == table().end()) return;
    std::FILE* f = it->second->f;
    it->second->f = nullptr;
    table().erase(it);
    if (f && std::fclose(f) != 0) throw vb::Error(errno == ENOSPC ? 61 : 57);
}

void CloseAll() {
    while (!table().empty()) {
        try {
            Close(table().begin()->first);
        } catch (const vb::Error&) {
            // The remaining files are closed all the same.
        }
    }
}

int FreeFile() {
    int n = 1;
    while (table().count(n)) ++n;
    return n;
}

}  // namespace files
