#pragma once

#include <string>

#include "platform/vb/error.h"

namespace db {

// German description of an engine error number (falls back to the general table).
std::string errorText(int number);

// Raises vb::Error with the engine's description, optionally followed by a detail.
[[noreturn]] void raise(int number, const std::string& detail = "");
// The same with a description of its own, for a cause the number's standard text does not name.
[[noreturn]] void raiseText(int number, const std::string& description, const std::string& detail = "");

// The number of a failed write to a file: 3026 when the disk is full (SQLite's SQLITE_FULL, or an
// I/O error whose system error says so), 3043 for any other fault of the disk or the network.
int diskErrorNumber(int sqliteCode, int systemErrno);

}  // namespace db
