#include "qblink/StrictXmlLoader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <set>

#include "diag/Utf8.h"
#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

// A conforming load also keeps processing instructions as nodes.
constexpr unsigned kConformingParseOptions = kStrictParseOptions | pugi::parse_pi;

std::string reasonAt(std::string_view reason, std::ptrdiff_t offset) {
    return std::string(reason) + " at offset " + std::to_string(offset);
}

bool startsWith(std::string_view text, std::size_t pos, std::string_view prefix) {
    return text.substr(pos, prefix.size()) == prefix;
}

// A character reference: the character it names and the offset past its ";".
struct CharacterReference {
    std::uint32_t value = 0;
    std::size_t end = 0;
};

// The character reference that starts at text[pos]: "&#" and decimal digits, or "&#x" and hex
// digits, then ";". Nothing when the text there is not one. A value past U+10FFFF reads as
// 0x110000 (pugixml would wrap it), and a reference without digits as 0: XML allows neither.
std::optional<CharacterReference> characterReferenceAt(std::string_view text, std::size_t pos) {
    if (!startsWith(text, pos, "&#")) {
        return std::nullopt;
    }
    std::size_t i = pos + 2;
    const bool hex = i < text.size() && text[i] == 'x';
    if (hex) {
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const char d = text[i];
        std::uint32_t digit = 0;
        if (d >= '0' && d <= '9') {
            digit = static_cast<std::uint32_t>(d - '0');
        } else if (hex && ((d >= 'a' && d <= 'f') || (d >= 'A' && d <= 'F'))) {
            digit = static_cast<std::uint32_t>((d | 0x20) - 'a' + 10);
        } else {
            break;
        }
        value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (i >= text.size() || text[i] != ';') {
        return std::nullopt;
    }
    return CharacterReference{value, i + 1};
}

// Eight bytes of `text` from `pos` as one word, the first in its lowest byte.
std::uint64_t eightBytesAt(std::string_view text, std::size_t pos) {
    std::uint64_t eight = 0;
    std::memcpy(&eight, text.data() + pos, 8);
    if constexpr (std::endian::native == std::endian::big) {
        std::uint64_t swapped = 0;
        for (int i = 0; i < 8; ++i, eight >>= 8) {
            swapped = (swapped << 8) | (eight & 0xff);
        }
        eight = swapped;
    }
    return eight;
}

// The high bit of every byte of `eight` that is zero. Exact: no carry crosses a byte.
std::uint64_t zeroBytes(std::uint64_t eight) {
    constexpr std::uint64_t kLowBits = 0x7f7f7f7f7f7f7f7fULL;
    return ~(((eight & kLowBits) + kLowBits) | eight) & ~kLowBits;
}

// The high bit of every byte of `eight` below 0x20 or equal to '&'.
std::uint64_t controlOrAmpersand(std::uint64_t eight) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    return zeroBytes(eight & (kOnes * 0xe0)) | zeroBytes(eight ^ (kOnes * '&'));
}

// Whether the byte at `pos`, below 0x20 or '&', is a control character or begins a character
// reference that XML forbids.
bool forbiddenAt(std::string_view text, std::size_t pos) {
    const char c = text[pos];
    if (c != '&') {
        return c != '\t' && c != '\n' && c != '\r';
    }
    const auto reference = characterReferenceAt(text, pos);
    return reference && !isXmlChar(reference->value);
}

// The offset of a control character, or of a character reference to a character, that XML
// forbids. pugixml lets both through, and a reference to character 0 would end a name early,
// so that "Bob&#0;x" would read as "Bob" and reach another row. Eight bytes are looked at
// together, and only the few that are below 0x20 or '&' (a line end every few dozen bytes)
// one by one.
std::optional<std::size_t> forbiddenCharacter(std::string_view text) {
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        for (std::uint64_t marked = controlOrAmpersand(eightBytesAt(text, pos)); marked != 0;
             marked &= marked - 1) {
            const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(marked) / 8);
            if (forbiddenAt(text, at)) {
                return at;
            }
        }
    }
    for (; pos < text.size(); ++pos) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if ((c < 0x20 || c == '&') && forbiddenAt(text, pos)) {
            return pos;
        }
    }
    return std::nullopt;
}

