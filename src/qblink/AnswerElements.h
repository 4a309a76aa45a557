#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace vantrell {

// The elements of one tag in an answer, visited in document order, as elementsByTagName finds
// them. A large answer (an export's, one element per ticket) is read piece by piece: each
// outermost element of the tag is parsed on its own when it is visited, so that no tree of
// the whole answer, nor a second copy of its text, is ever held.
class AnswerElements {
  public:
    // Called with each element; returns false to end the walk.
    using Visit = std::function<bool(const pugi::xml_node&)>;

    // Loads `text` as loadXmlStrict does, refusing what it refuses (then with its reason), and
    // finds its `tag` elements; `survey` sees each of them (its result is not used) before
    // anything else can. In the rare answer that must be read whole after all, `restart` is
    // called and the survey starts again from the first element. `text` must outlive this
    // object and stay unchanged. Returns the reason for a refusal, nothing when the answer
    // loaded; what `survey` or `restart` throws passes on. Replaces whatever was loaded before.
    std::optional<std::string> load(std::string_view text, std::string_view tag,
                                    const Visit& survey, const std::function<void()>& restart);

    // The `tag` elements of a document already loaded, which must outlive this object. Replaces
    // whatever was loaded before.
    void useDocument(const pugi::xml_node& document, std::string_view tag);

    // How many elements were found; 0 before anything is loaded.
    std::size_t size() const { return count_; }

    // Calls `visit` with each element in document order until it returns false; an element
    // lives only during its call. What `visit` throws passes on.
    void forEach(const Visit& visit);

  private:
    struct Piece {
        std::size_t begin;
        std::size_t end;
    };

    // Parses the piece into piece_ and returns its elements, or nothing when it is not one
    // well-formed element of the tag.
    std::optional<std::vector<pugi::xml_node>> parsePiece(const Piece& piece);
    bool loadPieceByPiece(const Visit& survey);

    std::string_view text_;
    std::string tag_;
    std::size_t count_ = 0;
    std::vector<Piece> pieces_;  // when read piece by piece
    pugi::xml_document piece_;
    pugi::xml_document whole_;              // otherwise, the whole answer
    std::vector<pugi::xml_node> elements_;  // and its elements
};

// The outermost elements named `tag` in `text`, as spans of it, found by a scan that follows
// comments, CDATA sections, processing instructions, a document type declaration and quoted
// attribute values; nothing when the text holds something the scan does not follow (an internal
// subset of a document type, an unfinished construct).
// It proves nothing about well-formedness: each span and the text around them are still to be
// parsed.
std::optional<std::vector<std::pair<std::size_t, std::size_t>>> outermostElements(
    std::string_view text, std::string_view tag);

}  // namespace vantrell
