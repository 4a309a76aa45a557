#include <gtest/gtest.h>
#include <sqlite3.h>
#include <pugixml.hpp>

#include <algorithm>
#include <string>
#include <vector>

#include "CompanyFixture.h"
#include "qblink/RequestText.h"
#include "standins/CompanyFile.h"
#include "standins/SimulatedRequestProcessor.h"

namespace vantrell::standins {
namespace {

using testing::CompanyFixture;

// A change made by another program that uses the company file (the accounting system's own
// screens, say), which does not enforce the tickets' references.
void changeElsewhere(const std::filesystem::path& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.string().c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
}

std::string shown(const PostedTicket& posted) {
    const NewTicket& t = posted.ticket;
    std::string text = posted.txnId + " #" + std::to_string(posted.txnNumber) + " " +
                       std::to_string(posted.timeCreated) + " " + t.txnDate + " " +
                       t.employee.listId + " " + t.employee.name + " " +
                       (t.employee.active ? "active " : "inactive ") +
                       std::to_string(t.employee.timeCreated) + "/" +
                       std::to_string(t.employee.timeModified) + " ";
    text += t.wageItem ? t.wageItem->listId + " " + t.wageItem->name + " " +
                             (t.wageItem->active ? "active " : "inactive ") +
                             std::to_string(t.wageItem->timeModified)
                       : std::string("no wage item");
    text += " " + std::to_string(t.durationSeconds) + " " + t.notes.value_or("(no notes)") + " " +
            t.billableStatus;
    return text;
}

std::vector<std::string> visited(const CompanyFile& file, NamedEntries* entries = nullptr,
                                 const TicketSelection& selection = {}) {
    std::vector<std::string> seen;
    file.forEachTicket(
        selection,
        [&](const PostedTicket& posted) {
            seen.push_back(shown(posted));
            return true;
        },
        entries);
    return seen;
}

// Whole records, each with its employee and wage item as the file holds them now: what reading
// tickets in TxnDate order must give, however it reads them.
std::vector<std::string> wholeRecordsInOrder(const CompanyFile& file) {
    std::vector<PostedTicket> tickets = file.postedTickets();
    std::stable_sort(tickets.begin(), tickets.end(),
                     [](const PostedTicket& a, const PostedTicket& b) {
                         return a.ticket.txnDate < b.ticket.txnDate;
                     });
    std::vector<std::string> records;
    for (const auto& posted : tickets) {
        records.push_back(shown(posted));
    }
    return records;
}

// Tickets of three employees over two wage items and none, with and without notes, posted out
// of TxnDate order at two moments.
class TicketReadingTest : public CompanyFixture {
  protected:
    std::string employeeOne, employeeThree, overtime;

