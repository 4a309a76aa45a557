#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CompanyFixture.h"
#include "standins/ProcessorError.h"

namespace vantrell::standins {
namespace {

using testing::CompanyFixture;
using testing::message;
using testing::responseElements;

constexpr const char* kNoMatch = "A query request did not find a matching object in QuickBooks";
const std::string kHostile = "Ann & <Bob> \"Q\" O'Neil";
const std::string kOtherScript = "Zoë Łukasz 山田 太郎";

// Employees get the ListIDs 80000002 (Worker One) to 80000005 in this order; the tickets get
// TxnIDs 1-1700000000 to 5-1700000000 in the order posted, which is not their TxnDate order.
class TimeTrackingQueryTest : public CompanyFixture {
  protected:
    void SetUp() override {
        CompanyFixture::SetUp();
        addEmployees({"Worker One", "Worker Two", kHostile, kOtherScript});
        addWageItems({"Hourly"});
        post({{"2024-03-05", "Worker One"},
              {"2024-03-04", "Worker Two"},
              {"2024-03-04", "Worker One"},
              {"2024-03-10", kHostile},
              {"2024-02-28", kOtherScript}});
    }

    // Posts tickets (TxnDate, employee) as the file stores them.
    void post(const std::vector<std::pair<std::string, std::string>>& tickets,
              const std::string& billableStatus = "NotBillable") {
        CompanyFile file(path);
        file.begin();
        for (const auto& [date, name] : tickets) {
            NewTicket ticket;
            ticket.txnDate = date;
            ticket.employee = *file.findByName(ListKind::Employee, name);
            ticket.wageItem = file.findByName(ListKind::WageItem, "Hourly");
            ticket.durationSeconds = 8 * 3600;
            ticket.notes = "Notes of " + name;
            ticket.billableStatus = billableStatus;
            file.post(ticket, now);
        }
        file.commit();
    }
};

struct QueryCase {
    const char* label;
    std::string body;  // inside TimeTrackingQueryRq
    std::string code;
    std::vector<std::string> names;  // EntityRef of each ticket returned, in order
    std::string statusMessage = {};
};

class TimeTrackingQueryCases : public TimeTrackingQueryTest,
                               public ::testing::WithParamInterface<QueryCase> {};

TEST_P(TimeTrackingQueryCases, AnswerAsTheAccountingSystem) {
    const auto elements = responseElements(handle(message(
        "<TimeTrackingQueryRq requestID=\"7\">" + GetParam().body + "</TimeTrackingQueryRq>")));
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0].name, "TimeTrackingQueryRs");
    EXPECT_EQ(elements[0].requestId, "7");
    EXPECT_EQ(elements[0].statusCode, GetParam().code);
    EXPECT_EQ(elements[0].names, GetParam().names);
    if (!GetParam().statusMessage.empty()) {
        EXPECT_EQ(elements[0].statusMessage, GetParam().statusMessage);
    }
}

std::string dates(const std::string& from, const std::string& to) {
    return "<TxnDateRangeFilter>" +
           (from.empty() ? "" : "<FromTxnDate>" + from + "</FromTxnDate>") +
           (to.empty() ? "" : "<ToTxnDate>" + to + "</ToTxnDate>") + "</TxnDateRangeFilter>";
}

std::string employees(const std::string& element, const std::vector<std::string>& values) {
    std::string text = "<TimeTrackingEntityFilter>";
    for (const auto& value : values) {
        text += "<" + element + ">" + value + "</" + element + ">";
    }
    return text + "</TimeTrackingEntityFilter>";
}

