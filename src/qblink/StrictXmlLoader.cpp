#include "qblink/StrictXmlLoader.h"

#include <algorithm>
#include <cstdint>

#include "diag/Utf8.h"
#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

std::string reasonAt(std::string_view reason, std::ptrdiff_t offset) {
    return std::string(reason) + " at offset " + std::to_string(offset);
}

// The offset of a control character, or of a character reference to one, that XML forbids.
// pugixml lets both through, and a reference to character 0 would end a name early, so that
// "Bob&#0;x" would read as "Bob" and reach another row.
std::optional<std::size_t> forbiddenCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 && !isXmlChar(c)) {
            return i;
        }
        if (c != '&' || i + 2 >= text.size() || text[i + 1] != '#') {
            continue;
        }
        const bool hex = text[i + 2] == 'x';
        std::uint32_t value = 0;
        std::size_t j = i + (hex ? 3 : 2);
        for (; j < text.size(); ++j) {
            const char d = text[j];
            std::uint32_t digit = 0;
            if (d >= '0' && d <= '9') {
                digit = static_cast<std::uint32_t>(d - '0');
            } else if (hex && ((d >= 'a' && d <= 'f') || (d >= 'A' && d <= 'F'))) {
                digit = static_cast<std::uint32_t>((d | 0x20) - 'a' + 10);
            } else {
                break;
            }
            // Past the last character the value stays out of range: pugixml would wrap it.
            value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
        }
        if (j < text.size() && text[j] == ';' && !isXmlChar(value)) {
            return i;
        }
    }
    return std::nullopt;
}

// After parsing: the result, text outside the root, and the number of root elements.
std::optional<std::string> refusedTree(const pugi::xml_document& document,
                                       const pugi::xml_parse_result& result, std::size_t size) {
    if (!result) {
        return reasonAt(result.description(), result.offset);
    }
    int elements = 0;
    for (const pugi::xml_node& node : document.children()) {
        if (isTextNode(node)) {
            return reasonAt("Invalid at the top level of the document", node.offset_debug());
        }
        if (node.type() == pugi::node_element && ++elements == 2) {
            return reasonAt("Only one top level element is allowed in an XML document",
                            node.offset_debug());
        }
    }
    if (elements == 0) {
        return reasonAt("No document element found", static_cast<std::ptrdiff_t>(size));
    }
    return std::nullopt;
}

}  // namespace

// What the parser lets through but the strict loader refuses, before parsing: bytes that are
// not UTF-8 (overlong forms, surrogates and values past U+10FFFF included), which would reach
// the stage as they are, where every other reader of the file fails on them; and forbidden
// characters.
std::optional<std::string> refusedXmlText(std::string_view text) {
    if (const auto offset = firstInvalidUtf8(text)) {
        return reasonAt("The text is not UTF-8", static_cast<std::ptrdiff_t>(*offset));
    }
    if (const auto offset = forbiddenCharacter(text)) {
        return reasonAt("An invalid character was found in text content",
                        static_cast<std::ptrdiff_t>(*offset));
    }
    return std::nullopt;
}

std::optional<std::string> loadXmlStrict(pugi::xml_document& document, std::string_view text) {
    if (auto refused = refusedXmlText(text)) {
        document.reset();
        return refused;
    }
    const pugi::xml_parse_result result =
        document.load_buffer(text.data(), text.size(), kStrictParseOptions);
    return refusedTree(document, result, text.size());
}

std::optional<std::string> loadXmlStrictInPlace(pugi::xml_document& document, std::string& text) {
    if (auto refused = refusedXmlText(text)) {
        document.reset();
        return refused;
    }
    const std::size_t size = text.size();
    const pugi::xml_parse_result result =
        document.load_buffer_inplace(text.data(), text.size(), kStrictParseOptions);
    return refusedTree(document, result, size);
}

}  // namespace vantrell
