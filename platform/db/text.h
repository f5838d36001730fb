#pragma once

#include <string>
#include <string_view>

namespace db::detail {

// Names of tables and fields compare without regard to case (Unicode case folding).
bool sameName(std::string_view a, std::string_view b);
std::string foldName(std::string_view s);

// The sort order of text in ORDER BY: letters without regard to case, umlauts with their base
// letters (ä = a, ß = ss); ties broken by accents, then by case, then by bytes.
int compareGerman(std::string_view a, std::string_view b);

// Bytes whose order (as memcmp orders them, the shorter first where one begins the other) is the
// order compareGerman gives the texts.
std::string germanSortKey(std::string_view text);

// Number of characters of UTF-8 text.
size_t charCount(std::string_view s);

// Jet LIKE: * any text, ? one character, # one digit, [abc] [!a-z] character lists; without
// regard to case.
bool jetLike(std::string_view text, std::string_view pattern);

// A path as the programs write it ("\" or "/"), resolved without regard to case against the
// names that exist. The last part may be missing (a file to create).
std::string resolvePath(const std::string& path);

}  // namespace db::detail