// The lexical check of a conforming load: what pugixml does not check about the characters of
// the text. Each step moves past one construct, or gives the reason it is refused.
class LexicalCheck {
  public:
    // With `prologOnly`, the check ends at the first tag: what comes before the root element is
    // checked, nothing of what it holds.
    explicit LexicalCheck(std::string_view text, bool prologOnly = false)
        : text_(text), prologOnly_(prologOnly) {}

    // The first problem of the text, or nothing.
    std::optional<std::string> problem() {
        while (pos_ < text_.size() && !done_) {
            std::optional<std::string> found;
            if (text_[pos_] == '&') {
                found = skipReference();
            } else if (text_[pos_] == '<') {
                found = skipMarkup();
            } else {
                ++pos_;
            }
            if (found) {
                return found;
            }
        }
        return std::nullopt;
    }

  private:
    // Moves past the reference that begins at the "&" in hand: one of the five predefined
    // entities, or a character reference to a character that XML allows.
    std::optional<std::string> skipReference() {
        for (const std::string_view name : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
            if (startsWith(text_, pos_, name)) {
                pos_ += name.size();
                return std::nullopt;
            }
        }
        const auto reference = characterReferenceAt(text_, pos_);
        if (!reference || !isXmlChar(reference->value)) {
            return "unknown or malformed reference at offset " + std::to_string(pos_);
        }
        pos_ = reference->end;
        return std::nullopt;
    }

    // Moves past the first `end` from the position in hand; false when the text holds none.
    bool skipTo(std::string_view end) {
        const std::size_t found = text_.find(end, pos_);
        if (found == std::string_view::npos) {
            return false;
        }
        pos_ = found + end.size();
        return true;
    }

    // Moves past the markup that begins at the "<" in hand: a comment, a CDATA section, a
    // processing instruction, a document type declaration or a tag.
    std::optional<std::string> skipMarkup() {
        if (startsWith(text_, pos_, "<!--")) {
            if (!skipTo("-->")) {
                return "unterminated comment";
            }
            return std::nullopt;
        }
        if (startsWith(text_, pos_, "<![CDATA[")) {
            if (!skipTo("]]>")) {
                return "unterminated CDATA section";
            }
            return std::nullopt;
        }
        if (startsWith(text_, pos_, "<?")) {
            return skipProcessingInstruction();
        }
        if (startsWith(text_, pos_, "<!DOCTYPE")) {
            return skipDocumentType();
        }
        if (prologOnly_) {
            done_ = true;
            return std::nullopt;
        }
        ++pos_;
        return skipTag();
    }

    // Moves past the processing instruction in hand, refusing an XML declaration that does not
    // open the text.
    std::optional<std::string> skipProcessingInstruction() {
        if (startsWith(text_, pos_, "<?xml") && pos_ != 0 &&
            (pos_ + 5 >= text_.size() || text_[pos_ + 5] == ' ' || text_[pos_ + 5] == '?')) {
            return "XML declaration not at the start of the text";
        }
        if (!skipTo("?>")) {
            return "unterminated processing instruction";
        }
        return std::nullopt;
    }

    // Moves past the document type declaration in hand, refusing one with an internal subset.
    std::optional<std::string> skipDocumentType() {
        // Quoted literals may hold any character; an internal subset is not read.
        std::size_t i = pos_ + 9;
        char literal = 0;
        while (i < text_.size() && (literal || text_[i] != '>')) {
            if (literal) {
                literal = text_[i] == literal ? 0 : literal;
            } else if (text_[i] == '\'' || text_[i] == '"') {
                literal = text_[i];
            } else if (text_[i] == '[') {
                return "document type declaration with an internal subset";
            }
            ++i;
        }
        if (i >= text_.size()) {
            return "unterminated document type declaration";
        }
        pos_ = i + 1;
        return std::nullopt;
    }

