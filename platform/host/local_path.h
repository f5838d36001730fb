#pragma once

#include <string>

namespace forms {

// A path as the programs write it ("C:"-free, "\" or "/") made usable here: backslashes become
// slashes and each existing component is matched without regard to case, as the programs
// expect of their file names. Components that do not exist are kept as given.
std::string resolveLocalPath(const std::string& path);

}  // namespace forms
