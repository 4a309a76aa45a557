#pragma once

#include <string>

#include "Measurement.h"

namespace vantrell::bench {

// What pugixml alone needs for the XML work of each phase, on the same documents. Each throws
// std::runtime_error when `text` does not parse.

// Parses `text` and walks it: every element named `element`, its attributes and the text of
// the "Name" children of its child elements.
Sample parseAndWalk(const std::string& text, const char* element);

// Parses `text` and reads it as a query's answer: every element named `element`, its
// attributes and, for each record in it, the text of every element of the record.
Sample parseAndReadRecords(const std::string& text, const char* element);

// Builds the tree of `text` node by node (element, attribute and text at a time, as a program
// building it would) and serializes it with pugixml's format `flags`. The text is parsed first,
// untimed, to know what to build.
Sample buildAndSerialize(const std::string& text, unsigned flags);

// Builds each record (each child element of an element named `element`) of `text` node by node
// and prints it on its own with pugixml's format `flags`, dropping it before the next: a large
// answer written out as it is made. The text is parsed first, untimed.
Sample buildAndPrintRecords(const std::string& text, const char* element, unsigned flags);

}  // namespace vantrell::bench
