#include "standins/QbxmlProlog.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>

#include "standins/ProcessorError.h"

namespace vantrell::standins {

namespace {

// The versions a QuickBooks of the 13.0 generation lists as supported.
constexpr std::array<std::string_view, 16> kSupportedVersions = {
    "1.0", "1.1", "2.0", "2.1", "3.0",  "4.0",  "4.1",  "5.0",
    "6.0", "7.0", "8.0", "9.0", "10.0", "11.0", "12.0", "13.0"};

[[noreturn]] void parseError() {
    throw ProcessorError(ProcessorCode::ParseError);
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

void skipSpaces(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && isSpace(text[pos])) {
        ++pos;
    }
}

std::optional<std::string_view> readWord(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '\'' && text[pos] != '"') {
        ++pos;
    }
    if (pos == start) {
        return std::nullopt;
    }
    return text.substr(start, pos - start);
}

std::optional<std::string_view> readLiteral(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || (text[pos] != '\'' && text[pos] != '"')) {
        return std::nullopt;
    }
    const char quote = text[pos];
    const std::size_t end = text.find(quote, pos + 1);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view literal = text.substr(pos + 1, end - pos - 1);
    pos = end + 1;
    return literal;
}

// "N.N" with one or two digits before the point and one after.
bool isVersionText(std::string_view text) {
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || point == 0 || point > 2 || text.size() != point + 2) {
        return false;
    }
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
}

std::string versionFromDoctype(std::string_view text) {
    std::size_t pos = 0;
    skipSpaces(text, pos);
    if (readWord(text, pos) != "QBXML") {
        parseError();
    }
    skipSpaces(text, pos);
    if (readWord(text, pos) != "PUBLIC") {
        parseError();
    }
    skipSpaces(text, pos);
    const auto publicId = readLiteral(text, pos);
    if (!publicId) {
        parseError();
    }
    skipSpaces(text, pos);
    if (pos < text.size() && !readLiteral(text, pos)) {
        parseError();
    }
    skipSpaces(text, pos);
    if (pos != text.size()) {
        parseError();
    }
    constexpr std::string_view head = "-//INTUIT//DTD QBXML QBD ";
    constexpr std::string_view tail = "//EN";
    if (publicId->size() <= head.size() + tail.size() || publicId->substr(0, head.size()) != head ||
        publicId->substr(publicId->size() - tail.size()) != tail) {
        parseError();
    }
    const std::string_view version =
        publicId->substr(head.size(), publicId->size() - head.size() - tail.size());
    if (!isVersionText(version)) {
        parseError();
    }
    return std::string(version);
}

std::string versionFromInstruction(std::string_view text) {
    std::size_t pos = 0;
    skipSpaces(text, pos);
    if (text.substr(pos, 7) != "version") {
        parseError();
    }
    pos += 7;
    skipSpaces(text, pos);
    if (pos >= text.size() || text[pos] != '=') {
        parseError();
    }
    ++pos;
    skipSpaces(text, pos);
    const auto version = readLiteral(text, pos);
    skipSpaces(text, pos);
    if (!version || pos != text.size() || !isVersionText(*version)) {
        parseError();
    }
    return std::string(*version);
}

}  // namespace

std::string requestedQbxmlVersion(const pugi::xml_document& document) {
    std::optional<std::string> version;
    for (const auto& node : document.children()) {
        if (node.type() == pugi::node_element) {
            break;
        }
        const bool doctype = node.type() == pugi::node_doctype;
        const bool instruction =
            node.type() == pugi::node_pi && std::string_view(node.name()) == "qbxml";
        if (!doctype && !instruction) {
            continue;
        }
        if (version) {
            parseError();
        }
        version = doctype ? versionFromDoctype(node.value()) : versionFromInstruction(node.value());
    }
    if (!version) {
        parseError();
    }
    if (!isKnownQbxmlVersion(*version)) {
        throw ProcessorError(ProcessorCode::UnsupportedVersion);
    }
    return *version;
}

bool isKnownQbxmlVersion(const std::string& version) {
    return std::find(kSupportedVersions.begin(), kSupportedVersions.end(), version) !=
           kSupportedVersions.end();
}

bool versionAbove(const std::string& version, const std::string& limit) {
    int major = 0;
    int minor = 0;
    if (std::sscanf(limit.c_str(), "%d.%d", &major, &minor) != 2) {
        return false;
    }
    return versionAtLeast(version, major, minor + 1);
}

namespace {

// The numbers of a version written as requests write it, digits, ".", digits (at most four
// of each); nothing for any other text.
std::optional<std::pair<int, int>> plainVersion(std::string_view text) {
    int numbers[2] = {0, 0};
    int which = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == '.' && which == 0 && digits > 0) {
            which = 1;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 4) {
            numbers[which] = numbers[which] * 10 + (c - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (which == 0 || digits == 0) {
        return std::nullopt;
    }
    return std::pair(numbers[0], numbers[1]);
}

}  // namespace

bool versionAtLeast(const std::string& version, int major, int minor) {
    int have[2] = {0, 0};
    // Asked for every request of a message: the usual text is read without the scanner.
    if (const auto plain = plainVersion(version)) {
        have[0] = plain->first;
        have[1] = plain->second;
    } else if (std::sscanf(version.c_str(), "%d.%d", &have[0], &have[1]) != 2) {
        return false;
    }
    return have[0] > major || (have[0] == major && have[1] >= minor);
}

}  // namespace vantrell::standins
