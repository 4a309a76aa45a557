#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantrell {

// Appends the character `c` to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t c);

// The character whose UTF-8 bytes start at text[pos], moving pos past them; nothing (pos
// unmoved) when the bytes there are not well-formed UTF-8 (overlong forms, surrogates and
// values past U+10FFFF included). pos must be below text.size().
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos);

// The offset of the first byte of `text` that does not belong to well-formed UTF-8, or nothing.
// Runs of ASCII, most of any answer, are passed eight bytes at a time.
std::optional<std::size_t> firstInvalidUtf8(std::string_view text);

// True when `text` is UTF-8 and holds only characters an XML 1.0 document may hold.
bool isXmlText(std::string_view text);

// The characters of UTF-8 text, or nothing when the bytes are not well-formed UTF-8.
std::optional<std::u32string> decodeUtf8(std::string_view text);

// The characters in UTF-8. Expects characters that UTF-8 can hold (below U+110000, no
// surrogates), as decodeUtf8 gives them; never throws.
std::string encodeUtf8(std::u32string_view characters);

// True for the characters an XML 1.0 document may hold.
bool isXmlChar(char32_t c);

// The number of characters of UTF-8 text; text that is not UTF-8 counts its bytes.
std::size_t characterCount(std::string_view text);

// The first `count` characters of UTF-8 text, never splitting one; of text that is not UTF-8,
// the first `count` bytes.
std::string firstCharacters(std::string_view text, std::size_t count);

// The text with ASCII capitals made small: the accounting system's names are unique without
// regard to (ASCII) letter case.
std::string asciiLower(std::string_view text);

// True when the texts are the same but for ASCII letter case.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// A hash of the text with ASCII capitals made small: texts that equalsIgnoringAsciiCase takes
// for the same hash alike.
std::size_t asciiCaselessHash(std::string_view text);

}  // namespace vantrell
