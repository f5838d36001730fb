#pragma once

#include <cstddef>
#include <string>

// Small helpers for walking UTF-8 text by characters. Bytes that are not valid UTF-8 are kept:
// a stray byte counts as a character of its own, so slicing never loses data.
namespace vb::utf8 {

// Byte offset of character `index` (0-based); the text's size when index is at or past the end.
size_t offsetOf(const std::string& s, size_t index);

size_t length(const std::string& s);

// Decodes the character starting at byte `pos` and advances `pos` past it. Invalid bytes come back
// as their own value with `valid` false.
char32_t next(const std::string& s, size_t& pos, bool* valid = nullptr);

void append(std::string& out, char32_t c);

}  // namespace vb::utf8
