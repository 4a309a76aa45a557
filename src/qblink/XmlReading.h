#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace vantrell {

// The options the strict loaders parse with. As a fragment, text outside the root stays in the
// tree, where it can be refused; whitespace there is dropped as the default options drop it
// everywhere. An element keeps its first text as its own value instead of a node of its own: a
// large answer's tree is then about half the size.
inline constexpr unsigned kStrictParseOptions =
    pugi::parse_default | pugi::parse_fragment | pugi::parse_embed_pcdata;

// What the strict loaders refuse before parsing: text that is not UTF-8, and characters (or
// references to characters) that XML forbids. The reason with its offset, or nothing.
std::optional<std::string> refusedXmlText(std::string_view text);

// Loads `text` into `document` as a strict loader does: empty text, text that is not UTF-8 or
// not well-formed, two root elements and text outside the root are refused. Returns nothing on
// success, otherwise the reason with the offset where the load failed. An element keeps its
// first text as its own value (pugixml's embedded character data): read text with
// elementText(), or value() for an element without children.
std::optional<std::string> loadXmlStrict(pugi::xml_document& document, std::string_view text);

// The same without a copy of a large text: the document is parsed where `text` lies, which it
// changes; `text` must outlive `document`.
std::optional<std::string> loadXmlStrictInPlace(pugi::xml_document& document, std::string& text);

// Every element below `root` (the root itself excluded) whose tag is exactly `tag`, in document
// order. One pass, without recursion, so any size and depth of document is walked.
std::vector<pugi::xml_node> elementsByTagName(const pugi::xml_node& root, std::string_view tag);

// The text content of a node: all text and CDATA below it, in document order.
std::string elementText(const pugi::xml_node& node);

}  // namespace vantrell