INSTANTIATE_TEST_SUITE_P(
    Filters, TimeTrackingQueryCases,
    ::testing::Values(
        QueryCase{"AllInDateThenNumberOrder",
                  "",
                  "0",
                  {kOtherScript, "Worker Two", "Worker One", "Worker One", kHostile}},
        QueryCase{"DateRangeIsInclusive",
                  dates("2024-03-04", "2024-03-05"),
                  "0",
                  {"Worker Two", "Worker One", "Worker One"}},
        QueryCase{"FromDateOnly", dates("2024-03-05", ""), "0", {"Worker One", kHostile}},
        QueryCase{"ToDateOnly", dates("", "2024-02-29"), "0", {kOtherScript}},
        QueryCase{"EmployeeByNameIgnoresLetterCase",
                  employees("FullName", {"WORKER one"}),
                  "0",
                  {"Worker One", "Worker One"}},
        QueryCase{"EmployeesByListId",
                  employees("ListID", {"80000003-1700000000", "80000005-1700000000"}),
                  "0",
                  {kOtherScript, "Worker Two"}},
        QueryCase{"DatesAndEmployee",
                  dates("2024-03-01", "2024-03-31") +
                      employees("FullName", {"Ann &amp; &lt;Bob> \"Q\" O'Neil", "Nobody"}),
                  "0",
                  {kHostile}},
        // The first ticket in order is another employee's; only selected tickets count.
        QueryCase{"MaxReturnedCountsSelectedTickets",
                  "<MaxReturned>1</MaxReturned>" + employees("FullName", {"Worker One"}),
                  "0",
                  {"Worker One"}},
        QueryCase{"MaxReturnedStopsEarly",
                  "<MaxReturned>1</MaxReturned>" + dates("2024-03-04", ""),
                  "0",
                  {"Worker Two"}},
        QueryCase{"ModifiedThatDay",
                  "<ModifiedDateRangeFilter><FromModifiedDate>2023-11-14</FromModifiedDate>"
                  "<ToModifiedDate>2023-11-14T22:13:20</ToModifiedDate></ModifiedDateRangeFilter>",
                  "0",
                  {kOtherScript, "Worker Two", "Worker One", "Worker One", kHostile}},
        QueryCase{"ModifiedLater",
                  "<ModifiedDateRangeFilter><FromModifiedDate>2023-11-14T22:13:21+00:00"
                  "</FromModifiedDate></ModifiedDateRangeFilter>",
                  "1",
                  {},
                  kNoMatch},
        QueryCase{"NoTicketInRange", dates("2025-01-01", ""), "1", {}, kNoMatch},
        QueryCase{"UnknownEmployee", employees("FullName", {"Nobody"}), "1", {}, kNoMatch},
        QueryCase{"BadDate",
                  dates("2024-02-30", ""),
                  "3020",
                  {},
                  "There was an error when converting the date value \"2024-02-30\" in the field "
                  "\"FromTxnDate\"."},
        QueryCase{"BadModifiedDate",
                  "<ModifiedDateRangeFilter><ToModifiedDate>soon</ToModifiedDate>"
                  "</ModifiedDateRangeFilter>",
                  "3020",
                  {},
                  "There was an error when converting the date value \"soon\" in the field "
                  "\"ToModifiedDate\"."},
        QueryCase{"ReversedRange",
                  dates("2024-03-05", "2024-03-04"),
                  "3030",
                  {},
                  "Invalid date range: From date is greater than To date."},
        QueryCase{"TxnIdsInDateOrderOnceEach",
                  "<TxnID>1-1700000000</TxnID><TxnID>5-1700000000</TxnID>"
                  "<TxnID>1-1700000000</TxnID>",
                  "0",
                  {kOtherScript, "Worker One"}},
        QueryCase{"UnknownTxnIdRefusesTheWholeList",
                  "<TxnID>1-1700000000</TxnID><TxnID>9-1700000000</TxnID>",
                  "3120",
                  {},
                  "Object \"9-1700000000\" specified in the request cannot be found.  QuickBooks "
                  "error message: Invalid argument.  The specified record does not exist in the "
                  "list."},
        QueryCase{"TxnIdOfAnotherCreationTime", "<TxnID>1-1600000000</TxnID>", "3120", {}},
        QueryCase{"MalformedTxnId", "<TxnID>-1-zz</TxnID>", "3120", {}}),
    [](const auto& test) { return std::string(test.param.label); });

