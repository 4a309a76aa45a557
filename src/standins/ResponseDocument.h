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
    // An empty message: QBXML and QBXMLMsgsRs without a response element yet.
    ResponseDocument();

    // Appends a response element (for example "EmployeeQueryRs") with its requestID when the
    // request had one and its status; records are appended to the element returned.
    pugi::xml_node addResponse(const std::string& name, const std::optional<std::string>& requestId,
                               const ResponseStatus& status);

    // Writes the response elements added so far to the message text and drops them from the
    // tree, so that a message of many requests never holds all their records as nodes at once.
    // The nodes returned by addResponse are then gone.
    void flush();

    // Writes the records appended so far to `response`, the element the last addResponse
    // returned, to the message text and drops them from the tree, so that one answer of very
    // many records never holds them all as nodes. More records may follow; the next flush or
    // takeText closes the element. The text reads as if the element had been written whole.
    // Does nothing while `response` holds no records.
    void flushRecords(pugi::xml_node response);

    // The message text, to write one more record of `response`, the element the last
    // addResponse returned, straight onto its end with a RecordText, building no nodes. What
    // comes before the record is written first: the answers before `response`, its start tag
    // and any records appended to it as nodes. More records may follow, as text or as nodes;
    // the next flush or takeText closes the element. Call it only with a record to write, as
    // the element's start tag is then written as that of an element with content.
    std::string& recordText(pugi::xml_node response);

    // The whole message; call once, after the last response element.
    std::string takeText();

    // Makes room for a text of about `bytes` at once, so that a large answer is not copied as
    // it grows; room never written costs no memory.
    void reserve(std::size_t bytes) { written_.reserve(bytes); }

  private:
    pugi::xml_document document_;
    pugi::xml_node messages_;
    std::string written_;  // the text of the elements flushed so far
    pugi::xml_node open_;  // the element whose start tag is written but not its end tag

    void writeHeader();
    void writeElement(pugi::xml_node response);
    // Writes what comes before the records of `response`, its start tag included, once.
    void openForRecords(pugi::xml_node response);
    // Writes the records appended to `response` as nodes and drops them from the tree.
    void writeRecordNodes(pugi::xml_node response);
};

}  // namespace vantrell::standins
