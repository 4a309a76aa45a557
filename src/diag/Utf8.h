#pragma once

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

}  // namespace vantrell
