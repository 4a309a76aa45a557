#pragma once

#include <pugixml.hpp>

#include <string>

namespace vantrell::standins {

// The qbXML version a request declares, as "major.minor" (for example "1.1" or "13.0").
// A request names it either in a document type declaration,
//   <!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' 'system identifier'>
// whose system identifier is ignored and never fetched, or in a processing instruction
// <?qbxml version="N.N"?> before the root, never both. Throws ProcessorError: ParseError when
// neither or both are there or either is malformed, UnsupportedVersion for a version the
// accounting system does not know.
std::string requestedQbxmlVersion(const pugi::xml_document& document);

// True when `version` ("major.minor") is at least `major.minor`.
bool versionAtLeast(const std::string& version, int major, int minor);

// True when `version` is one of the versions the accounting system knows, written as a request
// declares it ("2.0", "13.0").
bool isKnownQbxmlVersion(const std::string& version);

// True when `version` is later than `limit`, both "major.minor".
bool versionAbove(const std::string& version, const std::string& limit);

}  // namespace vantrell::standins
