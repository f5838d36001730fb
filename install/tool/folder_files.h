#pragma once

#include <string>

namespace install {

// "Zuv50.ini": the program folder as data folder, the workgroup file, no recent files yet.
void writeIniFile(const std::string& folder);

// "zuvinfo.txt" from the UTF-8 source, in DOS code page 850 with CR LF line ends. The program
// converts only the umlauts and sharp s back, so any other character beyond ASCII in the source
// is refused rather than shown wrongly.
void writeIntroduction(const std::string& source, const std::string& folder);

// A help file: an SQLite database with the table topics(path, title, html).
void writeHelpFile(const std::string& source, const std::string& path);

}  // namespace install
