#pragma once

#include <string>
#include <string_view>

namespace vantrell::db::access {

// `name` with its letters in one case, so that names that Access holds to be the same (it
// matches them without regard to case) compare equal: ASCII, Latin-1, Greek and Cyrillic
// letters are folded; other text is kept as it is.
std::string foldCase(std::string_view name);

}  // namespace vantrell::db::access