struct VersionCase {
    const char* label;
    std::string prolog;
    std::string billableStatus;
    // The elements after Notes, with their text.
    std::vector<std::pair<std::string, std::string>> billable;
};

class RecordVersions : public TimeTrackingQueryTest,
                       public ::testing::WithParamInterface<VersionCase> {};

TEST_P(RecordVersions, CarryTheBillableElementsOfTheirVersion) {
    post({{"2024-04-01", "Worker Two"}}, GetParam().billableStatus);
    const auto response =
        handle(message("<TimeTrackingQueryRq><TxnID>6-1700000000</TxnID></TimeTrackingQueryRq>",
                       GetParam().prolog));
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(response.c_str()));
    const auto ret = document.select_node("//TimeTrackingQueryRs/TimeTrackingRet").node();
    ASSERT_TRUE(ret) << response;
    std::vector<std::pair<std::string, std::string>> afterNotes;
    for (auto child = ret.child("Notes").next_sibling(); child; child = child.next_sibling()) {
        afterNotes.emplace_back(child.name(), child.text().get());
    }
    EXPECT_EQ(afterNotes, GetParam().billable) << response;
    EXPECT_STREQ(ret.first_child().name(), "TxnID");
}

const std::string kV11 =
    "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' 'http://developer.intuit.com'>";

INSTANTIATE_TEST_SUITE_P(
    Versions, RecordVersions,
    ::testing::Values(VersionCase{"V11", kV11, "Billable", {{"IsBillable", "true"}}},
                      VersionCase{"V20Billed",
                                  "<?qbxml version=\"2.0\"?>",
                                  "HasBeenBilled",
                                  {{"IsBillable", "true"}, {"IsBilled", "true"}}},
                      VersionCase{"V50NotBillable",
                                  "<?qbxml version=\"5.0\"?>",
                                  "NotBillable",
                                  {{"IsBillable", "false"}, {"IsBilled", "false"}}},
                      VersionCase{"V60",
                                  "<?qbxml version=\"6.0\"?>",
                                  "Billable",
                                  {{"BillableStatus", "Billable"}}},
                      VersionCase{"V130",
                                  "<?qbxml version=\"13.0\"?>",
                                  "HasBeenBilled",
                                  {{"BillableStatus", "HasBeenBilled"}}}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(TimeTrackingQueryTest, AddAnswerInAnOldVersionCarriesIsBillable) {
    const auto response =
        handle(message("<TimeTrackingAddRq><TimeTrackingAdd><EntityRef><FullName>Worker One"
                       "</FullName></EntityRef><Duration>PT1H</Duration><Notes>n</Notes>"
                       "<IsBillable>true</IsBillable></TimeTrackingAdd></TimeTrackingAddRq>",
                       "<?qbxml version=\"2.0\"?>"));
    EXPECT_NE(response.find("<Notes>n</Notes>\n<IsBillable>true</IsBillable>\n<IsBilled>false"
                            "</IsBilled>\n</TimeTrackingRet>\n"),
              std::string::npos)
        << response;
}

TEST_F(TimeTrackingQueryTest, NamesWithMarkupAndOtherScriptsAreEscapedAndReturnedWhole) {
    const auto response =
        handle(message("<TimeTrackingQueryRq><TxnID>4-1700000000</TxnID><TxnID>5-1700000000"
                       "</TxnID></TimeTrackingQueryRq><TimeTrackingQueryRq><TxnID>&quot;&amp;&lt;"
                       "</TxnID></TimeTrackingQueryRq>",
                       "<?qbxml version=\"13.0\"?>", "continueOnError"));
    EXPECT_NE(response.find("<FullName>Ann &amp; &lt;Bob&gt; \"Q\" O'Neil</FullName>"),
              std::string::npos)
        << response;
    EXPECT_NE(response.find("<Notes>Notes of Zoë Łukasz 山田 太郎</Notes>"), std::string::npos);
    EXPECT_NE(response.find("statusMessage=\"Object &quot;&quot;&amp;&lt;&quot; specified"),
              std::string::npos)
        << response;
    const auto elements = responseElements(response);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].names, (std::vector<std::string>{kOtherScript, kHostile}));
    EXPECT_EQ(elements[1].statusCode, "3120");
}

