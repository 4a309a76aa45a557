#include <gtest/gtest.h>

#include <algorithm>

#include "CompanyFixture.h"
#include "standins/ProcessorError.h"

namespace vantrell::standins {
namespace {

using testing::CompanyFixture;
using testing::exportRequest;
using testing::kProgramQuery;
using testing::message;
using testing::responseElements;
using testing::Ticket;

constexpr const char* kNoMatch = "A query request did not find a matching object in QuickBooks";

std::string invalidEmployee(const std::string& name) {
    return "There is an invalid reference to QuickBooks Employee \"" + name +
           "\" in the TimeTracking.  QuickBooks error message: Invalid argument.  The specified "
           "record does not exist in the list.";
}

class RequestHandlerTest : public CompanyFixture {
  protected:
    void SetUp() override {
        CompanyFixture::SetUp();
        addEmployees({"Worker One", "Worker Two", "Retired Worker"});
        addWageItems({"Hourly", "Overtime", "Old Rate"});
        setInactive({"Retired Worker", "Old Rate"});
    }
};

TEST_F(RequestHandlerTest, EmptyFileAnswersBothQueriesWithStatusOneInTheRealEnvelope) {
    const auto empty = sandbox.file("Empty.qbw");
    CompanyFile::create(empty, now);
    CompanyFile file(empty);
    EXPECT_EQ(RequestHandler(file, clock).handle(kProgramQuery),
              "<?xml version=\"1.0\" ?>\n"
              "<QBXML>\n"
              "<QBXMLMsgsRs>\n"
              "<EmployeeQueryRs requestID=\"Employee\" statusCode=\"1\" statusSeverity=\"Info\" "
              "statusMessage=\"A query request did not find a matching object in QuickBooks\" />\n"
              "<PayrollItemWageQueryRs requestID=\"PayTypes\" statusCode=\"1\" "
              "statusSeverity=\"Info\" statusMessage=\"A query request did not find a matching "
              "object in QuickBooks\" />\n"
              "</QBXMLMsgsRs>\n"
              "</QBXML>\n");
}

TEST_F(RequestHandlerTest, ProgramQueryReturnsActiveEntriesOnlyInNameOrder) {
    const auto elements = responseElements(handle(kProgramQuery));
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].name, "EmployeeQueryRs");
    EXPECT_EQ(elements[0].requestId, "Employee");
    EXPECT_EQ(elements[0].statusCode, "0");
    EXPECT_EQ(elements[0].statusSeverity, "Info");
    EXPECT_EQ(elements[0].statusMessage, "Status OK");
    EXPECT_EQ(elements[0].names, (std::vector<std::string>{"Worker One", "Worker Two"}));
    EXPECT_EQ(elements[1].name, "PayrollItemWageQueryRs");
    EXPECT_EQ(elements[1].requestId, "PayTypes");
    EXPECT_EQ(elements[1].names, (std::vector<std::string>{"Hourly", "Overtime"}));
}

TEST_F(RequestHandlerTest, WageItemRecordIsWrittenWholeOneElementPerLine) {
    const auto response =
        handle(message("<PayrollItemWageQueryRq requestID=\"1\"><FullName>Hourly</FullName>"
                       "</PayrollItemWageQueryRq>"));
    // List IDs count from 80000001 (the expense account) in order of creation.
    EXPECT_NE(response.find("<PayrollItemWageRet>\n"
                            "<ListID>80000005-1700000000</ListID>\n"
                            "<TimeCreated>2023-11-14T22:13:20+00:00</TimeCreated>\n"
                            "<TimeModified>2023-11-14T22:13:20+00:00</TimeModified>\n"
                            "<EditSequence>1700000000</EditSequence>\n"
                            "<Name>Hourly</Name>\n"
                            "<IsActive>true</IsActive>\n"
                            "<WageType>HourlyRegular</WageType>\n"
                            "<ExpenseAccountRef>\n"
                            "<ListID>80000001-1700000000</ListID>\n"
                            "<FullName>Payroll Expenses</FullName>\n"
                            "</ExpenseAccountRef>\n"
                            "</PayrollItemWageRet>\n"),
              std::string::npos)
        << response;
}

