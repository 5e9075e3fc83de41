#pragma once
// Small UTF-8 helpers for text that the program stores in INI files and shows as names.
#include <cstddef>
#include <string>
#include <string_view>

namespace zq::platform {

// Length in bytes of the well-formed UTF-8 sequence at the start of text, or 0 when it is not one
// (a stray continuation byte, a truncated or overlong sequence, a surrogate, a value above U+10FFFF).
std::size_t utf8SequenceLength(std::string_view text);

bool isValidUtf8(std::string_view text);

// The first maxChars characters of text. A character is one code point; a byte that starts no
// well-formed sequence counts as one character of its own, so the cut never splits a sequence.
std::string_view cutToCharacters(std::string_view text, std::size_t maxChars);

// ASCII-only case folding: names the program compares (sections, keys, file names) are matched like
// this; letters outside ASCII compare as they are.
std::string asciiLower(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Blanks are spaces and tabs, as in the INI files.
std::string_view trimBlanks(std::string_view text);

} // namespace zq::platform
