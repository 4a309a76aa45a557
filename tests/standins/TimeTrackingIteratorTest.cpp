#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "CompanyFixture.h"
#include "qblink/RequestText.h"
#include "standins/ProcessorError.h"
#include "standins/SimulatedRequestProcessor.h"

namespace vantrell::standins {
namespace {

using testing::CompanyFixture;
using testing::message;

// One TimeTrackingQueryRs as read back.
struct Page {
    std::string statusCode;
    std::string statusMessage;
    bool hasRemaining = false;
    long long remaining = -1;
    std::string iteratorId;
    std::vector<std::string> txnIds;
    std::set<std::string> elements;  // names of the records' children, all records together
};

Page readPage(const std::string& response) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(response.c_str())) << response;
    const auto rs = document.child("QBXML").child("QBXMLMsgsRs").child("TimeTrackingQueryRs");
    EXPECT_TRUE(rs) << response;
    Page page;
    page.statusCode = rs.attribute("statusCode").value();
    page.statusMessage = rs.attribute("statusMessage").value();
    page.hasRemaining = !rs.attribute("iteratorRemainingCount").empty();
    page.remaining = rs.attribute("iteratorRemainingCount").as_llong(-1);
    page.iteratorId = rs.attribute("iteratorID").value();
    for (const auto& ret : rs.children("TimeTrackingRet")) {
        page.txnIds.push_back(ret.child_value("TxnID"));
        for (const auto& child : ret.children()) {
            page.elements.insert(child.name());
        }
    }
    return page;
}

// A query of the paged kind with the given iterator attributes and body.
std::string pagedQuery(const std::string& attributes, const std::string& body = "") {
    return message("<TimeTrackingQueryRq requestID=\"1\" " + attributes + ">" + body +
                       "</TimeTrackingQueryRq>",
                   "<?qbxml version=\"5.0\"?>");
}

// A company file of a few thousand tickets, posted out of TxnDate order, through a session of
// the simulated request processor.
class TimeTrackingIteratorTest : public CompanyFixture {
  protected:
    static constexpr int kInRange = 3000;
    SimulatedRequestProcessor processor{clock};
    std::string ticket;
    std::vector<std::string> expected;       // TxnIDs dated in March, in TxnDate, TxnNumber order
    std::vector<std::string> expectedDates;  // their TxnDates

    void SetUp() override {
        CompanyFixture::SetUp();
        const Workers w = addWorkers();
        CompanyFile file(path);
        struct Row {
            std::string date;
            std::int64_t number;
            std::string txnId;
        };
        std::vector<Row> inRange;
        file.begin();
        for (int i = 0; i < kInRange + 400; ++i) {
            NewTicket t;
            // Days 1 to 31 of March, in an order unlike the posting order; some in February
            // and April, outside the range asked for.
            const int day = (i * 7) % 31 + 1;
            const char* month = i % 17 == 0 ? "02" : (i % 19 == 0 ? "04" : "03");
            char date[11];
            std::snprintf(date, sizeof date, "2024-%s-%02d", month, day);
            t.txnDate = date;
            t.employee = i % 3 == 0 ? w.one : (i % 3 == 1 ? w.two : w.three);
            t.wageItem = w.hourly;
            t.durationSeconds = 3600 + i;
            t.notes = "Keyed by hand";
            const PostedTicket posted = file.post(t, now);
            if (std::string(month) == "03") {
                inRange.push_back({t.txnDate, posted.txnNumber, posted.txnId});
            }
        }
        file.commit();
        std::sort(inRange.begin(), inRange.end(), [](const Row& a, const Row& b) {
            return a.date != b.date ? a.date < b.date : a.number < b.number;
        });
        for (const auto& row : inRange) {
            expected.push_back(row.txnId);
            expectedDates.push_back(row.date);
        }
        processor.OpenConnection("QBMarwick", "Chronel interface");
        ticket = processor.BeginSession(path.string(), 0);
    }

    Page ask(const std::string& request) {
        return readPage(processor.ProcessRequest(ticket, request));
    }

