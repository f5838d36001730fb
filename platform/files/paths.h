#pragma once

#include <string>

// Paths as the programs write them ("C:\…"-style backslashes, folders upper-cased by UCase, names
// in a case other than on disk) reaching the right file on a case-sensitive file system.
namespace files {

// Backslashes become slashes, repeated separators collapse, and every component that exists is
// matched without regard to case and written as it is on disk (an exact match wins; among several
// case variants the first in byte order). From the first component that exists in no case on, the
// rest is kept as given. A relative path stays relative (resolved against the current folder).
std::string resolve(const std::string& windowsPath);

// The folder of the running executable, without a trailing separator.
std::string programFolder();
// Tests and tools may fix it; an empty text goes back to the executable's folder.
void setProgramFolder(const std::string& folder);

// a & "\" & b with one separator between them, whatever either side brings; "/" throughout.
std::string joinPath(const std::string& a, const std::string& b);

// The name after the last separator.
std::string fileName(const std::string& path);

// True when a regular file (not a folder) exists under the path, found without regard to case.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Dir$: the file's name as it is on disk when the file exists, else "".
std::string Dir(const std::string& path);

// Delete a file (a read-only one too). Missing or a folder: 53; not allowed: 70; other failures: 75.
void Kill(const std::string& path);

// Copy a file byte for byte, replacing the target. The target is written beside itself first and
// then put in place, so a failed copy leaves any earlier target whole. Source missing: 53; target
// folder missing: 76; source and target the same file: 70 (nothing is touched); not allowed: 70;
// other failures: 75.
void FileCopy(const std::string& source, const std::string& target);
// The same, but the copy is a file of its own, with the permissions a new file takes under the
// umask (a user's copy of an installation's file), not the source's.
void copyAsNewFile(const std::string& source, const std::string& target);

// Copies what is left to read of descriptor `in` into `out`: 0, or the errno of the read or write
// that failed.
int copyAll(int in, int out);

// Files that are written beside their target and take its place only when complete carry names
// of this form: ".<name>.<host>-<pid>-<n>.zuvtmp". After a crash they are recognisable as ours.
// The name is new (no such file exists); nothing is created.
std::string tempNameBeside(const std::string& target);

// True for a name made by tempNameBeside, also with SQLite's "-journal", "-wal" or "-shm" behind it.
bool isTempName(const std::string& name);

// Removes from `folder` the temporary files that a program killed while writing left behind:
// names of tempNameBeside (and their SQLite side files) of a process of this machine that no
// longer runs, or of another machine and older than a day. Returns how many it removed; nothing
// it meets raises.
int removeStaleTempFiles(const std::string& folder);

// Puts a completely written file in the place of `target`: replacing an existing target in one
// step, keeping the target's permissions, or (replace false) only where none exists (58 otherwise,
// and `from` stays). The folder is
// synced so that the new name survives a power cut. Failures: 70, 75, 61 as for FileCopy.
void moveIntoPlace(const std::string& from, const std::string& target, bool replace);

// Writes the file's data to the disk (fsync); 61 when the disk is full, 57 for an I/O error, 75 otherwise.
void syncFile(const std::string& path);

// Two paths name the same file: the same file on disk when both exist, otherwise the resolved
// paths compared without regard to case.
bool samePath(const std::string& a, const std::string& b);

}  // namespace files
