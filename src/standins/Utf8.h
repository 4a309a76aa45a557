#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrell::standins {

// The code points of UTF-8 text, or nothing when the bytes are not well-formed UTF-8
// (overlong forms, surrogates and values above U+10FFFF included).
std::optional<std::u32string> decodeUtf8(std::string_view text);

// The code point whose UTF-8 bytes start at text[pos], moving pos past them; nothing (and pos
// unmoved) when the bytes there are not well-formed UTF-8. Walks long text without a copy.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos);

// The code points as UTF-8. Expects code points that UTF-8 can hold (below U+110000, no
// surrogates), as decodeUtf8 gives them; never throws.
std::string encodeUtf8(std::u32string_view codePoints);

// True for the characters an XML 1.0 document may hold.
bool isXmlChar(char32_t c);

// The number of characters of UTF-8 text (its code points); text that is not UTF-8 counts
// its bytes.
std::size_t characterCount(std::string_view text);

// The first `count` characters of UTF-8 text.
std::string firstCharacters(std::string_view text, std::size_t count);

// The text with ASCII capitals made small, for comparisons that ignore letter case the way the
// company file's names do.
std::string asciiLower(std::string_view text);

}  // namespace vantrell::standins