TEST_F(RequestHandlerTest, EmployeeRecordCarriesNestedAggregatesWithoutFurtherNameElements) {
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(handle(kProgramQuery).c_str()));
    const auto employee = document.select_node("//EmployeeRet[Name='Worker One']").node();
    ASSERT_TRUE(employee);
    EXPECT_STREQ(employee.child_value("FirstName"), "Worker");
    EXPECT_STREQ(employee.child_value("LastName"), "One");
    EXPECT_STREQ(employee.child_value("IsActive"), "true");
    const auto earnings = employee.child("EmployeePayrollInfo").select_nodes("Earnings");
    ASSERT_EQ(earnings.size(), 2u);  // one per active wage item
    EXPECT_STREQ(earnings[0].node().child("PayrollItemWageRef").child_value("FullName"), "Hourly");
    EXPECT_EQ(document.select_nodes("//EmployeeRet//*[local-name()='Name']").size(), 2u);
}

struct QueryCase {
    const char* label;
    std::string body;
    std::string code;
    std::vector<std::string> names;
    std::string statusMessage = {};
};

class ListQueryCases : public RequestHandlerTest,
                       public ::testing::WithParamInterface<QueryCase> {};

TEST_P(ListQueryCases, AnswersAsTheAccountingSystem) {
    const auto elements = responseElements(handle(message(GetParam().body)));
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0].statusCode, GetParam().code);
    EXPECT_EQ(elements[0].names, GetParam().names);
    if (!GetParam().statusMessage.empty()) {
        EXPECT_EQ(elements[0].statusMessage, GetParam().statusMessage);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Filters, ListQueryCases,
    ::testing::Values(
        QueryCase{"All",
                  "<EmployeeQueryRq><ActiveStatus>All</ActiveStatus></EmployeeQueryRq>",
                  "0",
                  {"Retired Worker", "Worker One", "Worker Two"}},
        QueryCase{"Inactive",
                  "<PayrollItemWageQueryRq><ActiveStatus>InactiveOnly</ActiveStatus>"
                  "</PayrollItemWageQueryRq>",
                  "0",
                  {"Old Rate"}},
        QueryCase{"FullNamesFindInactiveToo",
                  "<EmployeeQueryRq><FullName>worker two</FullName><FullName>Retired Worker"
                  "</FullName></EmployeeQueryRq>",
                  "0",
                  {"Worker Two", "Retired Worker"}},
        QueryCase{"MissingFullName",
                  "<EmployeeQueryRq><FullName>Worker One</FullName><FullName>Nobody</FullName>"
                  "</EmployeeQueryRq>",
                  "500",
                  {"Worker One"},
                  "The query request has not been fully completed. There was a required element "
                  "(\"Nobody\") that could not be found in QuickBooks."},
        QueryCase{"MissingListId",
                  "<EmployeeQueryRq><ListID>80000099-1</ListID></EmployeeQueryRq>",
                  "3120",
                  {}},
        QueryCase{"ListId",
                  "<EmployeeQueryRq><ListID>80000002-1700000000</ListID></EmployeeQueryRq>",
                  "0",
                  {"Worker One"}},
        QueryCase{"Contains",
                  "<EmployeeQueryRq><NameFilter><MatchCriterion>Contains</MatchCriterion>"
                  "<Name>TWO</Name></NameFilter></EmployeeQueryRq>",
                  "0",
                  {"Worker Two"}},
        QueryCase{"Range",
                  "<PayrollItemWageQueryRq><NameRangeFilter><FromName>h</FromName>"
                  "<ToName>n</ToName></NameRangeFilter></PayrollItemWageQueryRq>",
                  "0",
                  {"Hourly"}},
        QueryCase{"MaxReturned",
                  "<EmployeeQueryRq><MaxReturned>1</MaxReturned></EmployeeQueryRq>",
                  "0",
                  {"Worker One"}},
        QueryCase{"ModifiedLater",
                  "<EmployeeQueryRq><FromModifiedDate>2023-11-15</FromModifiedDate>"
                  "</EmployeeQueryRq>",
                  "1",
                  {},
                  kNoMatch},
        QueryCase{"ModifiedThatDay",
                  "<EmployeeQueryRq><FromModifiedDate>2023-11-14T23:00:00+01:00"
                  "</FromModifiedDate><ToModifiedDate>2023-11-14</ToModifiedDate>"
                  "</EmployeeQueryRq>",
                  "0",
                  {"Worker One", "Worker Two"}},
        QueryCase{"BadDate",
                  "<EmployeeQueryRq><FromModifiedDate>yesterday</FromModifiedDate>"
                  "</EmployeeQueryRq>",
                  "3020",
                  {},
                  "There was an error when converting the date value \"yesterday\" in the field "
                  "\"FromModifiedDate\"."},
        QueryCase{"ReversedRange",
                  "<EmployeeQueryRq><FromModifiedDate>2024-01-02</FromModifiedDate>"
                  "<ToModifiedDate>2024-01-01</ToModifiedDate></EmployeeQueryRq>",
                  "3030",
                  {},
                  "Invalid date range: From date is greater than To date."}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(RequestHandlerTest, StopOnErrorAnswersEveryLaterRequest3231AndStoresOnlyWhatWentBefore) {
    const auto elements = responseElements(handle(exportRequest({
        {"4", "Worker One"},
        {"9", "Unknown Person"},
        {"12", "Worker Two"},
        {"13", "Worker One", "Overtime"},
    })));
    ASSERT_EQ(elements.size(), 4u);
    const std::vector<std::string> ids = {"4", "9", "12", "13"};
    const std::vector<std::string> codes = {"0", "3140", "3231", "3231"};
    for (std::size_t i = 0; i < elements.size(); ++i) {
        EXPECT_EQ(elements[i].name, "TimeTrackingAddRs");
        EXPECT_EQ(elements[i].requestId, ids[i]);
        EXPECT_EQ(elements[i].statusCode, codes[i]);
        EXPECT_EQ(elements[i].statusSeverity, i == 0 ? "Info" : "Error");
    }
    EXPECT_EQ(elements[0].names, std::vector<std::string>{"Worker One"});
    EXPECT_TRUE(elements[1].names.empty());
    EXPECT_EQ(elements[1].statusMessage, invalidEmployee("Unknown Person"));
    EXPECT_EQ(elements[2].statusMessage, "The request has not been processed.");
    ASSERT_EQ(posted().size(), 1u);
    EXPECT_EQ(posted()[0].ticket.employee.name, "Worker One");
}

TEST_F(RequestHandlerTest, ContinueOnErrorProcessesTheRequestsAfterARefusal) {
    const auto elements = responseElements(handle(exportRequest(
        {{"1", "Worker One"}, {"2", "Retired Worker"}, {"3", "Worker Two"}}, "continueOnError")));
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0].statusCode, "0");
    EXPECT_EQ(elements[1].statusCode, "3140");
    EXPECT_EQ(elements[2].statusCode, "0");
    EXPECT_EQ(posted().size(), 2u);
}

