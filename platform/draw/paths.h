#pragma once

#include <string>

namespace draw {

// A path as the programs build it ("\" between the parts) in the form of this system ("/").
std::string nativePath(const std::string& path);

// The path of an existing file whose name matches `path` when case is ignored (the installed
// names and the names the programs ask for may differ in case); `path` itself when nothing
// matches, so the caller reports the missing file under the name it asked for.
std::string existingPath(const std::string& path);

}  // namespace draw
