#pragma once

// Faults of the disk, as SQLite tests its own handling of them: the n-th write, truncation or sync
// the program makes from a given moment on fails, with ENOSPC (a full disk: that write and every
// later one fail, and the disk tells of no free space, until the faults are switched off; a
// truncation never fails for want of space, so the disk fills at the next write) or with EIO (an
// I/O error: that call only).
//
// Writes are SQLite's system calls "write", "pwrite", "pwrite64", "ftruncate" and "fallocate",
// replaced through xSetSystemCall beside the engine's own replacements, and the calls through which
// the program writes its own files (files::sys). SQLite does not let its fsync be replaced; its
// syncs are failed by a VFS of the tests that lies over the default one, passes everything else
// through and fails xSync as SQLite's own would (SQLITE_IOERR_FSYNC, with errno set).
//
// Apart from these, a disk that cannot read: the n-th of SQLite's reads ("read", "pread",
// "pread64") from a given moment on fails with EIO, that read only. Reads are counted and failed
// only while armed for them, and never count as writes.

#include <string>

namespace support {

class DiskFaults {
public:
    // Puts the replacements in place once; until armed, every call passes through. The VFS counts
    // only files opened afterwards: install before the program opens its first database.
    static void install();

    // From now on counts writes, truncations and syncs, failing none.
    static void count();
    // From now on the n-th write, truncation or sync (counted from 1) fails with `error` (ENOSPC or
    // EIO), as described above.
    static void failAt(long n, int error);
    // From now on counts reads, failing none.
    static void countReads();
    // From now on the n-th read (counted from 1) fails with EIO.
    static void failReadAt(long n);
    // Stops counting and failing, writes and reads.
    static void off();

    // Writes, truncations and syncs since count() or failAt().
    static long counted();
    // Whether the armed fault happened.
    static bool hit();
    // Reads since countReads() or failReadAt(), and whether the armed read fault happened.
    static long readsCounted();
    static bool readHit();
    // The file whose read failed, as its descriptor named it then ("" when none failed).
    static std::string failedReadFile();
};

}  // namespace support
