#include "standins/ResponseDocument.h"

#include "qblink/XmlWriting.h"
#include "standins/RecordText.h"

namespace vantrell::standins {

namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" ?>\n";
// An empty indent puts every element on a line of its own, as the accounting system does.
constexpr unsigned kFormat = pugi::format_indent | pugi::format_no_declaration;

}  // namespace

ResponseDocument::ResponseDocument() {
    messages_ = document_.append_child("QBXML").append_child("QBXMLMsgsRs");
}

pugi::xml_node ResponseDocument::addResponse(const std::string& name,
                                             const std::optional<std::string>& requestId,
                                             const ResponseStatus& status) {
    auto response = messages_.append_child(name.c_str());
    if (requestId) {
        response.append_attribute("requestID") = requestId->c_str();
    }
    response.append_attribute("statusCode") = status.code;
    response.append_attribute("statusSeverity") = status.severity();
    response.append_attribute("statusMessage") = status.message.c_str();
    return response;
}

void ResponseDocument::writeHeader() {
    if (written_.empty()) {
        // Appended, not assigned: the room reserved for a large answer stays.
        written_.append(kDeclaration).append("<QBXML>\n<QBXMLMsgsRs>\n");
    }
}

// Each element printed alone ends with its line break, just as it does inside the whole
// document, so the text is the same as saving the tree in one piece.
void ResponseDocument::writeElement(pugi::xml_node response) {
    StringWriter writer(written_);
    if (response == open_) {
        flushRecords(response);
        written_.append("</").append(response.name()).append(">\n");
        open_ = pugi::xml_node();
    } else {
        response.print(writer, "", kFormat, pugi::encoding_utf8);
    }
    messages_.remove_child(response);
}

void ResponseDocument::flush() {
    if (!messages_.first_child()) {
        return;
    }
    writeHeader();
    while (pugi::xml_node response = messages_.first_child()) {
        writeElement(response);
    }
}

void ResponseDocument::openForRecords(pugi::xml_node response) {
    writeHeader();
    if (response == open_) {
        return;
    }
    while (messages_.first_child() != response) {
        writeElement(messages_.first_child());
    }
    // The start tag as the printer writes that of an element with content.
    written_ += '<';
    written_ += response.name();
    for (const auto& attribute : response.attributes()) {
        written_ += ' ';
        written_ += attribute.name();
        written_ += "=\"";
        appendEscapedAttribute(written_, attribute.value());
        written_ += '"';
    }
    written_ += ">\n";
    open_ = response;
}

void ResponseDocument::writeRecordNodes(pugi::xml_node response) {
    StringWriter writer(written_);
    while (pugi::xml_node record = response.first_child()) {
        record.print(writer, "", kFormat, pugi::encoding_utf8);
        response.remove_child(record);
    }
}

void ResponseDocument::flushRecords(pugi::xml_node response) {
    if (!response.first_child()) {
        return;
    }
    openForRecords(response);
    writeRecordNodes(response);
}

std::string& ResponseDocument::recordText(pugi::xml_node response) {
    openForRecords(response);
    writeRecordNodes(response);
    return written_;
}

std::string ResponseDocument::takeText() {
    if (written_.empty()) {
        // Nothing flushed: the tree is the whole message, QBXMLMsgsRs perhaps empty.
        std::string text = kDeclaration;
        StringWriter writer(text);
        document_.save(writer, "", kFormat, pugi::encoding_utf8);
        return text;
    }
    flush();
    written_ += "</QBXMLMsgsRs>\n</QBXML>\n";
    return std::move(written_);
}

}  // namespace vantrell::standins
