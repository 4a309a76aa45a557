#pragma once

#include <pugixml.hpp>

#include <optional>
#include <string>

#include "standins/ResponseStatus.h"

namespace vantrell::standins {

// A qbXML response message as the accounting system writes it: the declaration
// <?xml version="1.0" ?>, then QBXML and QBXMLMsgsRs, one element per line without indentation,
// and one response element per request.
class ResponseDocument {
  public:
    ResponseDocument();

    // Appends a response element (for example "EmployeeQueryRs") with its requestID when the
    // request had one and its status; records are appended to the element returned.
    pugi::xml_node addResponse(const std::string& name, const std::optional<std::string>& requestId,
                               const ResponseStatus& status);

    // Writes the response elements added so far to the message text and drops them from the
    // tree, so that a message of many requests never holds all their records as nodes at once.
    // The nodes returned by addResponse are then gone.
    void flush();

    // The whole message; call once, after the last response element.
    std::string takeText();

  private:
    pugi::xml_document document_;
    pugi::xml_node messages_;
    std::string written_;  // the text of the elements flushed so far
};

// Appends an element holding only `text`.
void appendLeaf(pugi::xml_node parent, const char* name, const std::string& text);

}  // namespace vantrell::standins
