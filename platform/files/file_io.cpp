#include "platform/files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>

#include "platform/files/held_files.h"
#include "platform/files/own_folders.h"
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

// A file open for input is read through stdio; one open for output is written straight through
// the program's replaceable write call, so that a full or failing disk is told at the Print # it
// meets.
struct OpenFile {
    std::FILE* f = nullptr;
    int fd = -1;
    OpenMode mode = OpenMode::Input;
    ~OpenFile() {
        if (f) std::fclose(f);
        if (fd >= 0) ::close(fd);
    }
};

// 61 for a full disk (or quota), 57 for any other failure of a write.
int writeErrorFor(int e) { return e == ENOSPC || e == EDQUOT ? vb::err::DiskFull : vb::err::DeviceIOError; }

std::map<int, std::unique_ptr<OpenFile>>& table() {
    static std::map<int, std::unique_ptr<OpenFile>> t;
    return t;
}

OpenFile& entry(int n) {
    auto it = table().find(n);
    if (it == table().end()) throw vb::Error(vb::err::BadFileNameOrNumber);
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
        throw vb::Error(vb::err::PathFileAccessError,
                        "Die Datei ist keine gewöhnliche Datei (sondern z. B. ein Gerät oder eine benannte Pipe) "
                        "und wird nicht gelesen.");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace

int errorNumberFor(int e) {
    switch (e) {
    case ENOENT: return vb::err::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY: return vb::err::PermissionDenied;
    case ENOSPC:
    case EDQUOT: return vb::err::DiskFull;
    case EIO: return vb::err::DeviceIOError;
    default: return vb::err::PathFileAccessError;
    }
}

std::string readFile(const std::string& path, size_t maxBytes) {
    const std::string real = resolve(path);
    if (path.empty() || isFolder(real)) throw vb::Error(vb::err::FileNotFound);
    refuseHeldFile(real, path);
    struct stat st;
    const int fd = openRegularForReading(real, st);
    auto tooLarge = [&](unsigned long long size) {
        ::close(fd);
        throw vb::Error(vb::err::OutOfMemory, "Die Datei ist " + sizeText(size) + " groß; gelesen werden Dateien bis " +
                                                  sizeText(maxBytes) + ".");
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
            throw vb::Error(vb::err::PathFileAccessError);
        }
        data.append(buf, static_cast<size_t>(n));
        if (data.size() > maxBytes) tooLarge(data.size());  // it grew while being read
    }
    ::close(fd);
    return data;
}

FileReplacement::FileReplacement(const std::string& path) : m_shown(path), m_real(resolve(path)) {
    auto refuse = [&](int number) { throw vb::Error(number, vb::errorDescription(number) + ": " + m_shown); };
    if (path.empty() || m_real.back() == '/' || isFolder(m_real)) refuse(vb::err::PathFileAccessError);
    const std::string folder = parentOf(m_real);
    if (!isFolder(folder)) refuse(vb::err::FolderNotFound);
    refuseHeldFile(m_real, path);
    m_temp = tempNameBeside(m_real);
    m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        const int number = errorNumberFor(errno);
        m_temp.clear();
        refuse(number == vb::err::FileNotFound ? vb::err::FolderNotFound : number);
    }
}

FileReplacement::~FileReplacement() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
}

void FileReplacement::fail(int errnoValue) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    ::unlink(m_temp.c_str());
    m_temp.clear();
    const int number = errorNumberFor(errnoValue);
    const int shown = number == vb::err::FileNotFound ? vb::err::PathFileAccessError : number;
    throw vb::Error(shown, vb::errorDescription(shown) + ": " + m_shown);
}

void FileReplacement::write(const void* data, size_t size) {
    if (m_fd < 0)
        throw vb::Error(vb::err::PathFileAccessError,
                        vb::errorDescription(vb::err::PathFileAccessError) + ": " + m_shown);
    const char* p = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t w = sys::write(m_fd, p + done, size - done);
        if (w < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (w == 0) fail(ENOSPC);  // a disk that takes nothing more
        done += static_cast<size_t>(w);
    }
}