TEST_F(RequestHandlerTest, AcceptedTicketIsStoredAndReturnedAsATransaction) {
    const auto response = handle(exportRequest({{"7", "worker one", "HOURLY"}}));
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(response.c_str()));
    const auto ret = document.select_node("//TimeTrackingAddRs/TimeTrackingRet").node();
    ASSERT_TRUE(ret) << response;
    EXPECT_STREQ(ret.child_value("TxnID"), "1-1700000000");
    EXPECT_STREQ(ret.child_value("TxnDate"), "2024-03-04");
    // Names are matched regardless of letter case and returned as the list holds them.
    EXPECT_STREQ(ret.child("EntityRef").child_value("FullName"), "Worker One");
    EXPECT_STREQ(ret.child("EntityRef").child_value("ListID"), "80000002-1700000000");
    EXPECT_STREQ(ret.child_value("Duration"), "PT7H30M0S");
    EXPECT_STREQ(ret.child("PayrollItemWageRef").child_value("FullName"), "Hourly");
    // A 1.1 message gets the record of 1.1: a boolean instead of the later BillableStatus.
    EXPECT_STREQ(ret.child_value("IsBillable"), "false");
    EXPECT_FALSE(ret.child("BillableStatus"));

    const auto tickets = posted();
    ASSERT_EQ(tickets.size(), 1u);
    EXPECT_EQ(tickets[0].ticket.durationSeconds, 7 * 3600 + 30 * 60);
    EXPECT_EQ(tickets[0].ticket.txnDate, "2024-03-04");
    ASSERT_TRUE(tickets[0].ticket.wageItem);
    EXPECT_EQ(tickets[0].ticket.wageItem->name, "Hourly");
}