    // Moves past the rest of a start or end tag, from after its "<" to after its ">" (or to
    // the end of the text), refusing "<" and unknown references in its attribute values.
    std::optional<std::string> skipTag() {
        char quote = 0;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (quote == 0 && c == '>') {
                ++pos_;
                return std::nullopt;
            }
            if (quote != 0 && c == '<') {
                return "\"<\" in an attribute value at offset " + std::to_string(pos_);
            }
            if (quote != 0 && c == '&') {
                if (auto refused = skipReference()) {
                    return refused;
                }
                continue;
            }
            if (c == quote) {
                quote = 0;
            } else if (quote == 0 && (c == '"' || c == '\'')) {
                quote = c;
            }
            ++pos_;
        }
        return std::nullopt;
    }

    std::string_view text_;
    bool prologOnly_ = false;
    bool done_ = false;
    std::size_t pos_ = 0;
};

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The offset of text after the root element that a look at the end of the text finds: after the
// last ">" (of the root's end tag, a comment or a processing instruction) only white space may
// follow. (Other text after the root is a node of the tree, refused there.)
std::optional<std::size_t> textAfterTheEnd(std::string_view text) {
    const std::size_t last = text.rfind('>');
    if (last == std::string_view::npos) {
        return std::nullopt;
    }
    for (std::size_t i = last + 1; i < text.size(); ++i) {
        if (!isXmlSpace(text[i])) {
            return i;
        }
    }
    return std::nullopt;
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string asciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

// The encoding that the XML declaration opening `text` names, or nothing without one.
std::optional<std::string> declaredEncoding(std::string_view text) {
    if (!startsWith(text, 0, "<?xml") || text.size() < 6 || !isXmlSpace(text[5])) {
        return std::nullopt;
    }
    const std::string_view declaration = text.substr(0, text.find("?>"));
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    at += 8;
    while (at < declaration.size() && (isXmlSpace(declaration[at]) || declaration[at] == '=')) {
        ++at;
    }
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\'')) {
        return std::nullopt;
    }
    const std::size_t end = declaration.find(declaration[at], at + 1);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(declaration.substr(at + 1, end - at - 1));
}

// The text is read as UTF-8 whatever its declaration names (the accounting system hands its
// answers over as Unicode): a declaration of another encoding is believed only where both read
// alike, in a text of ASCII characters under an encoding that extends ASCII. Otherwise it would
// turn "Zoë" into "ZoÃ«", a name that reaches no row.
std::optional<std::string> refusedEncoding(std::string_view text) {
    const std::optional<std::string> declared = declaredEncoding(text);
    if (!declared) {
        return std::nullopt;
    }
    const std::string name = asciiUpper(*declared);
    if (name == "UTF-8") {
        return std::nullopt;
    }
    const bool extendsAscii = !name.starts_with("UTF-") && !name.starts_with("UCS-") &&
                              !name.starts_with("UTF16") && !name.starts_with("UTF32") &&
                              !name.starts_with("EBCDIC") && !name.starts_with("IBM0");
    if (!extendsAscii || !isAscii(text)) {
        return "The text is UTF-8 but declares the encoding " + *declared;
    }
    return std::nullopt;
}

// After parsing: the result, text outside the root, the number of root elements and where the
// declaration and the document type declaration stand.
std::optional<std::string> refusedTree(const pugi::xml_document& document,
                                       const pugi::xml_parse_result& result, std::size_t size) {
    if (!result) {
        return reasonAt(result.description(), result.offset);
    }
    int elements = 0;
    int doctypes = 0;
    for (const pugi::xml_node& node : document.children()) {
        if (isTextNode(node)) {
            return reasonAt("Invalid at the top level of the document", node.offset_debug());
        }
        if (node.type() == pugi::node_element && ++elements == 2) {
            return reasonAt("Only one top level element is allowed in an XML document",
                            node.offset_debug());
        }
        if (node.type() == pugi::node_declaration && node != document.first_child()) {
            return "XML declaration not at the start of the text";
        }
        if (node.type() == pugi::node_doctype && elements > 0) {
            return "document type declaration after the root element";
        }
        if (node.type() == pugi::node_doctype && ++doctypes == 2) {
            return "more than one document type declaration";
        }
    }
    if (elements == 0) {
        return reasonAt("No document element found", static_cast<std::ptrdiff_t>(size));
    }
    return std::nullopt;
}