void FileReplacement::commit() {
    if (m_fd < 0)
        throw vb::Error(vb::err::PathFileAccessError,
                        vb::errorDescription(vb::err::PathFileAccessError) + ": " + m_shown);
    // Keep the permissions of the file being replaced; a new file takes those the umask gives, as
    // any file the user makes (a private umask keeps a client's report to this account).
    struct stat st;
    ::fchmod(m_fd, ::stat(m_real.c_str(), &st) == 0 ? (st.st_mode & 07777) : newFileMode());
    if (sys::fsync(m_fd) != 0) fail(errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) fail(errno);
    if (::rename(m_temp.c_str(), m_real.c_str()) != 0) fail(errno);
    m_temp.clear();
}

void replaceFile(const std::string& path, const std::string& bytes) {
    try {
        FileReplacement file(path);
        file.write(bytes.data(), bytes.size());
        file.commit();
    } catch (const vb::Error& e) {
        // Callers of the whole-file write show the standard text of the number and the file.
        throw vb::Error(e.number(), vb::errorDescription(e.number()) + ": " + path);
    }
}

void Open(const std::string& path, OpenMode mode, int fileNumber) {
    if (fileNumber < 1 || fileNumber > 511) throw vb::Error(vb::err::BadFileNameOrNumber);
    if (table().count(fileNumber)) throw vb::Error(vb::err::FileAlreadyOpen);
    const std::string real = resolve(path);
    if (path.empty() || isFolder(real))
        throw vb::Error(mode == OpenMode::Input ? vb::err::FileNotFound : vb::err::PathFileAccessError);
    if (mode != OpenMode::Input && !isFolder(parentOf(real))) throw vb::Error(vb::err::FolderNotFound);
    refuseHeldFile(real, path);
    auto e = std::make_unique<OpenFile>();
    e->mode = mode;
    if (mode == OpenMode::Input) {
        // Only a regular file: a pipe without a writer would stop the program at the first line.
        struct stat st;
        const int fd = openRegularForReading(real, st);
        e->f = ::fdopen(fd, "rb");
        if (!e->f) {
            const int failure = errno;
            ::close(fd);
            throw vb::Error(errorNumberFor(failure));
        }
    } else {
        const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == OpenMode::Output ? O_TRUNC : O_APPEND);
        e->fd = ::open(real.c_str(), flags, 0666);
        if (e->fd < 0) {
            const int number = errorNumberFor(errno);
            throw vb::Error(number == vb::err::FileNotFound ? vb::err::FolderNotFound : number);
        }
    }
    table()[fileNumber] = std::move(e);
}

void Print(int fileNumber, const std::string& text, bool endLine) {
    OpenFile& e = entry(fileNumber);
    if (e.mode == OpenMode::Input) throw vb::Error(vb::err::BadFileNameOrNumber);
    std::string out = text;
    if (endLine) out += "\r\n";
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t w = sys::write(e.fd, out.data() + done, out.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) throw vb::Error(writeErrorFor(w < 0 ? errno : ENOSPC));
        done += static_cast<size_t>(w);
    }
}

std::string LineInput(int fileNumber) {
    OpenFile& e = entry(fileNumber);
    if (e.mode != OpenMode::Input) throw vb::Error(vb::err::BadFileNameOrNumber);
    int c = std::fgetc(e.f);
    if (c == EOF) throw vb::Error(vb::err::InputPastEndOfFile);
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
    const int fd = it->second->fd;
    it->second->f = nullptr;
    it->second->fd = -1;
    table().erase(it);
    if (f) std::fclose(f);
    if (fd >= 0) {
        // What the disk could not keep is told now, not lost without a word.
        // (A device or pipe cannot be synced: EINVAL is no fault of the text.)
        int failure = sys::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
        if (::close(fd) != 0 && !failure) failure = errno;
        if (failure) throw vb::Error(writeErrorFor(failure));
    }
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