    Page page(int maxReturned, const std::string& iteratorId) {
        return ask(postedTicketPageRequest("2024-03-01", "2024-03-31", maxReturned, iteratorId));
    }
};

TEST_F(TimeTrackingIteratorTest, PagesReturnEveryTicketOnceInOrderAndCountDownToZero) {
    ASSERT_GT(expected.size(), 2000u);
    const auto total = static_cast<long long>(expected.size());
    for (const int maxReturned : {7, 250, 1000, static_cast<int>(total), 5000}) {
        SCOPED_TRACE(maxReturned);
        std::vector<std::string> seen;
        std::string iteratorId;
        int pages = 0;
        for (;;) {
            const Page got = page(maxReturned, iteratorId);
            ASSERT_EQ(got.statusCode, "0") << got.statusMessage;
            ASSERT_TRUE(got.hasRemaining);
            if (iteratorId.empty()) {
                iteratorId = got.iteratorId;
                ASSERT_FALSE(iteratorId.empty());
            }
            EXPECT_EQ(got.iteratorId, iteratorId);
            EXPECT_LE(static_cast<int>(got.txnIds.size()), maxReturned);
            seen.insert(seen.end(), got.txnIds.begin(), got.txnIds.end());
            EXPECT_EQ(got.remaining, total - static_cast<long long>(seen.size()));
            // Only what the check pairs on.
            EXPECT_EQ(got.elements, (std::set<std::string>{"TxnID", "TxnDate", "EntityRef",
                                                           "PayrollItemWageRef", "Duration"}));
            ++pages;
            if (got.remaining == 0) {
                break;
            }
            ASSERT_LT(pages, 1000) << "the iterator does not end";
        }
        EXPECT_EQ(seen, expected);
        EXPECT_EQ(pages, (total + maxReturned - 1) / maxReturned);
    }
}

