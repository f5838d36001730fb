#pragma once

#include <string>

// The files the database engine holds open through SQLite. A descriptor of our own on such a file
// (or on its "-wal", "-shm" or "-journal") that is closed again would drop the process's locks on
// it, and a reader in another program would then take the live journal for a stale one. Whatever
// reads or writes a file through a descriptor of its own asks here first. Files are told apart by
// device and inode, so another spelling of the path, a symbolic or a hard link is the same file.
namespace files {

// The engine opened `path`; the number identifies the entry for letGo.
int noteHeld(const std::string& path);
void letGo(int entry);

// True when `path` is a file the engine holds, or the journal or shared-memory file of one. Only
// stat is used: no descriptor is opened.
bool isHeldByDatabase(const std::string& path);

// 70 with a reason that says why, when the file is held by the engine; `shown` names it.
void refuseHeldFile(const std::string& path, const std::string& shown = "");

}  // namespace files