TEST_F(TimeTrackingQueryTest, MetaDataCountsAndResponseDataNoneOmitsRecords) {
    const auto counted = handle(
        message("<TimeTrackingQueryRq metaData=\"MetaDataOnly\">" + dates("2024-03-04", "") +
                "</TimeTrackingQueryRq><TimeTrackingQueryRq metaData=\"MetaDataAndResponseData\">"
                "<MaxReturned>2</MaxReturned></TimeTrackingQueryRq>"));
    const auto elements = responseElements(counted);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_TRUE(elements[0].names.empty());
    EXPECT_EQ(elements[1].names.size(), 2u);
    EXPECT_NE(counted.find("statusMessage=\"Status OK\" retCount=\"4\" />"), std::string::npos)
        << counted;
    EXPECT_NE(counted.find("retCount=\"2\">"), std::string::npos) << counted;

    const auto none = handle(
        "<?qbxml version=\"13.0\"?><QBXML><QBXMLMsgsRq onError=\"stopOnError\" "
        "responseData=\"includeNone\"><TimeTrackingQueryRq/></QBXMLMsgsRq></QBXML>");
    EXPECT_NE(none.find("<TimeTrackingQueryRs statusCode=\"0\" statusSeverity=\"Info\" "
                        "statusMessage=\"Status OK\" />"),
              std::string::npos)
        << none;
}

TEST_F(TimeTrackingQueryTest, IncludeRetElementKeepsTheNamedElements) {
    const auto response = handle(message(
        "<TimeTrackingQueryRq><TxnID>2-1700000000</TxnID><IncludeRetElement>TxnDate"
        "</IncludeRetElement><IncludeRetElement>TxnID</IncludeRetElement></TimeTrackingQueryRq>"));
    EXPECT_NE(response.find("<TimeTrackingRet>\n<TxnID>2-1700000000</TxnID>\n<TxnDate>2024-03-04"
                            "</TxnDate>\n</TimeTrackingRet>\n"),
              std::string::npos)
        << response;
}

// The record text with only the direct children named in `keep`: each child is one line, or
// the lines from its start tag to its end tag.
std::string keptChildren(const std::string& record, const std::set<std::string>& keep) {
    std::istringstream lines(record);
    std::string line;
    std::string kept;
    std::string child;  // the child whose lines are being read; empty between children
    bool keeping = true;
    while (std::getline(lines, line)) {
        if (line == "<TimeTrackingRet>" || line == "</TimeTrackingRet>") {
            kept += line + "\n";
            continue;
        }
        if (child.empty()) {
            const std::size_t end = line.find_first_of(" >", 1);
            const std::string name = line.substr(1, end - 1);
            keeping = keep.count(name) != 0;
            // A child holding elements starts with a line of its start tag alone.
            if (line == "<" + name + ">") {
                child = name;
            }
        } else if (line == "</" + child + ">") {
            child.clear();
            kept += keeping ? line + "\n" : "";
            continue;
        }
        kept += keeping ? line + "\n" : "";
    }
    return kept;
}

// The records of an answer, each from its start tag to its end tag.
std::vector<std::string> recordsOf(const std::string& response) {
    std::vector<std::string> records;
    const std::string open = "<TimeTrackingRet>\n";
    const std::string close = "</TimeTrackingRet>\n";
    for (std::size_t at = response.find(open); at != std::string::npos;
         at = response.find(open, at + 1)) {
        records.push_back(response.substr(at, response.find(close, at) + close.size() - at));
    }
    return records;
}

