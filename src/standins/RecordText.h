#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrell::standins {

// Appends `value`, up to its first NUL if it holds one, as the XML printer writes element
// text: &, < and > as entity references, every control character but tab, line feed and
// carriage return as a two-digit character reference ("&#01;"), all else as it is, the bytes
// of other scripts included.
void appendEscapedText(std::string& out, std::string_view value);

// The same for an attribute value written between double quotes: " as &quot; and every
// control character, tab, line feed and carriage return too, as a character reference;
// > and ' are written as they are.
void appendEscapedAttribute(std::string& out, std::string_view value);

// Writes records straight onto the end of a message text, element by element, reading exactly
// as the XML printer writes the same elements built as a tree: each element on a line of its
// own without indentation, an element holding only text on one line, an element without
// content as "<Name />". Elements are written in document order: open, its content, close.
class RecordText {
  public:
    // Appends to `out`, which must outlive the writer.
    explicit RecordText(std::string& out) : out_(out) {}

    // Writes only those direct children of the record (the outermost element written) that are
    // named in `keepOnly`, each with all its content; an empty list keeps them all. The list
    // must outlive the writer.
    RecordText(std::string& out, const std::vector<std::string>& keepOnly)
        : out_(out), keepOnly_(keepOnly.empty() ? nullptr : &keepOnly) {}

    RecordText(const RecordText&) = delete;
    RecordText& operator=(const RecordText&) = delete;

    // Starts an element that holds elements.
    void open(std::string_view name);

    // An element holding only `value`, which ends at its first NUL, if it holds one; an empty
    // value gives "<Name></Name>", as a text child without characters does.
    void text(std::string_view name, std::string_view value);

    // Ends the element opened last, which must be named `name`.
    void close(std::string_view name);

    // Content of the element open now that a writer without a filter wrote before: the same
    // elements for many records are written once. The element open now must not be the record
    // itself, whose children the filter chooses among.
    void elements(std::string_view text);

    // Whether a direct child of the record named `name` is written, so that a value left out
    // need not be made at all.
    bool keeps(std::string_view name) const { return keepOnly_ == nullptr || kept(name); }

  private:
    std::string& out_;
    const std::vector<std::string>* keepOnly_ = nullptr;
    int depth_ = 0;              // elements open, the record itself counted
    int skippedDepth_ = 0;       // the depth of the child being left out; 0 when none is
    bool startTagOpen_ = false;  // "<Name" written, its content not yet begun

    // Whether an element `name` begun now is a child of the record that is left out.
    bool leftOut(std::string_view name) const {
        return keepOnly_ != nullptr && depth_ == 1 && !kept(name);
    }
    bool kept(std::string_view name) const;
    void endStartTag();
};

}  // namespace vantrell::standins