struct RefusalCase {
    const char* label;
    Ticket ticket;
    std::string code;
    std::string statusMessage;
};

class RefusalCases : public RequestHandlerTest,
                     public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalCases, AreAnsweredForTheRequestAndStoreNothing) {
    const auto elements = responseElements(handle(exportRequest({GetParam().ticket})));
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0].requestId, "5");
    EXPECT_EQ(elements[0].statusCode, GetParam().code);
    EXPECT_EQ(elements[0].statusSeverity, "Error");
    EXPECT_EQ(elements[0].statusMessage, GetParam().statusMessage);
    EXPECT_TRUE(elements[0].names.empty());
    EXPECT_TRUE(posted().empty());
}

INSTANTIATE_TEST_SUITE_P(
    TimeTracking, RefusalCases,
    ::testing::Values(
        RefusalCase{
            "InactiveEmployee", {"5", "Retired Worker"}, "3140", invalidEmployee("Retired Worker")},
        RefusalCase{"UnknownWageItem",
                    {"5", "Worker One", "Salary"},
                    "3140",
                    "There is an invalid reference to QuickBooks Payroll Item \"Salary\" in the "
                    "TimeTracking.  QuickBooks error message: Invalid argument.  The specified "
                    "record does not exist in the list."},
        RefusalCase{"InactiveWageItem",
                    {"5", "Worker One", "Old Rate"},
                    "3140",
                    "There is an invalid reference to QuickBooks Payroll Item \"Old Rate\" in the "
                    "TimeTracking.  QuickBooks error message: Invalid argument.  The specified "
                    "record does not exist in the list."},
        RefusalCase{"DateError",
                    {"5", "Worker One", "Hourly", "error"},
                    "3020",
                    "There was an error when converting the date value \"error\" in the field "
                    "\"TxnDate\"."},
        RefusalCase{"NoSuchDay",
                    {"5", "Worker One", "Hourly", "2023-02-29"},
                    "3020",
                    "There was an error when converting the date value \"2023-02-29\" in the "
                    "field \"TxnDate\"."},
        RefusalCase{"NegativeMinutes",
                    {"5", "Worker One", "Hourly", "2024-03-04", "PT0H-90M"},
                    "3035",
                    "There was an error when converting the time interval value \"PT0H-90M\" in "
                    "the field \"Duration\"."},
        RefusalCase{"DurationError",
                    {"5", "Worker One", "Hourly", "2024-03-04", "error"},
                    "3035",
                    "There was an error when converting the time interval value \"error\" in the "
                    "field \"Duration\"."},
        // The employee is checked only once the values have been converted.
        RefusalCase{"BadDateOfUnknownEmployee",
                    {"5", "Nobody", "Hourly", "2024-13-01"},
                    "3020",
                    "There was an error when converting the date value \"2024-13-01\" in the "
                    "field \"TxnDate\"."}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(RequestHandlerTest, NamesWithMarkupCharactersAndOtherScriptsRoundTrip) {
    const std::vector<std::string> names = {"Ann & <Bob> \"Q\" O'Neil", "Zoë Łukasz 山田 太郎"};
    addEmployees(names);
    addWageItems({"Taux & <heures>"});
    const auto query = responseElements(handle(kProgramQuery));
    ASSERT_EQ(query.size(), 2u);
    EXPECT_NE(std::find(query[0].names.begin(), query[0].names.end(), names[0]),
              query[0].names.end());
    EXPECT_NE(std::find(query[0].names.begin(), query[0].names.end(), names[1]),
              query[0].names.end());
    EXPECT_NE(std::find(query[1].names.begin(), query[1].names.end(), "Taux & <heures>"),
              query[1].names.end());

    const std::string unknown = "Jo \"Quote\" & <Tag>";
    const auto response = handle(exportRequest(
        {{"1", names[0], "Taux & <heures>"}, {"2", names[1], "Taux & <heures>"}, {"3", unknown}}));
    // Quotes in a status message come as entity references.
    EXPECT_NE(response.find("&quot;Jo &quot;Quote&quot; &amp; &lt;Tag>&quot;"), std::string::npos)
        << response;
    const auto elements = responseElements(response);
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0].names, std::vector<std::string>{names[0]});
    EXPECT_EQ(elements[1].names, std::vector<std::string>{names[1]});
    EXPECT_EQ(elements[2].statusMessage, invalidEmployee(unknown));
    const auto tickets = posted();
    ASSERT_EQ(tickets.size(), 2u);
    EXPECT_EQ(tickets[1].ticket.employee.name, names[1]);
    EXPECT_EQ(tickets[1].ticket.wageItem->name, "Taux & <heures>");
}

