#include "standins/StrictXml.h"

#include <set>

#include "diag/Utf8.h"

namespace vantrell::standins {

namespace {

bool startsWith(std::string_view text, std::size_t pos, std::string_view prefix) {
    return text.substr(pos, prefix.size()) == prefix;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Checks the reference that begins with the "&" at `pos`; returns its length or 0.
std::size_t referenceLength(std::string_view text, std::size_t pos) {
    for (const std::string_view name : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
        if (startsWith(text, pos, name)) {
            return name.size();
        }
    }
    std::size_t i = pos + 1;
    if (i >= text.size() || text[i] != '#') {
        return 0;
    }
    ++i;
    const bool hex = i < text.size() && text[i] == 'x';
    if (hex) {
        ++i;
    }
    std::uint32_t value = 0;
    const std::size_t digits = i;
    while (i < text.size() && (hex ? isHexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9'))) {
        const char c = text[i];
        const std::uint32_t digit = c <= '9' ? static_cast<std::uint32_t>(c - '0')
                                             : static_cast<std::uint32_t>((c | 0x20) - 'a' + 10);
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF) {
            return 0;
        }
        ++i;
    }
    if (i == digits || i >= text.size() || text[i] != ';' || !isXmlChar(value)) {
        return 0;
    }
    return i + 1 - pos;
}

// Where the lexical check of a text stands.
struct Scan {
    std::string_view text;
    std::size_t pos = 0;
};

// Moves past the reference that begins at the "&" in hand; or says why it is refused.
std::string skipReference(Scan& scan) {
    const std::size_t length = referenceLength(scan.text, scan.pos);
    if (length == 0) {
        return "unknown or malformed reference at offset " + std::to_string(scan.pos);
    }
    scan.pos += length;
    return {};
}

// Moves past the first `end` from the position in hand; false when the text holds none.
bool skipTo(Scan& scan, std::string_view end) {
    const std::size_t found = scan.text.find(end, scan.pos);
    if (found == std::string_view::npos) {
        return false;
    }
    scan.pos = found + end.size();
    return true;
}

// Moves past the processing instruction in hand, refusing an XML declaration that does not
// open the text.
std::string skipProcessingInstruction(Scan& scan) {
    const std::string_view text = scan.text;
    const std::size_t pos = scan.pos;
    if (startsWith(text, pos, "<?xml") && pos != 0 &&
        (pos + 5 >= text.size() || text[pos + 5] == ' ' || text[pos + 5] == '?')) {
        return "XML declaration not at the start of the text";
    }
    return skipTo(scan, "?>") ? std::string() : "unterminated processing instruction";
}

// Moves past the document type declaration in hand, refusing one with an internal subset.
std::string skipDocumentType(Scan& scan) {
    const std::string_view text = scan.text;
    // Quoted literals may hold any character; an internal subset is not read.
    std::size_t i = scan.pos + 9;
    char literal = 0;
    while (i < text.size() && (literal || text[i] != '>')) {
        if (literal) {
            literal = text[i] == literal ? 0 : literal;
        } else if (text[i] == '\'' || text[i] == '"') {
            literal = text[i];
        } else if (text[i] == '[') {
            return "document type declaration with an internal subset";
        }
        ++i;
    }
    if (i >= text.size()) {
        return "unterminated document type declaration";
    }
    scan.pos = i + 1;
    return {};
}

// Moves past the rest of a start or end tag, from after its "<" to after its ">" (or to the
// end of the text), refusing "<" and unknown references in its attribute values.
std::string skipTag(Scan& scan) {
    char quote = 0;
    while (scan.pos < scan.text.size()) {
        const char c = scan.text[scan.pos];
        if (quote == 0 && c == '>') {
            ++scan.pos;
            return {};
        }
        if (quote != 0 && c == '<') {
            return "\"<\" in an attribute value at offset " + std::to_string(scan.pos);
        }
        if (quote != 0 && c == '&') {
            if (auto problem = skipReference(scan); !problem.empty()) {
                return problem;
            }
            continue;
        }
        if (c == quote) {
            quote = 0;
        } else if (quote == 0 && (c == '"' || c == '\'')) {
            quote = c;
        }
        ++scan.pos;
    }
    return {};
}

// Moves past the markup that begins at the "<" in hand: a comment, a CDATA section, a
// processing instruction, a document type declaration or a tag.
std::string skipMarkup(Scan& scan) {
    if (startsWith(scan.text, scan.pos, "<!--")) {
        return skipTo(scan, "-->") ? std::string() : "unterminated comment";
    }
    if (startsWith(scan.text, scan.pos, "<![CDATA[")) {
        return skipTo(scan, "]]>") ? std::string() : "unterminated CDATA section";
    }
    if (startsWith(scan.text, scan.pos, "<?")) {
        return skipProcessingInstruction(scan);
    }
    if (startsWith(scan.text, scan.pos, "<!DOCTYPE")) {
        return skipDocumentType(scan);
    }
    ++scan.pos;
    return skipTag(scan);
}

// What pugixml does not check about the characters of the text: references, "<" inside
// attribute values, and where a declaration or document type declaration may stand.
std::string lexicalProblem(std::string_view text) {
    Scan scan{text};
    while (scan.pos < text.size()) {
        std::string problem;
        if (text[scan.pos] == '&') {
            problem = skipReference(scan);
        } else if (text[scan.pos] == '<') {
            problem = skipMarkup(scan);
        } else {
            ++scan.pos;
        }
        if (!problem.empty()) {
            return problem;
        }
    }
    return {};
}

// Walks the tree without recursion, so that deep nesting cannot exhaust the stack.
std::string repeatedAttribute(const pugi::xml_node& root) {
    pugi::xml_node node = root;
    while (node) {
        std::set<std::string_view> names;
        for (const auto& attribute : node.attributes()) {
            if (!names.insert(attribute.name()).second) {
                return std::string("repeated attribute ") + attribute.name() + " on " + node.name();
            }
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != root && !node.next_sibling()) {
            node = node.parent();
        }
        node = node == root ? pugi::xml_node() : node.next_sibling();
    }
    return {};
}

}  // namespace

std::string loadStrictXml(pugi::xml_document& document, std::string_view text) {
    document.reset();
    if (startsWith(text, 0, "\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    // Checked in place: a whole message decoded at once would take four bytes per character.
    if (firstInvalidUtf8(text)) {
        return "the text is not UTF-8";
    }
    if (!isXmlText(text)) {
        return "the text holds a character that XML does not allow";
    }
    if (auto problem = lexicalProblem(text); !problem.empty()) {
        return problem;
    }
    // As a fragment, pugixml keeps text beside the root as nodes, so that it can be refused. An
    // element keeps its first text as its own value: a large message's tree is then much smaller.
    const auto result =
        document.load_buffer(text.data(), text.size(),
                             pugi::parse_default | pugi::parse_declaration | pugi::parse_doctype |
                                 pugi::parse_pi | pugi::parse_fragment | pugi::parse_embed_pcdata,
                             pugi::encoding_utf8);
    if (!result) {
        return std::string(result.description()) + " at offset " + std::to_string(result.offset);
    }
    int elements = 0;
    int doctypes = 0;
    for (const auto& node : document.children()) {
        switch (node.type()) {
            case pugi::node_element:
                ++elements;
                break;
            case pugi::node_doctype:
                if (elements > 0) {
                    return "document type declaration after the root element";
                }
                if (++doctypes > 1) {
                    return "more than one document type declaration";
                }
                break;
            case pugi::node_pcdata:
            case pugi::node_cdata:
                return "text outside the root element";
            default:
                break;
        }
    }
    if (elements == 0) {
        return "no root element";
    }
    if (elements > 1) {
        return "more than one root element";
    }
    return repeatedAttribute(document.document_element());
}

}  // namespace vantrell::standins
