#include "CompanyFixture.h"

#include "support/XmlText.h"

namespace vantrell::standins::testing {

using vantrell::testing::xmlEscaped;

std::string exportRequest(const std::vector<Ticket>& tickets, const std::string& onError) {
    std::string text =
        "<?xml version=\"1.0\" ?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' "
        "'http://developer.intuit.com'><QBXML><QBXMLMsgsRq onError=\"" +
        onError + "\">";
    for (const auto& t : tickets) {
        text += "<TimeTrackingAddRq requestID=\"" + t.requestId + "\"><TimeTrackingAdd><TxnDate>" +
                xmlEscaped(t.date) + "</TxnDate><EntityRef><FullName>" + xmlEscaped(t.name) +
                "</FullName></EntityRef><Duration>" + xmlEscaped(t.duration) +
                "</Duration><PayrollItemWageRef><FullName>" + xmlEscaped(t.payType) +
                "</FullName></PayrollItemWageRef><IsBillable>false</IsBillable></TimeTrackingAdd>"
                "</TimeTrackingAddRq>";
    }
    return text + "</QBXMLMsgsRq></QBXML>";
}

std::string message(const std::string& body, const std::string& prolog,
                    const std::string& onError) {
    return "<?xml version=\"1.0\" ?>" + prolog + "<QBXML><QBXMLMsgsRq onError=\"" + onError +
           "\">" + body + "</QBXMLMsgsRq></QBXML>";
}

std::vector<ResponseElement> responseElements(const std::string& response) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(response.c_str())) << response;
    std::vector<ResponseElement> elements;
    for (const auto& node : document.child("QBXML").child("QBXMLMsgsRs").children()) {
        ResponseElement element;
        element.name = node.name();
        if (const auto id = node.attribute("requestID")) {
            element.requestId = id.value();
        }
        element.statusCode = node.attribute("statusCode").value();
        element.statusSeverity = node.attribute("statusSeverity").value();
        element.statusMessage = node.attribute("statusMessage").value();
        for (const auto& record : node.children()) {
            const auto name = record.child("Name");
            element.names.push_back(name
                                        ? name.text().get()
                                        : record.child("EntityRef").child("FullName").text().get());
        }
        elements.push_back(element);
    }
    return elements;
}

void CompanyFixture::addEmployees(const std::vector<std::string>& names) {
    CompanyFile(path).addNames(ListKind::Employee, names, now);
}

CompanyFixture::Workers CompanyFixture::addWorkers() {
    addEmployees({"Worker One", "Worker Two", "Worker Three"});
    addWageItems({"Hourly", "Overtime"});
    const CompanyFile file(path);
    return {*file.findByName(ListKind::Employee, "Worker One"),
            *file.findByName(ListKind::Employee, "Worker Two"),
            *file.findByName(ListKind::Employee, "Worker Three"),
            *file.findByName(ListKind::WageItem, "Hourly"),
            *file.findByName(ListKind::WageItem, "Overtime")};
}

void CompanyFixture::addWageItems(const std::vector<std::string>& names) {
    CompanyFile(path).addNames(ListKind::WageItem, names, now);
}

void CompanyFixture::addNonWageItems(const std::vector<std::string>& names) {
    CompanyFile(path).addNames(ListKind::NonWageItem, names, now);
}

void CompanyFixture::setInactive(const std::vector<std::string>& names) {
    CompanyFile(path).setInactive(names, now);
}

std::string CompanyFixture::handle(const std::string& request) {
    CompanyFile file(path);
    return RequestHandler(file, clock).handle(request);
}

std::vector<PostedTicket> CompanyFixture::posted() {
    return CompanyFile(path).postedTickets();
}

}  // namespace vantrell::standins::testing
