#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

std::string reasonAt(std::string_view reason, std::ptrdiff_t offset) {
    return std::string(reason) + " at offset " + std::to_string(offset);
}

// The node after `node` in document order, staying inside `root`; empty at the end.
pugi::xml_node nextInDocumentOrder(pugi::xml_node node, const pugi::xml_node& root) {
    if (pugi::xml_node child = node.first_child()) {
        return child;
    }
    while (node && node != root) {
        if (pugi::xml_node sibling = node.next_sibling()) {
            return sibling;
        }
        node = node.parent();
    }
    return {};
}

bool isText(const pugi::xml_node& node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

}  // namespace

std::optional<std::string> loadXmlStrict(pugi::xml_document& document, std::string_view text) {
    // As a fragment, text outside the root stays in the tree, where it can be refused below;
    // whitespace there is dropped as the default options drop it everywhere.
    const pugi::xml_parse_result result =
        document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_fragment);
    if (!result) {
        return reasonAt(result.description(), result.offset);
    }
    int elements = 0;
    for (const pugi::xml_node& node : document.children()) {
        if (isText(node)) {
            return reasonAt("Invalid at the top level of the document", node.offset_debug());
        }
        if (node.type() == pugi::node_element && ++elements == 2) {
            return reasonAt("Only one top level element is allowed in an XML document",
                            node.offset_debug());
        }
    }
    if (elements == 0) {
        return reasonAt("No document element found", static_cast<std::ptrdiff_t>(text.size()));
    }
    return std::nullopt;
}

std::vector<pugi::xml_node> elementsByTagName(const pugi::xml_node& root, std::string_view tag) {
    std::vector<pugi::xml_node> elements;
    for (pugi::xml_node node = root.first_child(); node; node = nextInDocumentOrder(node, root)) {
        if (node.type() == pugi::node_element && tag == node.name()) {
            elements.push_back(node);
        }
    }
    return elements;
}

std::string elementText(const pugi::xml_node& node) {
    std::string text;
    for (pugi::xml_node n = node.first_child(); n; n = nextInDocumentOrder(n, node)) {
        if (isText(n)) {
            text += n.value();
        }
    }
    return text;
}

}  // namespace vantrell
