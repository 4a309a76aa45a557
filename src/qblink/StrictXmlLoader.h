#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace vantrell {

// The options the strict loader parses with. As a fragment, text outside the root stays in the
// tree, where it can be refused; whitespace there is dropped as the default options drop it
// everywhere. The declaration and the document type declaration are read as nodes, so that
// their places can be checked (pugixml refuses either inside an element). An element keeps its
// first text as its own value instead of a node of its own: a large answer's tree is then about
// half the size.
inline constexpr unsigned kStrictParseOptions = pugi::parse_default | pugi::parse_fragment |
                                                pugi::parse_embed_pcdata | pugi::parse_declaration |
                                                pugi::parse_doctype;

// What the strict loader checks beyond what pugixml checks itself.
enum class XmlChecks {
    // What the link reads the accounting system's answers with. Refused: text that is not
    // UTF-8, control characters and character references to characters that XML forbids, text
    // that is not well-formed, no root element, a second one, and text outside it (any byte
    // after the root included), a declaration that is not at the very start, a document type
    // declaration with an internal subset, after the root or twice, and a declaration of an
    // encoding other than UTF-8 over text that does not read alike in it. A leading byte order
    // mark is dropped and the rest read as UTF-8; a declaration, processing instructions, a
    // document type declaration and comments are not kept as nodes of the document.
    WellFormed,
    // What the simulator reads requests with, refusing as a conforming XML parser would. Also
    // refused: any character that XML forbids, an unknown or malformed reference (outside
    // comments, CDATA sections, processing instructions and the document type declaration),
    // "<" in an attribute value, a repeated attribute, a declaration that is not at the very
    // start, and a document type declaration after the root, twice or with an internal subset.
    // A leading byte order mark is dropped and the rest read as UTF-8; processing instructions
    // and the document type declaration are kept as nodes of the document, comments dropped.
    Conforming,
};

// What loadXmlStrict with the WellFormed checks refuses in `text` before parsing it: text that
// is not UTF-8, and characters (or references to characters) that XML forbids. Returns nothing
// when the text passes, otherwise the reason with its offset. Throws only std::bad_alloc.
std::optional<std::string> refusedXmlText(std::string_view text);

// Loads `text` into `document`, refusing what `checks` refuses; empty text is always refused.
// Returns nothing on success, otherwise the reason, with the offset where the load failed when
// there is one (the document then holds what was read, if anything). An element keeps its first
// text as its own value (pugixml's embedded character data): read text with elementText(), or
// value() for an element without children. Throws only std::bad_alloc.
std::optional<std::string> loadXmlStrict(pugi::xml_document& document, std::string_view text,
                                         XmlChecks checks = XmlChecks::WellFormed);

// Loads as loadXmlStrict does with the WellFormed checks, without a copy of a large text: the
// document is parsed where `text` lies, which it changes (a byte is added at its end for the
// parser's terminator); `text` must outlive `document`.
std::optional<std::string> loadXmlStrictInPlace(pugi::xml_document& document, std::string& text);

}  // namespace vantrell
