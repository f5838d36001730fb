#pragma once

// Data files on a folder that other computers may share (NFS, SMB, a network FUSE mount).
//
// There SQLite's write-ahead log cannot work (its shared memory reaches no other computer), and
// the file system's byte-range locks may reach no other computer either (sshfs: never; NFS and
// SMB: depending on the mount). Such a file is opened through the VFS below: a rollback journal,
// no shared memory, no memory mapping, and one lock for the whole file that every computer sees:
// a folder "<file>.lock" that appears at once with a record inside naming computer, user,
// process and time (made under a name of its own and renamed into place, which no file system
// lets two computers do at once). It is held while any of SQLite's locks on the file is, so one
// computer reads or writes at a time; inside one process SQLite's own lock levels are kept as the
// unix VFS keeps them.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/db/engine.h"

namespace db::detail {

// Whether a file system of this statfs type (and, for FUSE, the type mountinfo gives, such as
// "fuse.sshfs" or "fuseblk") may be shared with other computers. A FUSE file system not known to
// be local counts as shared: slower there, but nothing is lost.
bool networkFileSystem(uint64_t statfsType, std::string_view mountType);
// The file system type of the mount of that device (major:minor) in /proc/self/mountinfo text;
// empty when none is listed.
std::string mountTypeOf(std::string_view mountinfo, unsigned major, unsigned minor);
// Where the file (or, when it does not exist yet, its folder) lies.
bool onSharedFolder(const std::string& path);

// The VFS for files on a shared folder.
const char* sharedFolderVfs();

// Who holds the lock of a data file on a shared folder; false when nobody does.
bool sharedLockHolder(const std::string& dataFile, LockHolder& holder);
// Removes the lock of a data file when it is still the one `holder` describes (another holder
// may have come meanwhile); true when it was removed or is gone.
bool takeOverSharedLock(const std::string& dataFile, const LockHolder& holder);
inline std::string describeHolder(const LockHolder& holder) { return holder.described(); }

}  // namespace db::detail
