#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "qblink/XmlWriting.h"
#include "standins/RecordText.h"

namespace vantrell::standins {
namespace {

constexpr unsigned kFormat = pugi::format_indent | pugi::format_no_declaration;

// `node` as the message printer writes it: one element per line, no indentation.
std::string printed(pugi::xml_node node) {
    std::string text;
    StringWriter writer(text);
    node.print(writer, "", kFormat, pugi::encoding_utf8);
    return text;
}

// Values holding each byte but NUL alone and amid other text, every byte at once, text of other
// scripts, text that is not UTF-8, references and markup as text, and values that end early
// at a NUL.
std::vector<std::string> awkwardValues() {
    std::vector<std::string> values = {"",
                                       "plain",
                                       "Zoë Łukasz 山田 太郎 😀",
                                       "\xff\xfe\xc3 broken \xe2\x82",
                                       "&amp; &#38; <![CDATA[x]]> ]]> <!-- c --> <?pi?>",
                                       "\"'\"'",
                                       " \t\n\r ",
                                       std::string("ab\0<c&", 6),
                                       std::string("\0&", 2)};
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        values.push_back(std::string(1, c));
        values.push_back(std::string("a") + c + "z");
        everyByte += c;
    }
    values.push_back(everyByte);
    return values;
}

TEST(RecordText, TextAndAttributeValuesAreEscapedAsThePrinterEscapesThem) {
    for (const std::string& value : awkwardValues()) {
        pugi::xml_document document;
        auto element = document.append_child("X");
        appendTextElement(element, "T", value);
        element.append_attribute("a") = value.c_str();

        std::string text;
        RecordText record(text);
        record.text("T", value);
        EXPECT_EQ(text, printed(element.first_child())) << value;

        std::string attribute = "<X a=\"";
        appendEscapedAttribute(attribute, value);
        attribute += "\">\n";
        const std::string reference = printed(element);
        EXPECT_EQ(attribute, reference.substr(0, attribute.size())) << value;
    }
}

// Writes the same elements as text and as nodes, to compare the text with the nodes printed.
class BothWays {
  public:
    BothWays(pugi::xml_node parent, const std::vector<std::string>& keepOnly)
        : record_(text_, keepOnly), open_{parent} {}

    void open(const char* name) {
        record_.open(name);
        open_.push_back(open_.back().append_child(name));
    }
    void text(const char* name, const std::string& value) {
        record_.text(name, value);
        appendTextElement(open_.back(), name, value);
    }
    void close(const char* name) {
        record_.close(name);
        open_.pop_back();
    }
    const std::string& written() const { return text_; }

  private:
    std::string text_;
    RecordText record_;
    std::vector<pugi::xml_node> open_;
};

// A record with nested aggregates, an aggregate without content, empty text, and names that
// occur both as direct children of the record and deeper inside it.
void writeRecord(BothWays& out, const std::string& value) {
    out.open("Ret");
    out.text("ListID", value);
    out.text("Name", "");
    out.open("Ref");
    out.text("ListID", "inner " + value);
    out.text("Name", value);
    out.close("Ref");
    out.open("Empty");
    out.close("Empty");
    out.open("Info");
    out.open("Line");
    out.open("Ref");
    out.text("Name", value);
    out.close("Ref");
    out.close("Line");
    out.open("Line");
    out.close("Line");
    out.text("Last", value);
    out.close("Info");
    out.text("Name", std::string("after\0NUL", 9));
    out.close("Ret");
}

// What filtering the record built as nodes leaves: its direct children of the names kept.
void keepOnly(pugi::xml_node record, const std::vector<std::string>& names) {
    if (names.empty()) {
        return;
    }
    for (auto child = record.first_child(); child;) {
        const auto next = child.next_sibling();
        if (std::find(names.begin(), names.end(), child.name()) == names.end()) {
            record.remove_child(child);
        }
        child = next;
    }
}

TEST(RecordText, ElementsReadAsTheSameElementsPrintedAsNodes) {
    const std::vector<std::vector<std::string>> filters = {
        {},
        {"Name"},
        {"Ref", "Info"},
        {"Empty", "Last"},
        {"Line", "Last"},
        {"Nope"},
        {"Ret"},
        {"ListID", "Name", "Ref", "Empty", "Info"}};
    for (const auto& filter : filters) {
        for (const std::string value : {"v & <w>", "", "\x01\t\"'"}) {
            pugi::xml_document document;
            BothWays out(document, filter);
            writeRecord(out, value);
            // Two records in a row: nothing of the first carries over.
            writeRecord(out, value + "2");
            for (auto record : document.children()) {
                keepOnly(record, filter);
            }
            EXPECT_EQ(out.written(), printed(document.first_child()) +
                                         printed(document.first_child().next_sibling()))
                << ::testing::PrintToString(filter) << " " << value;
        }
    }
}

}  // namespace
}  // namespace vantrell::standins
