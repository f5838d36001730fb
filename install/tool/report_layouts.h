#pragma once

#include <string>
#include <vector>

namespace install {

// The report layouts: every "*.rpt" source of `sourceFolder` is read with the report engine's own
// reader (a layout it refuses stops the build with its reason) and written into `folder`.
// Returns the names written.
std::vector<std::string> writeReportLayouts(const std::string& sourceFolder, const std::string& folder);

}  // namespace install
