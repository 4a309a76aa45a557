#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace vantrell::standins {

// Loads `text` into `document` as a conforming XML parser would, refusing what pugixml alone
// lets through: text that is not UTF-8 or holds characters XML forbids, an unknown entity
// reference, "<" in an attribute value, a repeated attribute, a declaration that is not at the
// very start, a document type declaration after the root or with an internal subset, text or
// a second element beside the root, no root at all. Returns "" on success, otherwise why the
// text was refused. Comments are dropped; processing instructions and the document type
// declaration are kept as nodes of the document; an element keeps its first text as its own
// value (pugixml's embedded character data) rather than as a child node.
std::string loadStrictXml(pugi::xml_document& document, std::string_view text);

}  // namespace vantrell::standins