// A page that ends with the last ticket of a day: the next one starts with the next day's first.
TEST_F(TimeTrackingIteratorTest, APageEndingWithADayGoesOnWithTheNextDay) {
    const auto firstDay = static_cast<int>(
        std::count(expectedDates.begin(), expectedDates.end(), expectedDates.front()));
    ASSERT_GT(firstDay, 1);
    ASSERT_LT(firstDay, static_cast<int>(expected.size()));
    std::vector<std::string> seen;
    std::string iteratorId;
    for (int pages = 0; pages < 1000; ++pages) {
        const Page got = page(firstDay, iteratorId);
        ASSERT_EQ(got.statusCode, "0") << got.statusMessage;
        iteratorId = got.iteratorId;
        seen.insert(seen.end(), got.txnIds.begin(), got.txnIds.end());
        if (got.remaining == 0) {
            break;
        }
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(TimeTrackingIteratorTest, IteratorsThatDoNotExistAreRefusedWithTheirId) {
    const auto refused = [&](const std::string& id) {
        const Page got = page(100, id);
        EXPECT_EQ(got.statusCode, "3391");
        EXPECT_EQ(got.statusMessage, "The iteratorID \"" + id + "\" is not valid.");
        EXPECT_TRUE(got.txnIds.empty());
        EXPECT_FALSE(got.hasRemaining);
    };
    refused("{00000000-0000-0000-0000-000000000000}");

    // Continue after the last page: the iterator has ended.
    const Page whole = page(5000, "");
    ASSERT_EQ(whole.remaining, 0);
    refused(whole.iteratorId);

    // Stopped half-way.
    const Page first = page(100, "");
    ASSERT_GT(first.remaining, 0);
    const Page stopped = ask(postedTicketIteratorStopRequest(first.iteratorId));
    EXPECT_EQ(stopped.statusCode, "0");
    EXPECT_EQ(stopped.iteratorId, first.iteratorId);
    EXPECT_TRUE(stopped.txnIds.empty());
    refused(first.iteratorId);
    EXPECT_EQ(ask(postedTicketIteratorStopRequest(first.iteratorId)).statusCode, "3391");

    // An iterator of a session that has ended, even on the same file.
    const Page started = page(100, "");
    processor.EndSession(ticket);
    ticket = processor.BeginSession(path.string(), 0);
    refused(started.iteratorId);
}

TEST_F(TimeTrackingIteratorTest, IteratorsOfOneSessionAreNotSeenByAnother) {
    const Page started = page(100, "");
    SimulatedRequestProcessor other{clock};
    other.OpenConnection("QBMarwick", "Other copy");
    processor.EndSession(ticket);
    const std::string otherTicket = other.BeginSession(path.string(), 0);
    const Page got = readPage(other.ProcessRequest(
        otherTicket, postedTicketPageRequest("2024-03-01", "2024-03-31", 100, started.iteratorId)));
    EXPECT_EQ(got.statusCode, "3391");
    other.EndSession(otherTicket);
    ticket = processor.BeginSession(path.string(), 0);
}

TEST_F(TimeTrackingIteratorTest, PagesReadOnFromTheirPlaceWhenTicketsAreAddedBetween) {
    const Page first = page(1000, "");
    ASSERT_EQ(first.txnIds.size(), 1000u);
    // Another program keys a ticket dated before the page's end: it is not returned twice nor
    // does it shift the tickets after the page.
    {
        CompanyFile file(path);
        file.begin();
        NewTicket t;
        t.txnDate = "2024-03-01";
        t.employee = *file.findByName(ListKind::Employee, "Worker One");
        t.durationSeconds = 60;
        file.post(t, now);
        file.commit();
    }
    std::vector<std::string> seen = first.txnIds;
    std::string id = first.iteratorId;
    for (Page next = page(1000, id); !next.txnIds.empty(); next = page(1000, id)) {
        seen.insert(seen.end(), next.txnIds.begin(), next.txnIds.end());
        if (next.remaining == 0) {
            break;
        }
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(TimeTrackingIteratorTest, WithoutIncludeRetElementPagesHoldWholeRecords) {
    const Page got =
        ask(pagedQuery("iterator=\"Start\"",
                       "<MaxReturned>10</MaxReturned><TxnDateRangeFilter><FromTxnDate>2024-03-01"
                       "</FromTxnDate><ToTxnDate>2024-03-31</ToTxnDate></TxnDateRangeFilter>"));
    EXPECT_EQ(got.txnIds, std::vector<std::string>(expected.begin(), expected.begin() + 10));
    for (const char* element : {"TimeCreated", "TimeModified", "EditSequence", "TxnNumber", "Notes",
                                "IsBillable", "IsBilled"}) {
        EXPECT_EQ(got.elements.count(element), 1u) << element;
    }
    EXPECT_EQ(got.remaining, static_cast<long long>(expected.size()) - 10);
}

TEST_F(TimeTrackingIteratorTest, AnIteratorOverOneEmployeeOrNothingFound) {
    const Page two = ask(pagedQuery(
        "iterator=\"Start\"",
        "<MaxReturned>400</MaxReturned><TxnDateRangeFilter><FromTxnDate>2024-03-01</FromTxnDate>"
        "<ToTxnDate>2024-03-31</ToTxnDate></TxnDateRangeFilter><TimeTrackingEntityFilter>"
        "<FullName>worker two</FullName></TimeTrackingEntityFilter>"
        "<IncludeRetElement>TxnID</IncludeRetElement>"));
    EXPECT_EQ(two.statusCode, "0");
    EXPECT_EQ(two.txnIds.size(), 400u);
    EXPECT_EQ(two.elements, std::set<std::string>{"TxnID"});
    // A third of the tickets are Worker Two's.
    EXPECT_NEAR(static_cast<double>(two.remaining + 400),
                static_cast<double>(expected.size()) / 3.0, 2.0);

    const Page none = ask(pagedQuery(
        "iterator=\"Start\"",
        "<MaxReturned>10</MaxReturned><TxnDateRangeFilter><FromTxnDate>2030-01-01</FromTxnDate>"
        "</TxnDateRangeFilter>"));
    EXPECT_EQ(none.statusCode, "1");
    EXPECT_EQ(none.statusMessage, "A query request did not find a matching object in QuickBooks");
    EXPECT_EQ(none.remaining, 0);
    EXPECT_TRUE(none.txnIds.empty());
}

TEST_F(TimeTrackingIteratorTest, IteratorsAreNotPartOfVersionsBeforeFive) {
    const std::string request = message(
        "<TimeTrackingQueryRq iterator=\"Start\"><MaxReturned>10</MaxReturned>"
        "</TimeTrackingQueryRq>",
        "<?qbxml version=\"4.0\"?>");
    try {
        processor.ProcessRequest(ticket, request);
        FAIL() << "a 4.0 iterator was accepted";
    } catch (const ProcessorError& e) {
        EXPECT_EQ(e.code(), ProcessorCode::ParseError);
    }
}

// A page's answer is of the page's size: its text grows with the tickets it holds, not with the
// tickets of the whole range.
TEST_F(TimeTrackingIteratorTest, APagesAnswerIsTheSizeOfItsTickets) {
    const std::string whole = processor.ProcessRequest(
        ticket, message("<TimeTrackingQueryRq><TxnDateRangeFilter><FromTxnDate>2024-03-01"
                        "</FromTxnDate><ToTxnDate>2024-03-31</ToTxnDate></TxnDateRangeFilter>"
                        "<IncludeRetElement>TxnID</IncludeRetElement><IncludeRetElement>TxnDate"
                        "</IncludeRetElement><IncludeRetElement>EntityRef</IncludeRetElement>"
                        "<IncludeRetElement>PayrollItemWageRef</IncludeRetElement>"
                        "<IncludeRetElement>Duration</IncludeRetElement></TimeTrackingQueryRq>",
                        "<?qbxml version=\"5.0\"?>"));
    const std::string pageOf100 = processor.ProcessRequest(
        ticket, postedTicketPageRequest("2024-03-01", "2024-03-31", 100, ""));
    const double perTicket =
        static_cast<double>(whole.size()) / static_cast<double>(expected.size());
    EXPECT_LT(static_cast<double>(pageOf100.size()), 100 * perTicket + 400)
        << pageOf100.size() << " bytes for 100 tickets";
}

TEST_F(TimeTrackingIteratorTest, AFileSetToAnOlderVersionRefusesLaterMessagesAsTheSystemDoes) {
    processor.EndSession(ticket);
    {
        CompanyFile file(path);
        file.setHighestQbxmlVersion("2.0");
        EXPECT_EQ(file.highestQbxmlVersion(), "2.0");
    }
    ticket = processor.BeginSession(path.string(), 0);
    for (const std::string& request :
         {postedTicketPageRequest("2024-03-01", "2024-03-31", 100, ""), nameHintQueryRequest(),
          message("<TimeTrackingQueryRq/>", "<?qbxml version=\"2.1\"?>")}) {
        try {
            processor.ProcessRequest(ticket, request);
            ADD_FAILURE() << "accepted: " << request;
        } catch (const ProcessorError& e) {
            EXPECT_EQ(e.code(), ProcessorCode::UnsupportedVersion);
            EXPECT_STREQ(e.what(),
                         "The version of QBXML that was requested is not supported or is unknown.");
        }
    }
    // The 2.0 whole answer, and the 1.x messages, are answered as before.
    const Page whole = ask(postedTicketQueryRequest("2024-03-01", "2024-03-31"));
    EXPECT_EQ(whole.txnIds, expected);
    EXPECT_FALSE(whole.hasRemaining);
    EXPECT_NO_THROW(processor.ProcessRequest(ticket, testing::kProgramQuery));

    processor.EndSession(ticket);
    {
        CompanyFile file(path);
        file.setHighestQbxmlVersion(std::nullopt);
        EXPECT_EQ(file.highestQbxmlVersion(), std::nullopt);
    }
    ticket = processor.BeginSession(path.string(), 0);
    EXPECT_EQ(page(100, "").statusCode, "0");
}

}  // namespace
}  // namespace vantrell::standins
