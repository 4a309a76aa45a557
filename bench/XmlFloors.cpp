#include "XmlFloors.h"

#include <pugixml.hpp>

#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "qblink/XmlWriting.h"

namespace vantrell::bench {

namespace {

volatile std::uint64_t sink = 0;

// The next node in document order below `root`, or an empty node at the end.
pugi::xml_node following(pugi::xml_node node, const pugi::xml_node& root) {
    if (node.first_child()) {
        return node.first_child();
    }
    while (node && node != root && !node.next_sibling()) {
        node = node.parent();
    }
    return node == root ? pugi::xml_node() : node.next_sibling();
}

void load(pugi::xml_document& document, const std::string& text) {
    if (!document.load_buffer(text.data(), text.size())) {
        throw std::runtime_error("the document for an XML floor does not parse");
    }
}

// Appends to `parent` a copy of `node` and all below it, built node by node.
void buildCopy(const pugi::xml_node& node, pugi::xml_node parent) {
    pugi::xml_node made = parent.append_child(node.type());
    if (node.type() == pugi::node_element) {
        made.set_name(node.name());
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            made.append_attribute(attribute.name()).set_value(attribute.value());
        }
    } else {
        made.set_value(node.value());
    }
    for (const pugi::xml_node& child : node.children()) {
        buildCopy(child, made);
    }
}

}  // namespace

namespace {

// Parses `text` and, for each `element`, reads its attributes and hands each record below it to
// `readRecord`, which adds what it reads to the sum.
template <class ReadRecord>
Sample parseAndRead(const std::string& text, const char* element, ReadRecord readRecord) {
    return measure([&] {
        pugi::xml_document document;
        load(document, text);
        std::uint64_t sum = 0;
        for (pugi::xml_node node = document.first_child(); node; node = following(node, document)) {
            if (node.type() != pugi::node_element || std::strcmp(node.name(), element) != 0) {
                continue;
            }
            for (const pugi::xml_attribute& attribute : node.attributes()) {
                sum += std::strlen(attribute.value());
            }
            for (const pugi::xml_node& record : node.children()) {
                sum += readRecord(record);
            }
        }
        sink = sink + sum;
    });
}

}  // namespace

Sample parseAndWalk(const std::string& text, const char* element) {
    return parseAndRead(text, element, [](const pugi::xml_node& record) {
        std::uint64_t sum = 0;
        for (const pugi::xml_node& name : record.children("Name")) {
            sum += std::strlen(name.child_value());
        }
        return sum;
    });
}

Sample parseAndReadRecords(const std::string& text, const char* element) {
    return parseAndRead(text, element, [](const pugi::xml_node& record) {
        std::uint64_t sum = 0;
        for (pugi::xml_node field = record.first_child(); field; field = following(field, record)) {
            if (field.type() == pugi::node_element) {
                sum += std::strlen(field.child_value());
            }
        }
        return sum;
    });
}

Sample buildAndSerialize(const std::string& text, unsigned flags) {
    pugi::xml_document source;
    load(source, text);
    return measure([&] {
        pugi::xml_document built;
        pugi::xml_node target = built;
        for (pugi::xml_node node = source.first_child(); node; node = following(node, source)) {
            // `target` is the built counterpart of the source node's parent.
            pugi::xml_node made = target.append_child(node.type());
            if (node.type() == pugi::node_element) {
                made.set_name(node.name());
                for (const pugi::xml_attribute& attribute : node.attributes()) {
                    made.append_attribute(attribute.name()).set_value(attribute.value());
                }
            } else {
                made.set_value(node.value());
            }
            if (node.first_child()) {
                target = made;
                continue;
            }
            // Climb as far as the source climbs to reach its next node.
            for (pugi::xml_node up = node; up && up != source && !up.next_sibling();
                 up = up.parent()) {
                target = target.parent();
            }
        }
        std::string out;
        StringWriter writer(out);
        built.save(writer, "", flags | pugi::format_no_declaration, pugi::encoding_utf8);
        sink = sink + out.size();
    });
}

Sample buildAndPrintRecords(const std::string& text, const char* element, unsigned flags) {
    pugi::xml_document source;
    load(source, text);
    return measure([&] {
        pugi::xml_document built;
        std::string out;
        StringWriter writer(out);
        for (pugi::xml_node node = source.first_child(); node; node = following(node, source)) {
            if (node.type() != pugi::node_element || std::strcmp(node.name(), element) != 0) {
                continue;
            }
            for (const pugi::xml_node& record : node.children()) {
                buildCopy(record, built);
                built.first_child().print(writer, "", flags, pugi::encoding_utf8);
                built.remove_child(built.first_child());
            }
        }
        sink = sink + out.size();
    });
}

}  // namespace vantrell::bench
