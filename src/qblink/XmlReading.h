#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace vantrell {

// True for a node of text: character data or a CDATA section. Never throws.
bool isTextNode(const pugi::xml_node& node);

// The node after `node` in document order, staying inside `root`, which is `node` or one of its
// ancestors: its first child, else the next sibling of it or of its nearest ancestor below
// `root` that has one; empty at the end. A walk with it needs no recursion, so any depth of
// document is walked. Never throws.
pugi::xml_node nextInDocumentOrder(pugi::xml_node node, const pugi::xml_node& root);

// Every element below `root` (the root itself excluded) whose tag is exactly `tag`, in document
// order. One pass, without recursion, so any size and depth of document is walked. Throws only
// std::bad_alloc.
std::vector<pugi::xml_node> elementsByTagName(const pugi::xml_node& root, std::string_view tag);

// The same, but without those that such an element holds: the walk passes over what a found
// element holds, so that finding the one answer of a large message does not walk its records.
std::vector<pugi::xml_node> outermostElementsByTagName(const pugi::xml_node& root,
                                                       std::string_view tag);

// The text content of a node: all text and CDATA below it, in document order; an element's own
// first text (as the strict loader keeps it) comes first. Throws only std::bad_alloc.
std::string elementText(const pugi::xml_node& node);

}  // namespace vantrell
