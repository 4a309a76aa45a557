#include "diag/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vantrell {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, c = lead & 0x1FU, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, c = lead & 0x0FU, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, c = lead & 0x07U, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0U) != 0x80) {
            return std::nullopt;
        }
        c = (c << 6) | (byte(pos + i) & 0x3FU);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += length;
    return c;
}

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Past the run of ASCII bytes that starts at `pos`.
std::size_t pastAscii(std::string_view text, std::size_t pos) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (pos + 8 <= text.size()) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, text.data() + pos, 8);
        if ((eight & kHighBits) != 0) {
            break;
        }
        pos += 8;
    }
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80) {
        ++pos;
    }
    return pos;
}

}  // namespace

std::optional<std::size_t> firstInvalidUtf8(std::string_view text) {
    for (std::size_t pos = pastAscii(text, 0); pos < text.size(); pos = pastAscii(text, pos)) {
        if (!nextCodePoint(text, pos)) {
            return pos;
        }
    }
    return std::nullopt;
}

bool isXmlText(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte >= 0x20 && byte < 0x80) {
            ++pos;
            continue;
        }
        const auto c = nextCodePoint(text, pos);
        if (!c || !isXmlChar(*c)) {
            return false;
        }
    }
    return true;
}

std::optional<std::u32string> decodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = nextCodePoint(text, i);
        if (!c) {
            return std::nullopt;
        }
        out.push_back(*c);
    }
    return out;
}

std::string encodeUtf8(std::u32string_view characters) {
    std::string out;
    out.reserve(characters.size());
    for (const char32_t c : characters) {
        appendUtf8(out, c);
    }
    return out;
}

bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        if (!nextCodePoint(text, i)) {
            return text.size();
        }
    }
    return count;
}

std::string firstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    std::size_t taken = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (!nextCodePoint(text, i)) {
            return std::string(text.substr(0, count));
        }
        if (++taken == count) {
            end = i;
        }
    }
    return taken <= count ? std::string(text) : std::string(text.substr(0, end));
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = lowerAscii(c);
    }
    return out;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return x == y || lowerAscii(x) == lowerAscii(y); });
}

std::size_t asciiCaselessHash(std::string_view text) {
    // FNV-1a over the small letters.
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(lowerAscii(c))) * 1099511628211ULL;
    }
    return static_cast<std::size_t>(hash);
}

}  // namespace vantrell
