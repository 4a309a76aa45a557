#include "standins/RecordText.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vantrell::standins {

namespace {

// Where the printer writes a byte as a reference rather than as it is.
enum Context : unsigned char { kText = 1, kAttribute = 2 };

constexpr std::array<unsigned char, 256> kEscapedIn = [] {
    std::array<unsigned char, 256> table{};
    // NUL among them: it ends the value.
    for (std::size_t c = 0; c < 32; ++c) {
        table[c] = kText | kAttribute;
    }
    table['\t'] = table['\n'] = table['\r'] = kAttribute;
    table['&'] = table['<'] = kText | kAttribute;
    table['>'] = kText;
    table['"'] = kAttribute;
    return table;
}();

template <Context context>
void appendEscaped(std::string& out, std::string_view value) {
    const char* next = value.data();
    const char* const end = next + value.size();
    while (next != end) {
        const char* const run = next;
        while (next != end && (kEscapedIn[static_cast<unsigned char>(*next)] & context) == 0) {
            ++next;
        }
        out.append(run, static_cast<std::size_t>(next - run));
        if (next == end) {
            return;
        }
        const auto c = static_cast<unsigned char>(*next++);
        switch (c) {
            case '\0':
                return;
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default: {
                // Always two digits, as the printer writes them.
                const char reference[] = {'&', '#', static_cast<char>('0' + c / 10),
                                          static_cast<char>('0' + c % 10), ';'};
                out.append(reference, sizeof reference);
            }
        }
    }
}

}  // namespace

void appendEscapedText(std::string& out, std::string_view value) {
    appendEscaped<kText>(out, value);
}

void appendEscapedAttribute(std::string& out, std::string_view value) {
    appendEscaped<kAttribute>(out, value);
}

bool RecordText::kept(std::string_view name) const {
    return std::find(keepOnly_->begin(), keepOnly_->end(), name) != keepOnly_->end();
}

void RecordText::endStartTag() {
    if (startTagOpen_) {
        out_ += ">\n";
        startTagOpen_ = false;
    }
}

void RecordText::open(std::string_view name) {
    if (skippedDepth_ == 0 && leftOut(name)) {
        skippedDepth_ = depth_ + 1;
    }
    ++depth_;
    if (skippedDepth_ != 0) {
        return;
    }
    endStartTag();
    out_ += '<';
    out_ += name;
    // Whether ">" or " />" follows is known with the element's first content or its end.
    startTagOpen_ = true;
}

void RecordText::text(std::string_view name, std::string_view value) {
    if (skippedDepth_ != 0 || leftOut(name)) {
        return;
    }
    endStartTag();
    // Most values need no reference: the element is then written in one piece.
    if (std::none_of(value.begin(), value.end(), [](char c) {
            return (kEscapedIn[static_cast<unsigned char>(c)] & kText) != 0;
        })) {
        const std::size_t start = out_.size();
        out_.resize(start + 2 * name.size() + value.size() + 6);
        char* at = out_.data() + start;
        const auto put = [&at](std::string_view part) {
            std::memcpy(at, part.data(), part.size());
            at += part.size();
        };
        put("<");
        put(name);
        put(">");
        put(value);
        put("</");
        put(name);
        put(">\n");
        return;
    }
    out_ += '<';
    out_ += name;
    out_ += '>';
    appendEscapedText(out_, value);
    out_ += "</";
    out_ += name;
    out_ += ">\n";
}

void RecordText::elements(std::string_view text) {
    if (skippedDepth_ != 0 || text.empty()) {
        return;
    }
    endStartTag();
    out_ += text;
}

void RecordText::close(std::string_view name) {
    const int closing = depth_--;
    if (skippedDepth_ != 0) {
        if (closing == skippedDepth_) {
            skippedDepth_ = 0;
        }
        return;
    }
    if (startTagOpen_) {
        out_ += " />\n";
        startTagOpen_ = false;
        return;
    }
    out_ += "</";
    out_ += name;
    out_ += ">\n";
}

}  // namespace vantrell::standins
