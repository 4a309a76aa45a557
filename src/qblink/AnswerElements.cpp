#include "qblink/AnswerElements.h"

#include <array>

#include "qblink/StrictXmlLoader.h"
#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

enum class MarkupKind { StartTag, EmptyTag, EndTag };

struct Markup {
    MarkupKind kind = MarkupKind::StartTag;
    std::size_t begin = 0;
    std::size_t end = 0;  // past its '>'
};

// Past the first `end` at or after `from`, or nothing when there is none.
std::optional<std::size_t> skipPast(std::string_view text, std::size_t from, std::string_view end) {
    const std::size_t at = text.find(end, from);
    return at == std::string_view::npos ? std::nullopt : std::optional(at + end.size());
}

// What the scans look for in a tag, a bit each, by byte: the rest of a tag's bytes, most of
// them, are passed one table look-up each.
constexpr unsigned char kQuote = 1;
constexpr unsigned char kClose = 2;    // '>'
constexpr unsigned char kSubset = 4;   // '['
constexpr unsigned char kNameEnd = 8;  // white space, '/' or '>'

constexpr std::array<unsigned char, 256> kTagBytes = [] {
    std::array<unsigned char, 256> kinds{};
    kinds['"'] = kinds['\''] = kQuote;
    kinds['>'] = kClose | kNameEnd;
    kinds['['] = kSubset;
    kinds[' '] = kinds['\t'] = kinds['\r'] = kinds['\n'] = kinds['/'] = kNameEnd;
    return kinds;
}();

unsigned char kindOf(char c) {
    return kTagBytes[static_cast<unsigned char>(c)];
}

// Past the '>' of the tag at `at`, quoted attribute values followed. With `subsetEnds`, a '['
// outside quotes (a document type's internal subset, which the scan does not follow) gives
// nothing, as does a text without the '>'.
std::optional<std::size_t> tagEnd(std::string_view text, std::size_t at, bool subsetEnds = false) {
    const unsigned char stops = kQuote | kClose | (subsetEnds ? kSubset : 0);
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        const unsigned char kind = kindOf(text[i]) & stops;
        if (kind == 0) {
            continue;
        }
        if ((kind & kClose) != 0) {
            return i + 1;
        }
        if ((kind & kSubset) != 0) {
            return std::nullopt;
        }
        // A quoted value holds anything up to its closing quote.
        i = text.find(text[i], i + 1);
        if (i == std::string_view::npos) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The end of the name that begins at `at`: the first white space, '/' or '>', or the text's end.
std::size_t nameEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && (kindOf(text[at]) & kNameEnd) == 0) {
        ++at;
    }
    return at;
}

// The tags of a text one after the other; comments, CDATA sections, processing instructions
// and a document type declaration without an internal subset are passed over.
class TagScan {
  public:
    explicit TagScan(std::string_view text) : text_(text) {}

    // The next tag, or false at the end of the text or at what the scan does not follow.
    bool next(Markup& tag) {
        for (;;) {
            const std::size_t lt = text_.find('<', pos_);
            if (lt == std::string_view::npos) {
                return false;
            }
            const char second = lt + 1 < text_.size() ? text_[lt + 1] : '\0';
            std::optional<std::size_t> end;
            if (second == '!') {
                const std::string_view rest = text_.substr(lt);
                if (rest.starts_with("<!--")) {
                    end = skipPast(text_, lt + 4, "-->");
                } else if (rest.starts_with("<![CDATA[")) {
                    end = skipPast(text_, lt + 9, "]]>");
                } else if (rest.starts_with("<!DOCTYPE")) {
                    end = tagEnd(text_, lt, true);
                }
            } else if (second == '?') {
                end = skipPast(text_, lt + 2, "?>");
            } else if ((end = tagEnd(text_, lt))) {
                const bool isEnd = second == '/';
                tag.kind = isEnd                    ? MarkupKind::EndTag
                           : text_[*end - 2] == '/' ? MarkupKind::EmptyTag
                                                    : MarkupKind::StartTag;
                tag.begin = lt;
                tag.end = *end;
                pos_ = *end;
                return true;
            }
            if (!end) {
                failed_ = true;
                return false;
            }
            pos_ = *end;
        }
    }

    bool failed() const { return failed_; }

