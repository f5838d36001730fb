#pragma once

#include <string>

// Texts in the old single-byte code pages (installation files written under DOS or Windows) to and
// from the UTF-8 strings the programs use.
namespace vb {

enum class CodePage { Dos437, Dos850, Windows1252 };

// Bytes in the code page to UTF-8. Windows-1252 positions without a character (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the control characters of the same number, as Windows converts them.
std::string toUtf8(const std::string& bytes, CodePage cp);

// UTF-8 to bytes of the code page; a character the code page lacks becomes "?".
std::string fromUtf8(const std::string& text, CodePage cp);

// The introduction text's conversion: the seven DOS bytes of the umlauts and sharp s (148 ö, 129 ü,
// 132 ä, 225 ß, 154 Ü, 153 Ö, 142 Ä) become those letters, every other byte is read as Windows-1252.
std::string dosUmlautsToUtf8(const std::string& bytes);

}  // namespace vb