TEST_F(RequestHandlerTest, EveryPrologFormOfTheRequestIsAccepted) {
    const std::string body = "<EmployeeQueryRq requestID=\"1\"/>";
    for (const char* prolog : {
             "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.0//EN' "
             "'http://developer.intuit.com'>",
             "<!DOCTYPE QBXML PUBLIC \"-//INTUIT//DTD QBXML QBD 1.1//EN\" "
             "\"http://developer.intuit.com/\">",
             "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 2.0//EN' >",
             // The system identifier is never fetched, whatever it names.
             "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' "
             "'file:///no/such/qbxml.dtd'>",
             "<?qbxml version=\"2.0\"?>",
             "<?qbxml version=\"13.0\"?>",
         }) {
        const auto elements = responseElements(handle(message(body, prolog)));
        ASSERT_EQ(elements.size(), 1u) << prolog;
        EXPECT_EQ(elements[0].statusCode, "0") << prolog;
    }
}

TEST_F(RequestHandlerTest, ResponsesFollowRequestOrderAndOmitAnAbsentRequestId) {
    const auto elements = responseElements(
        handle(message("<PayrollItemWageQueryRq/><EmployeeQueryRq requestID=\"\"/>"
                       "<TimeTrackingAddRq><TimeTrackingAdd><EntityRef><FullName>Worker One"
                       "</FullName></EntityRef><Duration>PT1H</Duration></TimeTrackingAdd>"
                       "</TimeTrackingAddRq>")));
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0].name, "PayrollItemWageQueryRs");
    EXPECT_FALSE(elements[0].requestId);
    EXPECT_EQ(elements[1].requestId, "");
    EXPECT_FALSE(elements[2].requestId);
    EXPECT_EQ(elements[2].statusCode, "0");
    // No TxnDate: today; no wage item: none.
    ASSERT_EQ(posted().size(), 1u);
    EXPECT_EQ(posted()[0].ticket.txnDate, "2023-11-14");
    EXPECT_FALSE(posted()[0].ticket.wageItem);
}

TEST_F(RequestHandlerTest, ResponseDataAndIncludeRetElementLimitWhatIsReturned) {
    const auto none = handle(
        "<?qbxml version=\"13.0\"?><QBXML><QBXMLMsgsRq onError=\"stopOnError\" "
        "responseData=\"includeNone\"><EmployeeQueryRq/></QBXMLMsgsRq></QBXML>");
    EXPECT_EQ(none.find("EmployeeRet"), std::string::npos) << none;

    const auto some = handle(message(
        "<EmployeeQueryRq><MaxReturned>1</MaxReturned><IncludeRetElement>Name"
        "</IncludeRetElement><IncludeRetElement>ListID</IncludeRetElement></EmployeeQueryRq>"));
    EXPECT_NE(some.find("<EmployeeRet>\n<ListID>80000002-1700000000</ListID>\n<Name>Worker One"
                        "</Name>\n</EmployeeRet>\n"),
              std::string::npos)
        << some;
}

struct ParseErrorCase {
    const char* label;
    std::string text;
    ProcessorCode code = ProcessorCode::ParseError;
};