    // The name of a start or empty tag that next() gave; read only where it is wanted, since
    // inside an element of the tag only the nesting counts.
    std::string_view nameOf(const Markup& tag) const {
        const std::size_t begin = tag.begin + 1;
        return text_.substr(begin, nameEnd(text_, begin) - begin);
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace

std::optional<std::vector<std::pair<std::size_t, std::size_t>>> outermostElements(
    std::string_view text, std::string_view tag) {
    std::vector<std::pair<std::size_t, std::size_t>> found;
    TagScan scan(text);
    Markup markup;
    while (scan.next(markup)) {
        if (markup.kind == MarkupKind::EndTag || scan.nameOf(markup) != tag) {
            continue;
        }
        const std::size_t begin = markup.begin;
        int depth = markup.kind == MarkupKind::StartTag ? 1 : 0;
        while (depth > 0 && scan.next(markup)) {
            if (markup.kind == MarkupKind::StartTag) {
                ++depth;
            } else if (markup.kind == MarkupKind::EndTag) {
                --depth;
            }
        }
        if (depth > 0) {
            return std::nullopt;
        }
        found.emplace_back(begin, markup.end);
    }
    if (scan.failed()) {
        return std::nullopt;
    }
    return found;
}

std::optional<std::string> AnswerElements::load(std::string_view text, std::string_view tag,
                                                const Visit& survey,
                                                const std::function<void()>& restart) {
    text_ = text;
    tag_ = tag;
    count_ = 0;
    pieces_.clear();
    elements_.clear();
    whole_.reset();
    if (auto refused = refusedXmlText(text)) {
        return refused;
    }
    if (loadPieceByPiece(survey)) {
        return std::nullopt;
    }
    // Not in pieces after all: the whole answer is loaded, and refused as a whole when it is
    // not well-formed, with the reason the strict loader gives.
    pieces_.clear();
    count_ = 0;
    if (auto failure = loadXmlStrict(whole_, text)) {
        return failure;
    }
    useDocument(whole_, tag);
    restart();
    for (const pugi::xml_node& element : elements_) {
        survey(element);
    }
    return std::nullopt;
}

bool AnswerElements::loadPieceByPiece(const Visit& survey) {
    const auto found = outermostElements(text_, tag_);
    if (!found || found->empty()) {
        return false;
    }
    // The text around the pieces, each piece in it an empty element, must load on its own, and
    // each piece as one element of the tag: together they are then the whole answer,
    // well-formed (a piece outside the root shows in the frame as a second root).
    std::string around;
    std::size_t at = 0;
    for (const auto& [begin, end] : *found) {
        around.append(text_.substr(at, begin - at));
        around.append("<p/>");
        at = end;
    }
    around.append(text_.substr(at));
    pugi::xml_document frame;
    if (loadXmlStrict(frame, around)) {
        return false;
    }
    for (const auto& [begin, end] : *found) {
        pieces_.push_back({begin, end});
        const auto elements = parsePiece(pieces_.back());
        if (!elements) {
            return false;
        }
        for (const pugi::xml_node& element : *elements) {
            survey(element);
        }
        count_ += elements->size();
    }
    return true;
}

std::optional<std::vector<pugi::xml_node>> AnswerElements::parsePiece(const Piece& piece) {
    const pugi::xml_parse_result result =
        piece_.load_buffer(text_.data() + piece.begin, piece.end - piece.begin, kStrictParseOptions,
                           pugi::encoding_utf8);
    const pugi::xml_node root = piece_.first_child();
    if (!result || !root || root.next_sibling() || root.type() != pugi::node_element ||
        tag_ != root.name()) {
        return std::nullopt;
    }
    std::vector<pugi::xml_node> elements{root};
    const std::vector<pugi::xml_node> nested = elementsByTagName(root, tag_);
    elements.insert(elements.end(), nested.begin(), nested.end());
    return elements;
}

void AnswerElements::useDocument(const pugi::xml_node& document, std::string_view tag) {
    tag_ = tag;
    pieces_.clear();
    elements_ = elementsByTagName(document, tag);
    count_ = elements_.size();
}

void AnswerElements::forEach(const Visit& visit) {
    if (pieces_.empty()) {
        for (const pugi::xml_node& element : elements_) {
            if (!visit(element)) {
                return;
            }
        }
        return;
    }
    for (const Piece& piece : pieces_) {
        // Each piece parsed when it loaded: it parses the same again.
        const auto elements = parsePiece(piece);
        for (const pugi::xml_node& element : elements.value_or(std::vector<pugi::xml_node>{})) {
            if (!visit(element)) {
                return;
            }
        }
    }
}

}  // namespace vantrell