    void SetUp() override {
        CompanyFixture::SetUp();
        const Workers w = addWorkers();
        CompanyFile file(path);
        employeeOne = w.one.listId;
        employeeThree = w.three.listId;
        overtime = w.overtime.listId;
        file.begin();
        for (int i = 0; i < 60; ++i) {
            NewTicket t;
            // Ten days, each with two tickets of every employee.
            const int day = (i * 7) % 10 + 1;
            t.txnDate = std::string(day < 10 ? "2024-03-0" : "2024-03-") + std::to_string(day);
            t.employee = i % 3 == 0 ? w.one : (i % 3 == 1 ? w.two : w.three);
            t.wageItem =
                i % 4 == 0 ? std::nullopt : std::optional(i % 4 == 1 ? w.overtime : w.hourly);
            t.durationSeconds = 1800 + 60 * i;
            if (i % 5 == 0) {
                t.notes = "Note " + std::to_string(i);
            }
            t.billableStatus = i % 7 == 0 ? "Billable" : "NotBillable";
            file.post(t, now + i / 30);
        }
        file.commit();
    }
};

TEST_F(TicketReadingTest, TicketsReadInOrderAreTheWholeRecords) {
    const CompanyFile file(path);
    const auto expected = wholeRecordsInOrder(file);
    ASSERT_EQ(expected.size(), 60u);
    EXPECT_EQ(visited(file), expected);
    // Read again, the employees and wage items already met give the same records.
    NamedEntries entries;
    EXPECT_EQ(visited(file, &entries), expected);
    EXPECT_EQ(entries.employees.size(), 3u);
    EXPECT_EQ(entries.wageItems.size(), 2u);
    EXPECT_EQ(visited(file, &entries), expected);

    // A reading that stops early, and one that reads on from a ticket's place.
    std::vector<std::string> firstFive;
    PostedTicket fifth;
    file.forEachTicket({}, [&](const PostedTicket& posted) {
        firstFive.push_back(shown(posted));
        fifth = posted;
        return firstFive.size() < 5;
    });
    EXPECT_EQ(firstFive, std::vector<std::string>(expected.begin(), expected.begin() + 5));
    TicketSelection rest;
    rest.after = TicketPosition{fifth.ticket.txnDate, fifth.txnNumber};
    EXPECT_EQ(visited(file, &entries, rest),
              std::vector<std::string>(expected.begin() + 5, expected.end()));
}

// The file stays open for a whole session while its lists are changed by others: each reading
// shows the lists as they are then, a ticket whose wage item is gone has none, and one whose
// employee is gone is left out, as the whole records show them.
TEST_F(TicketReadingTest, ReadingsFollowListsChangedByOthers) {
    CompanyFile file(path);
    // Kept from one reading to the next, as an iterator keeps them from page to page.
    NamedEntries entries;
    const auto before = visited(file, &entries);
    ASSERT_EQ(before, wholeRecordsInOrder(file));

    changeElsewhere(path,
                    "update employee set name = 'Worker Renamed', time_modified = 5 "
                    "where list_id = '" +
                        employeeOne + "'");
    const auto renamed = visited(file, &entries);
    EXPECT_EQ(renamed, wholeRecordsInOrder(file));
    EXPECT_NE(renamed, before);
    EXPECT_EQ(std::count_if(renamed.begin(), renamed.end(),
                            [](const std::string& r) {
                                return r.find(" Worker Renamed ") != std::string::npos;
                            }),
              20);

    changeElsewhere(path, "delete from wage_item where list_id = '" + overtime + "'");
    EXPECT_EQ(visited(file, &entries), wholeRecordsInOrder(file));

    changeElsewhere(path, "delete from employee where list_id = '" + employeeThree + "'");
    const auto withoutThree = visited(file, &entries);
    EXPECT_EQ(withoutThree, wholeRecordsInOrder(file));
    EXPECT_EQ(withoutThree.size(), 40u);

    // Changes this program makes itself count as well.
    changeElsewhere(
        path, "insert into employee values ('" + employeeThree + "', 'Worker Back', 1, 1, 1)");
    EXPECT_EQ(visited(file, &entries).size(), 60u);
    file.setInactive({"Worker Back"}, now);
    const auto back = visited(file, &entries);
    EXPECT_EQ(back, wholeRecordsInOrder(file));
    EXPECT_EQ(std::count_if(back.begin(), back.end(),
                            [](const std::string& r) {
                                return r.find(" Worker Back inactive ") != std::string::npos;
                            }),
              20);
}

// Through the session's pages: an employee renamed between two pages is shown by the new name
// on the later one.
TEST_F(TicketReadingTest, APageAfterARenameShowsTheNewName) {
    SimulatedRequestProcessor processor(clock);
    processor.OpenConnection("QBMarwick", "Chronel interface");
    const std::string session = processor.BeginSession(path.string(), 0);
    const auto names = [](const std::string& response) {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(response.c_str())) << response;
        const auto rs = document.child("QBXML").child("QBXMLMsgsRs").child("TimeTrackingQueryRs");
        std::vector<std::string> found;
        for (const auto& ret : rs.children("TimeTrackingRet")) {
            found.push_back(ret.child("EntityRef").child_value("FullName"));
        }
        return std::pair(found, std::string(rs.attribute("iteratorID").value()));
    };
    const auto [first, iteratorId] = names(processor.ProcessRequest(
        session, postedTicketPageRequest("2024-03-01", "2024-03-31", 30, "")));
    ASSERT_EQ(first.size(), 30u);
    EXPECT_EQ(std::count(first.begin(), first.end(), "Worker One"), 10);

    changeElsewhere(
        path, "update employee set name = 'Worker Renamed' where list_id = '" + employeeOne + "'");
    const auto [second, sameId] = names(processor.ProcessRequest(
        session, postedTicketPageRequest("2024-03-01", "2024-03-31", 30, iteratorId)));
    EXPECT_EQ(sameId, iteratorId);
    ASSERT_EQ(second.size(), 30u);
    EXPECT_EQ(std::count(second.begin(), second.end(), "Worker One"), 0);
    EXPECT_EQ(std::count(second.begin(), second.end(), "Worker Renamed"), 10);
    processor.EndSession(session);
    processor.CloseConnection();
}

}  // namespace
}  // namespace vantrell::standins