class ParseErrorCases : public RequestHandlerTest,
                        public ::testing::WithParamInterface<ParseErrorCase> {};

TEST_P(ParseErrorCases, RefuseTheWholeMessageAndProcessNothing) {
    try {
        handle(GetParam().text);
        FAIL() << "no failure for " << GetParam().text;
    } catch (const ProcessorError& e) {
        EXPECT_EQ(e.code(), GetParam().code);
        EXPECT_STREQ(e.what(), processorMessage(GetParam().code));
    }
    EXPECT_TRUE(posted().empty());
}

// Every message below starts with a request that would be accepted on its own.
const std::string kGood =
    "<TimeTrackingAddRq requestID=\"1\"><TimeTrackingAdd><EntityRef><FullName>Worker One"
    "</FullName></EntityRef><Duration>PT1H</Duration></TimeTrackingAdd></TimeTrackingAddRq>";

std::string add(const std::string& content) {
    return kGood + "<TimeTrackingAddRq requestID=\"2\"><TimeTrackingAdd>" + content +
           "</TimeTrackingAdd></TimeTrackingAddRq>";
}

const std::string kEntity = "<EntityRef><FullName>Worker One</FullName></EntityRef>";
const std::string kV11 =
    "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' 'http://developer.intuit.com'>";

INSTANTIATE_TEST_SUITE_P(
    Messages, ParseErrorCases,
    ::testing::Values(
        ParseErrorCase{"Truncated", message(kGood).substr(0, 150)},
        ParseErrorCase{"TextAfterRoot", message(kGood) + "trailing"},
        ParseErrorCase{"UnknownElement",
                       message(add(kEntity + "<Duration>PT1H</Duration><Overtime/>"))},
        ParseErrorCase{"OutOfOrder", message(add("<Duration>PT1H</Duration>" + kEntity))},
        ParseErrorCase{"DurationMissing", message(add(kEntity))},
        ParseErrorCase{"TextInAggregate", message(add(kEntity + "x<Duration>PT1H</Duration>"))},
        ParseErrorCase{"ElementInLeaf",
                       message(add(kEntity + "<Duration><Hours>1</Hours></Duration>"))},
        ParseErrorCase{"UnknownAttribute", message(kGood + "<EmployeeQueryRq requestId=\"2\"/>")},
        ParseErrorCase{"IsBillableAfter6",
                       message(add(kEntity + "<Duration>PT1H</Duration><IsBillable>false"
                                             "</IsBillable>"))},
        ParseErrorCase{"BillableStatusBefore6",
                       message(add(kEntity + "<Duration>PT1H</Duration><BillableStatus>"
                                             "NotBillable</BillableStatus>"),
                               kV11)},
        ParseErrorCase{"RateNotInDesktop",
                       message(add(kEntity + "<Rate>10.00</Rate><Duration>PT1H</Duration>"))},
        ParseErrorCase{"UnknownRequest", message(kGood + "<CustomerQueryRq/>")},
        ParseErrorCase{"BadActiveStatus",
                       message(kGood + "<EmployeeQueryRq><ActiveStatus>Some</ActiveStatus>"
                                       "</EmployeeQueryRq>")},
        ParseErrorCase{"MissingOnError", "<?qbxml version=\"13.0\"?><QBXML><QBXMLMsgsRq>" + kGood +
                                             "</QBXMLMsgsRq></QBXML>"},
        ParseErrorCase{"NoProlog", "<QBXML><QBXMLMsgsRq onError=\"stopOnError\">" + kGood +
                                       "</QBXMLMsgsRq></QBXML>"},
        ParseErrorCase{"BothPrologs", message(kGood, kV11 + "<?qbxml version=\"1.1\"?>")},
        ParseErrorCase{"ForeignDoctype",
                       message(kGood, "<!DOCTYPE QBXML PUBLIC '-//W3C//DTD XHTML 1.0//EN' 'x'>")},
        ParseErrorCase{"InternalSubset",
                       message(kGood, "<!DOCTYPE QBXML [<!ENTITY who 'Worker One'>]>")},
        ParseErrorCase{"UnknownVersion", message(kGood, "<?qbxml version=\"14.0\"?>"),
                       ProcessorCode::UnsupportedVersion},
        ParseErrorCase{"Rollback", message(kGood, "<?qbxml version=\"13.0\"?>", "rollbackOnError"),
                       ProcessorCode::RollbackNotSupported},
        // A message of time tickets is read one ticket at a time; what is wrong in one of them,
        // or around them, still refuses the whole message.
        ParseErrorCase{"RepeatedAttributeInALaterTicket",
                       message(kGood +
                               "<TimeTrackingAddRq requestID=\"2\" requestID=\"3\">"
                               "<TimeTrackingAdd>" +
                               kEntity +
                               "<Duration>PT1H</Duration></TimeTrackingAdd>"
                               "</TimeTrackingAddRq>")},
        ParseErrorCase{"UnknownEntityInALaterTicket",
                       message(add("<EntityRef><FullName>&who;</FullName></EntityRef>"
                                   "<Duration>PT1H</Duration>"))},
        ParseErrorCase{
            "LessThanInAnAttributeOfALaterTicket",
            message(kGood + "<TimeTrackingAddRq requestID=\"<2\"><TimeTrackingAdd>" + kEntity +
                    "<Duration>PT1H</Duration></TimeTrackingAdd>"
                    "</TimeTrackingAddRq>")},
        ParseErrorCase{"UnclosedLaterTicket",
                       message(kGood + "<TimeTrackingAddRq requestID=\"2\"><TimeTrackingAdd>")},
        ParseErrorCase{"TicketInsideAnotherRequest",
                       message(kGood + "<TimeTrackingQueryRq>" + kGood + "</TimeTrackingQueryRq>")},
        ParseErrorCase{"TicketAfterTheRoot", message(kGood) + kGood},
        ParseErrorCase{"ElementNamedLikeTheReadersMark", message(kGood + "<vantrell.piece/>")},
        ParseErrorCase{"ControlCharacterInALaterTicket",
                       message(add("<EntityRef><FullName>Worker\x01One</FullName></EntityRef>"
                                   "<Duration>PT1H</Duration>"))}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(RequestHandlerTest, TicketsReadOneAtATimeKeepTheirPlaceAmongOtherRequests) {
    const std::string second =
        "<TimeTrackingAddRq requestID=\"3\"><TimeTrackingAdd><TxnDate>2024-03-05</TxnDate>"
        "<EntityRef><FullName><![CDATA[Worker]]> Two<!-- the second --></FullName></EntityRef>"
        "<Duration>PT2H</Duration></TimeTrackingAdd></TimeTrackingAddRq>";
    const auto elements =
        responseElements(handle(message(kGood + "<EmployeeQueryRq requestID=\"2\"/>" + second)));
    ASSERT_EQ(elements.size(), 3u);
    EXPECT_EQ(elements[0].name, "TimeTrackingAddRs");
    EXPECT_EQ(elements[1].name, "EmployeeQueryRs");
    EXPECT_EQ(elements[2].requestId, "3");
    EXPECT_EQ(elements[2].statusCode, "0");
    const auto tickets = posted();
    ASSERT_EQ(tickets.size(), 2u);
    EXPECT_EQ(tickets[1].ticket.employee.name, "Worker Two");
    EXPECT_EQ(tickets[1].ticket.txnDate, "2024-03-05");
    EXPECT_EQ(tickets[1].ticket.durationSeconds, 7200);
}

TEST_F(RequestHandlerTest, LargeMessageIsAnsweredWhole) {
    std::vector<Ticket> tickets;
    for (int i = 1; i <= 2000; ++i) {
        tickets.push_back({std::to_string(i), i % 2 ? "Worker One" : "Worker Two"});
    }
    const auto elements = responseElements(handle(exportRequest(tickets)));
    ASSERT_EQ(elements.size(), 2000u);
    EXPECT_EQ(elements.back().requestId, "2000");
    EXPECT_EQ(elements.back().statusCode, "0");
    EXPECT_EQ(posted().size(), 2000u);
}

}  // namespace
}  // namespace vantrell::standins
