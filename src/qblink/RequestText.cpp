#include "qblink/RequestText.h"

namespace vantrell {

std::string resolveQueryRequest() {
    std::string text = "<?xml version='1.0' ?>";
    text += "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.0//EN' ";
    text += kQbxmlSystemIdentifier;
    text += ">";
    text += "<QBXML>";
    text += "<QBXMLMsgsRq onError = 'stopOnError'>";
    text += "<EmployeeQueryRq requestID = 'Employee' />";
    text += "<PayrollItemWageQueryRq requestID = 'PayTypes' />";
    text += "</QBXMLMsgsRq>";
    text += "</QBXML>";
    return text;
}

std::string timeTrackingProlog() {
    std::string text = "<?xml version=\"1.0\" ?>";
    text += "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' ";
    text += kQbxmlSystemIdentifier;
    text += ">";
    return text;
}

}  // namespace vantrell