// An answer limited by IncludeRetElement reads as the whole answer with the other elements
// taken out, in every version that knows it, for each element alone and for a few together.
TEST_F(TimeTrackingQueryTest, IncludeRetElementAnswersReadAsTheWholeAnswerLimited) {
    // The billable status is IsBillable and IsBilled before 6.0, BillableStatus from then on.
    const std::vector<std::set<std::string>> lists = {
        {"TxnID"},
        {"TimeCreated"},
        {"TimeModified"},
        {"EditSequence"},
        {"TxnNumber"},
        {"TxnDate"},
        {"EntityRef"},
        {"Duration"},
        {"PayrollItemWageRef"},
        {"Notes"},
        {"IsBillable"},
        {"IsBilled"},
        {"BillableStatus"},
        {"TxnID", "TxnDate", "EntityRef", "PayrollItemWageRef", "Duration"},
        {"EditSequence", "TimeModified", "IsBilled"}};
    const auto known = [](const std::string& version, const std::set<std::string>& list) {
        const bool before6 = version == "5.0";
        return before6 ? list.count("BillableStatus") == 0
                       : list.count("IsBillable") == 0 && list.count("IsBilled") == 0;
    };
    for (const char* version : {"5.0", "13.0"}) {
        const std::string range =
            "<TxnDateRangeFilter><FromTxnDate>2024-01-01</FromTxnDate></TxnDateRangeFilter>";
        const auto whole =
            recordsOf(handle(message("<TimeTrackingQueryRq>" + range + "</TimeTrackingQueryRq>",
                                     std::string("<?qbxml version=\"") + version + "\"?>")));
        ASSERT_EQ(whole.size(), 5u);
        for (const auto& list : lists) {
            if (!known(version, list)) {
                continue;
            }
            std::string elements;
            for (const auto& name : list) {
                elements += "<IncludeRetElement>" + name + "</IncludeRetElement>";
            }
            const auto limited = recordsOf(handle(
                message("<TimeTrackingQueryRq>" + range + elements + "</TimeTrackingQueryRq>",
                        std::string("<?qbxml version=\"") + version + "\"?>")));
            ASSERT_EQ(limited.size(), whole.size()) << version << " " << elements;
            for (std::size_t i = 0; i < whole.size(); ++i) {
                EXPECT_EQ(limited[i], keptChildren(whole[i], list)) << version << " " << elements;
            }
        }
    }
}

struct RefusedMessage {
    const char* label;
    std::string body;
    std::string prolog = "<?qbxml version=\"13.0\"?>";
};

class RefusedMessages : public TimeTrackingQueryTest,
                        public ::testing::WithParamInterface<RefusedMessage> {};

