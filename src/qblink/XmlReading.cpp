#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

// The node after `node` and all it holds, in document order, staying inside `root`.
pugi::xml_node nextPastSubtree(pugi::xml_node node, const pugi::xml_node& root) {
    while (node && node != root) {
        if (pugi::xml_node sibling = node.next_sibling()) {
            return sibling;
        }
        node = node.parent();
    }
    return {};
}

// The elements below `root` named `tag`; with `nested`, those inside another such element too.
std::vector<pugi::xml_node> elementsNamed(const pugi::xml_node& root, std::string_view tag,
                                          bool nested) {
    std::vector<pugi::xml_node> elements;
    for (pugi::xml_node node = root.first_child(); node;) {
        if (node.type() == pugi::node_element && tag == node.name()) {
            elements.push_back(node);
            if (!nested) {
                node = nextPastSubtree(node, root);
                continue;
            }
        }
        node = nextInDocumentOrder(node, root);
    }
    return elements;
}

}  // namespace

pugi::xml_node nextInDocumentOrder(pugi::xml_node node, const pugi::xml_node& root) {
    if (pugi::xml_node child = node.first_child()) {
        return child;
    }
    return nextPastSubtree(node, root);
}

bool isTextNode(const pugi::xml_node& node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

std::vector<pugi::xml_node> elementsByTagName(const pugi::xml_node& root, std::string_view tag) {
    return elementsNamed(root, tag, true);
}

std::vector<pugi::xml_node> outermostElementsByTagName(const pugi::xml_node& root,
                                                       std::string_view tag) {
    return elementsNamed(root, tag, false);
}

std::string elementText(const pugi::xml_node& node) {
    // An element holds its first text itself, ahead of its children.
    std::string text = node.type() == pugi::node_element ? node.value() : "";
    for (pugi::xml_node n = node.first_child(); n; n = nextInDocumentOrder(n, node)) {
        if (isTextNode(n) || n.type() == pugi::node_element) {
            text += n.value();
        }
    }
    return text;
}

}  // namespace vantrell
