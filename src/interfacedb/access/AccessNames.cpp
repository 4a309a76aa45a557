#include "interfacedb/access/AccessNames.h"

#include "diag/Utf8.h"

namespace vantrell::db::access {

namespace {

char32_t lowerCase(char32_t c) {
    const bool latin = (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    const bool greek = c >= 0x391 && c <= 0x3A9 && c != 0x3A2;
    const bool cyrillic = c >= 0x410 && c <= 0x42F;
    if (latin || greek || cyrillic) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    return c;
}

}  // namespace

std::string foldCase(std::string_view name) {
    std::string folded;
    folded.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const auto lead = static_cast<unsigned char>(name[i]);
        // Only one- and two-byte characters can be letters that fold; longer ones are copied.
        if (lead >= 0xC2 && lead <= 0xDF && i + 1 < name.size() &&
            (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80) {
            const char32_t c = (static_cast<char32_t>(lead & 0x1F) << 6) |
                               (static_cast<unsigned char>(name[i + 1]) & 0x3F);
            appendUtf8(folded, lowerCase(c));
            i += 2;
        } else {
            folded += static_cast<char>(lead < 0x80 ? lowerCase(lead) : lead);
            ++i;
        }
    }
    return folded;
}

}  // namespace vantrell::db::access
