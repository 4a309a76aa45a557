#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrell::db {

// `text` made safe to stand between single quotes in a statement: each quote is doubled, so
// the text stays one literal whatever it holds.
std::string escapeSqlText(std::string_view text);

// `text` when it is a plain decimal integer (an optional minus sign and 1 to 10 digits that fit
// a 32-bit signed number), safe to place unquoted into a statement; nothing otherwise.
std::optional<std::string> plainDecimal(std::string_view text);

}  // namespace vantrell::db
