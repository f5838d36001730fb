#pragma once

#include <string>
#include <vector>

// The folders of the user's own that a program writes into where its installation folder is
// closed to it (an administrator's installation under /opt), private temporary folders, and the
// permissions a new file takes.
namespace files {

// True when this process may make and replace files in `folder` (write and search permission, on a
// file system that is not mounted read-only). A missing folder is not writable.
bool folderWritable(const std::string& folder);

// The desktop's folders for a program's settings and data: $XDG_CONFIG_HOME and $XDG_DATA_HOME
// (by default ~/.config and ~/.local/share) with the subfolder `program`. A relative value of
// either variable counts as unset, as the desktop's rules say. Nothing is created.
std::string userConfigFolder(const std::string& program);
std::string userDataFolder(const std::string& program);

// Makes the folder and any missing folders above it, each new one private (0700). Raises 76 with
// the folder's name when it cannot be made.
void makeOwnFolder(const std::string& folder);

// The permissions a new file takes under the process's umask (0666 less the umask).
unsigned newFileMode();

// A new private folder in the temporary folder ($TMPDIR, else /tmp): mode 0700, named
// "<prefix><pid>-<random>" so that no other account can take its place beforehand. Raises 75 with
// the folder's name when none can be made.
std::string makePrivateTempFolder(const std::string& prefix);

// Removes the named files of a folder that makePrivateTempFolder made, then the folder itself.
// Nothing else in it is touched: a folder holding more than those files stays.
void removePrivateTempFolder(const std::string& folder, const std::vector<std::string>& names);

// Removes what killed programs left of their private temporary folders: folders of the prefix,
// owned by this account, whose process no longer runs; only the named files in them. Returns how
// many folders went.
int removeStalePrivateTempFolders(const std::string& prefix, const std::vector<std::string>& names);

}  // namespace files