TEST_P(RefusedMessages, AreParseErrorsOfTheWholeMessage) {
    try {
        handle(
            message("<TxnDelRq><TxnDelType>TimeTracking</TxnDelType><TxnID>1-1700000000"
                    "</TxnID></TxnDelRq>" +
                        GetParam().body,
                    GetParam().prolog));
        FAIL() << "no failure for " << GetParam().body;
    } catch (const ProcessorError& e) {
        EXPECT_EQ(e.code(), ProcessorCode::ParseError);
    }
    // The deletion before the refused request did not happen either.
    EXPECT_EQ(posted().size(), 5u);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, RefusedMessages,
    ::testing::Values(
        // Iterators came with 5.0.
        RefusedMessage{"Iterator",
                       "<TimeTrackingQueryRq iterator=\"Start\"><MaxReturned>2"
                       "</MaxReturned></TimeTrackingQueryRq>",
                       "<?qbxml version=\"4.1\"?>"},
        RefusedMessage{"IteratorMode", "<TimeTrackingQueryRq iterator=\"Next\" iteratorID=\"x\"/>"},
        RefusedMessage{"DateMacro",
                       "<TimeTrackingQueryRq><TxnDateRangeFilter><DateMacro>Today"
                       "</DateMacro></TxnDateRangeFilter></TimeTrackingQueryRq>"},
        RefusedMessage{"EmployeeWithChildren",
                       "<TimeTrackingQueryRq><TimeTrackingEntityFilter><FullNameWithChildren>a"
                       "</FullNameWithChildren></TimeTrackingEntityFilter></TimeTrackingQueryRq>"},
        RefusedMessage{"BothDateFilters", "<TimeTrackingQueryRq><ModifiedDateRangeFilter/>" +
                                              dates("2024-01-01", "") + "</TimeTrackingQueryRq>"},
        RefusedMessage{"MaxReturnedAfterFilter",
                       "<TimeTrackingQueryRq>" + dates("2024-01-01", "") +
                           "<MaxReturned>1</MaxReturned></TimeTrackingQueryRq>"},
        RefusedMessage{"TxnIdWithFilter",
                       "<TimeTrackingQueryRq><TxnID>1</TxnID><MaxReturned>1"
                       "</MaxReturned></TimeTrackingQueryRq>"},
        RefusedMessage{"MaxReturnedZero",
                       "<TimeTrackingQueryRq><MaxReturned>0</MaxReturned></TimeTrackingQueryRq>"},
        RefusedMessage{"MetaDataBefore5", "<TimeTrackingQueryRq metaData=\"MetaDataOnly\"/>",
                       "<?qbxml version=\"4.0\"?>"},
        RefusedMessage{"IncludeRetElementBefore4",
                       "<TimeTrackingQueryRq><IncludeRetElement>TxnID</IncludeRetElement>"
                       "</TimeTrackingQueryRq>",
                       "<?qbxml version=\"2.0\"?>"},
        RefusedMessage{"UnknownTxnDelType",
                       "<TxnDelRq><TxnDelType>Paycheck</TxnDelType><TxnID>1"
                       "</TxnID></TxnDelRq>"},
        RefusedMessage{"TxnDelWithoutTxnId",
                       "<TxnDelRq><TxnDelType>TimeTracking</TxnDelType></TxnDelRq>"}),
    [](const auto& test) { return std::string(test.param.label); });

// Not timed: the answer is written batch by batch and must still come out whole and in order.
TEST_F(TimeTrackingQueryTest, TwentyThousandTicketsAreAnsweredWhole) {
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 20000; ++i) {
        char date[16];
        std::snprintf(date, sizeof date, "2023-%02d-%02d", 12 - i % 12, 1 + i % 28);
        many.emplace_back(date, i % 3 ? "Worker Two" : "Worker One");
    }
    post(many);
    const auto response =
        handle(message("<TimeTrackingQueryRq requestID=\"all\"><TxnDateRangeFilter><ToTxnDate>"
                       "2023-12-31</ToTxnDate></TxnDateRangeFilter></TimeTrackingQueryRq>",
                       "<?qbxml version=\"2.0\"?>"));
    EXPECT_EQ(response.rfind("<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n"
                             "<TimeTrackingQueryRs requestID=\"all\" statusCode=\"0\"",
                             0),
              0u);
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(response.c_str()));
    const auto rets =
        document.select_nodes("//TimeTrackingQueryRs[@requestID='all']/TimeTrackingRet");
    ASSERT_EQ(rets.size(), 20000u);
    std::string previous;
    for (const auto& ret : rets) {
        const std::string date = ret.node().child_value("TxnDate");
        ASSERT_LE(previous, date);
        previous = date;
    }
    EXPECT_EQ(response.find("\n\n"), std::string::npos);
    EXPECT_TRUE(response.ends_with(
        "</TimeTrackingRet>\n</TimeTrackingQueryRs>\n</QBXMLMsgsRs>\n</QBXML>\n"));
}

}  // namespace
}  // namespace vantrell::standins
