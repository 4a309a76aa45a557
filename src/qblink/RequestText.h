#pragma once

#include <string>

namespace vantrell {

// The system identifier of both requests' document type: the vendor's developer site. The
// accounting system never fetches it.
inline constexpr const char* kQbxmlSystemIdentifier = "'http://developer.intuit.com'";

// The resolution request: all employees and all wage payroll items, document type 1.0. The
// text is fixed, single-quoted attribute values with a space each side of every equals sign.
std::string resolveQueryRequest();

// What stands before the element tree of the time-tracking request: the declaration with the
// double-quoted version and the document type 1.1 with the system identifier.
std::string timeTrackingProlog();

}  // namespace vantrell
