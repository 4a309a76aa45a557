#pragma once

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "standins/CompanyFile.h"
#include "standins/RequestHandler.h"
#include "support/Sandbox.h"

namespace vantrell::standins::testing {

// 2023-11-14T22:13:20 UTC.
inline constexpr std::int64_t kNow = 1700000000;

// The resolution query exactly as the program sends it.
inline constexpr const char* kProgramQuery =
    "<?xml version='1.0' ?><!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.0//EN' "
    "'http://developer.intuit.com'><QBXML><QBXMLMsgsRq onError = 'stopOnError'>"
    "<EmployeeQueryRq requestID = 'Employee' /><PayrollItemWageQueryRq requestID = 'PayTypes' />"
    "</QBXMLMsgsRq></QBXML>";

// One staged ticket as the program's export writes it.
struct Ticket {
    std::string requestId;
    std::string name;
    std::string payType = "Hourly";
    std::string date = "2024-03-04";
    std::string duration = "PT7H30M";
};

// The program's export message (document type 1.1, IsBillable false) for these tickets.
std::string exportRequest(const std::vector<Ticket>& tickets,
                          const std::string& onError = "stopOnError");

// A message of `body` requests under the prolog `prolog`.
std::string message(const std::string& body,
                    const std::string& prolog = "<?qbxml version=\"13.0\"?>",
                    const std::string& onError = "stopOnError");

// One response element of a parsed response.
struct ResponseElement {
    std::string name;
    std::optional<std::string> requestId;
    std::string statusCode;
    std::string statusSeverity;
    std::string statusMessage;
    std::vector<std::string> names;  // Name of each record, or EntityRef FullName of a ticket
};

std::vector<ResponseElement> responseElements(const std::string& response);

// A sandbox with a company file holding employees and wage items, and a fixed clock.
class CompanyFixture : public ::testing::Test {
  public:
    vantrell::testing::Sandbox sandbox;
    std::filesystem::path path = sandbox.file("Company.qbw");
    std::int64_t now = kNow;
    UnixClock clock = [this] { return now; };

    void SetUp() override { CompanyFile::create(path, now); }

    // The records of "Worker One" to "Worker Three" and of the wage items "Hourly" and
    // "Overtime", added to the file.
    struct Workers {
        ListRecord one, two, three, hourly, overtime;
    };
    Workers addWorkers();

    void addEmployees(const std::vector<std::string>& names);
    void addWageItems(const std::vector<std::string>& names);
    void addNonWageItems(const std::vector<std::string>& names);
    void setInactive(const std::vector<std::string>& names);
    std::string handle(const std::string& request);
    std::vector<PostedTicket> posted();
};

}  // namespace vantrell::standins::testing
