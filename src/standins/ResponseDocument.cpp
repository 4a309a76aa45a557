#include "standins/ResponseDocument.h"

#include <sstream>

namespace vantrell::standins {

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

std::string ResponseDocument::text() const {
    std::ostringstream out;
    out << "<?xml version=\"1.0\" ?>\n";
    // An empty indent puts every element on a line of its own, as the accounting system does.
    document_.save(out, "", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    return out.str();
}

void appendLeaf(pugi::xml_node parent, const char* name, const std::string& text) {
    parent.append_child(name).append_child(pugi::node_pcdata).set_value(text.c_str());
}

}  // namespace vantrell::standins
