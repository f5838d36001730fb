#include "platform/files/held_files.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include <map>

#include "platform/files/paths.h"
#include "platform/vb/error.h"

namespace files {

namespace {

struct Held {
    // As the engine opened it, and with links resolved as SQLite resolves them: its side files
    // are found beside one of them.
    std::string path, real;
    dev_t dev = 0;
    ino_t ino = 0;
};

// Never destroyed: a connection closed from the exit handlers still lets go of its entry.
std::map<int, Held>& held() {
    static auto* h = new std::map<int, Held>;
    return *h;
}

bool statOf(const std::string& path, struct stat& st) { return ::stat(path.c_str(), &st) == 0; }

}  // namespace

int noteHeld(const std::string& path) {
    static int next = 1;
    Held h;
    h.path = path;
    if (char* r = ::realpath(path.c_str(), nullptr)) {
        h.real = r;
        std::free(r);
    }
    struct stat st;
    if (statOf(path, st)) {
        h.dev = st.st_dev;
        h.ino = st.st_ino;
    }
    const int id = next++;
    held()[id] = h;
    return id;
}

void letGo(int entry) { held().erase(entry); }

bool isHeldByDatabase(const std::string& path) {
    if (held().empty() || path.empty()) return false;
    struct stat st;
    if (!statOf(path, st) && !statOf(resolve(path), st)) return false;
    for (const auto& [id, h] : held()) {
        if (h.dev == st.st_dev && h.ino == st.st_ino) return true;
        // The side files come and go with the journal: looked at now, beside the file's name.
        for (const std::string* name : {&h.path, &h.real})
            for (const char* side : {"-wal", "-shm", "-journal"}) {
                struct stat s;
                if (!name->empty() && statOf(*name + side, s) && s.st_dev == st.st_dev && s.st_ino == st.st_ino)
                    return true;
            }
    }
    return false;
}

void refuseHeldFile(const std::string& path, const std::string& shown) {
    if (!isHeldByDatabase(path)) return;
    throw vb::Error(vb::err::PermissionDenied,
                    "Die Datei " + (shown.empty() ? path : shown) +
                        " ist als Datenbank geöffnet und wird deshalb hier weder gelesen noch beschrieben.");
}

}  // namespace files
