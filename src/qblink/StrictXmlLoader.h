#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace vantrell {

// The options the strict loader parses with. As a fragment, text outside the root stays in the
// tree, where it can be refused; whitespace there is dropped as the default options drop it
// everywhere. An element keeps its first text as its own value instead of a node of its own: a
// large answer's tree is then about half the size.
inline constexpr unsigned kStrictParseOptions =
    pugi::parse_default | pugi::parse_fragment | pugi::parse_embed_pcdata;

// What the strict loader refuses in `text` before parsing it: text that is not UTF-8, and
// characters (or references to characters) that XML forbids. Returns nothing when the text
// passes, otherwise the reason with its offset. Throws only std::bad_alloc.
std::optional<std::string> refusedXmlText(std::string_view text);

// Loads `text` into `document`: empty text, text that is not UTF-8 or not well-formed, two root
// elements and text outside the root are refused. Returns nothing on success, otherwise the
// reason with the offset where the load failed (the document then holds what was read, if
// anything). An element keeps its first text as its own value (pugixml's embedded character
// data): read text with elementText(), or value() for an element without children. Throws only
// std::bad_alloc.
std::optional<std::string> loadXmlStrict(pugi::xml_document& document, std::string_view text);

// The same without a copy of a large text: the document is parsed where `text` lies, which it
// changes; `text` must outlive `document`.
std::optional<std::string> loadXmlStrictInPlace(pugi::xml_document& document, std::string& text);

}  // namespace vantrell