// An element below `root` (or `root` itself) with two attributes of one name, which pugixml
// lets through; walked without recursion, so that deep nesting cannot exhaust the stack.
std::optional<std::string> repeatedAttribute(const pugi::xml_node& root) {
    for (pugi::xml_node node = root; node; node = nextInDocumentOrder(node, root)) {
        std::set<std::string_view> names;
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            if (!names.insert(attribute.name()).second) {
                return std::string("repeated attribute ") + attribute.name() + " on " + node.name();
            }
        }
    }
    return std::nullopt;
}

// The text a load reads: a leading byte order mark is not part of it, so that the declaration
// may follow one.
std::string_view withoutByteOrderMark(std::string_view text) {
    if (startsWith(text, 0, "\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    return text;
}

// What `checks` refuses in the text before parsing it; a leading byte order mark is already
// dropped.
std::optional<std::string> refusedText(std::string_view text, XmlChecks checks) {
    // Checked in place: a whole message decoded at once would take four bytes per character.
    if (const auto offset = firstInvalidUtf8(text)) {
        return reasonAt("The text is not UTF-8", static_cast<std::ptrdiff_t>(*offset));
    }
    if (const auto offset = textAfterTheEnd(text)) {
        return reasonAt("Text after the root element", static_cast<std::ptrdiff_t>(*offset));
    }
    if (checks == XmlChecks::WellFormed) {
        if (const auto offset = forbiddenCharacter(text)) {
            return reasonAt("An invalid character was found in text content",
                            static_cast<std::ptrdiff_t>(*offset));
        }
        // What comes before the root: the declaration at the very start only, and no internal
        // subset, whose entities pugixml would leave unexpanded in the names they stand for.
        if (auto refused = LexicalCheck(text, true).problem()) {
            return refused;
        }
        return refusedEncoding(text);
    }
    if (!isXmlText(text)) {
        return "the text holds a character that XML does not allow";
    }
    return LexicalCheck(text).problem();
}

// Loads `text`, in place at `inPlace` when it is given (where `text` lies, followed by a byte
// that the parse may overwrite).
std::optional<std::string> load(pugi::xml_document& document, std::string_view text, char* inPlace,
                                XmlChecks checks) {
    document.reset();
    const std::string_view read = withoutByteOrderMark(text);
    if (auto refused = refusedText(read, checks)) {
        return refused;
    }
    const bool conforming = checks == XmlChecks::Conforming;
    const unsigned options = conforming ? kConformingParseOptions : kStrictParseOptions;
    // The text is UTF-8 (checked above), whatever a declaration names.
    const pugi::xml_parse_result result =
        inPlace ? document.load_buffer_inplace(inPlace + (read.data() - text.data()),
                                               read.size() + 1, options, pugi::encoding_utf8)
                : document.load_buffer(read.data(), read.size(), options, pugi::encoding_utf8);
    if (auto refused = refusedTree(document, result, read.size())) {
        return refused;
    }
    if (conforming) {
        return repeatedAttribute(document.document_element());
    }
    // Their places checked, the declaration and the document type are no nodes of an answer.
    for (pugi::xml_node node = document.first_child(); node;) {
        const pugi::xml_node next = node.next_sibling();
        if (node.type() == pugi::node_declaration || node.type() == pugi::node_doctype) {
            document.remove_child(node);
        }
        node = next;
    }
    return std::nullopt;
}

}  // namespace

// Bytes that are not UTF-8 (overlong forms, surrogates and values past U+10FFFF included) are
// refused before pugixml sees them: they would reach the stage as they are, where every other
// reader of the file fails on them.
std::optional<std::string> refusedXmlText(std::string_view text) {
    return refusedText(text, XmlChecks::WellFormed);
}

std::optional<std::string> loadXmlStrict(pugi::xml_document& document, std::string_view text,
                                         XmlChecks checks) {
    return load(document, text, nullptr, checks);
}

std::optional<std::string> loadXmlStrictInPlace(pugi::xml_document& document, std::string& text) {
    // Parsing a fragment in place, pugixml takes the last byte it is given for its terminator:
    // given one more, it reads the text to its end, text after the root included.
    text.push_back('\0');
    return load(document, std::string_view(text.data(), text.size() - 1), text.data(),
                XmlChecks::WellFormed);
}

}  // namespace vantrell
