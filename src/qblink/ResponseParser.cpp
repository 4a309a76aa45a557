#include <optional>
#include <set>
#include <string>

#include "diag/Failure.h"
#include "interfacedb/SqlText.h"
#include "interfacedb/stage/Stage.h"
#include "interfacedb/stage/StageStatements.h"
#include "qblink/QuickBooksLink.h"
#include "qblink/XmlReading.h"

namespace vantrell {

namespace {

// The width of Punch.Error: a longer status message is cut to it.
constexpr std::size_t kErrorColumnWidth = 255;

// The status of a request that the accounting system did not process, having stopped at an
// earlier one that failed.
constexpr const char* kNotProcessed = "3231";

// The first `count` characters of UTF-8 text, never splitting a character.
std::string firstCharacters(const std::string& text, std::size_t count) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == count) {
            return text.substr(0, i);
        }
    }
    return text;
}

// The attribute's text; a missing attribute fails the step that reads it.
std::string attributeText(const pugi::xml_node& element, const char* name) {
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute) {
        throw Failure(std::string("The response element has no attribute ") + name + ".");
    }
    return attribute.value();
}

// A requestID goes into a statement unquoted, so only a plain ticket number is let through.
std::string ticketNumber(const std::string& requestID) {
    if (std::optional<std::string> number = db::plainDecimal(requestID)) {
        return *number;
    }
    throw Failure("The requestID \"" + requestID + "\" is not a ticket number.");
}

// The statement, up to the quoted name, that a record element's "Name" children run, or
// nullptr for none.
const char* nameDeletionFor(const std::string& returnElement) {
    if (returnElement == "EmployeeRet") {
        return stage::kDeleteEmployeeNamed;
    }
    if (returnElement == "PayrollItemWageRet") {
        return stage::kDeletePayTypeNamed;
    }
    return nullptr;
}

// The accounting system's id of the ticket an answer posted: the TxnID of its record, or ""
// when the answer carries no record.
std::string transactionIdOf(const pugi::xml_node& element, const std::string& returnElement) {
    const pugi::xml_node record = element.child(returnElement.c_str());
    return record ? elementText(record.child("TxnID")) : std::string();
}

}  // namespace

bool QuickBooksLink::ParseResponseXML(const std::string& responseElement,
                                      const std::string& returnElement) {
    std::string step;
    std::string failureText;
    bool result = false;
    lastAnswerUsable_ = false;

    // Runs one step. A failure is logged, under the failure text when there is one, otherwise
    // under a procedure name that tells the step, and the walk goes on with the next step.
    const auto attempt = [&](auto&& body) {
        try {
            body();
            return true;
        } catch (const EndProgram&) {
            throw;
        } catch (...) {
            if (!failureText.empty()) {
                log_.WriteLogEntry("ERROR", "ParseResponseXML", failureText);
            } else {
                log_.WriteLogEntry("ERROR", "in ParseResponseXML : " + returnElement + " : " + step,
                                   "");
            }
            result = false;
            return false;
        }
    };

    step = "Set xmlDoc = new MSXML2.DOMDocument40";
    std::unique_ptr<pugi::xml_document> xmlDoc;
    if (!attempt([&] { xmlDoc = std::make_unique<pugi::xml_document>(); })) {
        return false;
    }
    // pugixml always loads before returning.
    step = "xmlDoc.async = False";

    step = "Load XML";
    std::optional<std::string> loadFailure;
    if (!attempt([&] { loadFailure = loadXmlStrict(*xmlDoc, responseXML); })) {
        return false;
    }
    if (loadFailure) {
        failureText = "loadXML failed, reason: " + *loadFailure;
        log_.WriteLogEntry("ERROR", "ParseResponseXML", failureText);
        return false;
    }

    step = "Set Object Node List";
    std::vector<pugi::xml_node> elements;
    attempt([&] { elements = elementsByTagName(*xmlDoc, responseElement); });

    const bool isTimeTracking = returnElement == "TimeTrackingRet";
    // A ticket that one answer refuses never leaves the stage on the strength of another
    // answer with its requestID: two contradictory answers leave it staged, with the refusal.
    std::set<std::string> refusedSomewhere;
    if (isTimeTracking) {
        for (const pugi::xml_node& element : elements) {
            if (std::string_view(element.attribute("statusCode").value()) != "0") {
                refusedSomewhere.insert(element.attribute("requestID").value());
            }
        }
    }
    const char* deleteName = nameDeletionFor(returnElement);
    const std::string attributeStep = "Set Attribute Map for " + responseElement;

    for (const pugi::xml_node& element : elements) {
        step = attributeStep;
        // Each element starts from empty values: a missing attribute must not borrow the
        // previous element's requestID and so reach that element's row.
        std::string requestID;
        std::string statusCode;
        std::string statusSeverity;
        std::string statusMessage;
        attempt([&] { requestID = attributeText(element, "requestID"); });
        attempt([&] { statusCode = attributeText(element, "statusCode"); });
        attempt([&] { statusSeverity = attributeText(element, "statusSeverity"); });
        attempt([&] { statusMessage = attributeText(element, "statusMessage"); });

        step = "Test Return Status Code";
        if (isTimeTracking) {
            step = "Process Time Tracking Return";
            if (statusCode == "0" && refusedSomewhere.contains(requestID)) {
                // Left to the refusal's own answer.
            } else if (statusCode == "0") {
                // The journal row and the deletion go together: a ticket never leaves the
                // stage without the record of where it went.
                attempt([&] {
                    const std::string sequence = ticketNumber(requestID);
                    stage::recordAcceptedTicket(interfaceConnection(), currentExportId(),
                                                std::stoi(sequence),
                                                transactionIdOf(element, returnElement));
                });
            } else {
                // The accounting system stopped before this one: not a refusal of its own.
                if (statusCode == kNotProcessed) {
                    if (const auto number = db::plainDecimal(requestID)) {
                        notProcessed_.insert(std::stoi(*number));
                    }
                }
                attempt([&] {
                    failureText = firstCharacters(statusMessage, kErrorColumnWidth);
                    interfaceConnection().execute(
                        stage::kMarkPunchError + db::escapeSqlText(failureText) +
                        stage::kMarkPunchErrorWhere + ticketNumber(requestID));
                });
            }
        } else if (statusCode == "1") {
            // Nothing found is an answer all the same.
            lastAnswerUsable_ = true;
            attempt(
                [&] { controls_.addListLine("No " + responseElement + " found by Quickbooks"); });
            return false;
        } else if (statusCode != "0") {
            attempt([&] { controls_.addListLine(responseElement + " ERROR " + statusMessage); });
            return false;
        }

        step = "examine each child object";
        if (deleteName == nullptr) {
            continue;
        }
        for (const pugi::xml_node& record : element.children()) {
            if (record.type() != pugi::node_element || returnElement != record.name()) {
                continue;
            }
            for (const pugi::xml_node& name : record.children("Name")) {
                attempt([&] {
                    interfaceConnection().execute(std::string(deleteName) +
                                                  db::escapeSqlText(elementText(name)) + "'");
                });
            }
        }
    }

    lastAnswerUsable_ = !elements.empty();
    result = true;
    return result;
}

}  // namespace vantrell
