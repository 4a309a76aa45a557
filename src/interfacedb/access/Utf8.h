#pragma once

#include <string>

namespace vantrell::db::access {

// Appends the character `c` to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t c);

}  // namespace vantrell::db::access
