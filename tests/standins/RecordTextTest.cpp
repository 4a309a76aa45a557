#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "diag/Utf8.h"
#include "qblink/XmlWriting.h"
#include "standins/QbxmlProlog.h"
#include "standins/QbxmlValues.h"
#include "standins/RecordText.h"
#include "standins/RecordWriter.h"

namespace vantrell::standins {
namespace {

constexpr unsigned kFormat = pugi::format_indent | pugi::format_no_declaration;

// `node` as the message printer writes it: one element per line, no indentation.
std::string printed(pugi::xml_node node) {
    std::string text;
    StringWriter writer(text);
    node.print(writer, "", kFormat, pugi::encoding_utf8);
    return text;
}

// Values holding each byte but NUL alone and amid other text, every byte at once, text of other
// scripts, text that is not UTF-8, references and markup as text, and values that end early
// at a NUL.
std::vector<std::string> awkwardValues() {
    std::vector<std::string> values = {"",
                                       "plain",
                                       "Zoë Łukasz 山田 太郎 😀",
                                       "\xff\xfe\xc3 broken \xe2\x82",
                                       "&amp; &#38; <![CDATA[x]]> ]]> <!-- c --> <?pi?>",
                                       "\"'\"'",
                                       " \t\n\r ",
                                       std::string("ab\0<c&", 6),
                                       std::string("\0&", 2)};
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        values.push_back(std::string(1, c));
        values.push_back(std::string("a") + c + "z");
        everyByte += c;
    }
    values.push_back(everyByte);
    return values;
}

TEST(RecordText, TextAndAttributeValuesAreEscapedAsThePrinterEscapesThem) {
    for (const std::string& value : awkwardValues()) {
        pugi::xml_document document;
        auto element = document.append_child("X");
        appendTextElement(element, "T", value);
        element.append_attribute("a") = value.c_str();

        std::string text;
        RecordText record(text);
        record.text("T", value);
        EXPECT_EQ(text, printed(element.first_child())) << value;

        std::string attribute = "<X a=\"";
        appendEscapedAttribute(attribute, value);
        attribute += "\">\n";
        const std::string reference = printed(element);
        EXPECT_EQ(attribute, reference.substr(0, attribute.size())) << value;
    }
}

// Writes the same elements as text and as nodes, to compare the text with the nodes printed.
class BothWays {
  public:
    BothWays(pugi::xml_node parent, const std::vector<std::string>& keepOnly)
        : record_(text_, keepOnly), open_{parent} {}

    void open(const char* name) {
        record_.open(name);
        open_.push_back(open_.back().append_child(name));
    }
    void text(const char* name, const std::string& value) {
        record_.text(name, value);
        appendTextElement(open_.back(), name, value);
    }
    void close(const char* name) {
        record_.close(name);
        open_.pop_back();
    }
    const std::string& written() const { return text_; }

  private:
    std::string text_;
    RecordText record_;
    std::vector<pugi::xml_node> open_;
};

// A record with nested aggregates, an aggregate without content, empty text, and names that
// occur both as direct children of the record and deeper inside it.
void writeRecord(BothWays& out, const std::string& value) {
    out.open("Ret");
    out.text("ListID", value);
    out.text("Name", "");
    out.open("Ref");
    out.text("ListID", "inner " + value);
    out.text("Name", value);
    out.close("Ref");
    out.open("Empty");
    out.close("Empty");
    out.open("Info");
    out.open("Line");
    out.open("Ref");
    out.text("Name", value);
    out.close("Ref");
    out.close("Line");
    out.open("Line");
    out.close("Line");
    out.text("Last", value);
    out.close("Info");
    out.text("Name", std::string("after\0NUL", 9));
    out.close("Ret");
}

// What filtering the record built as nodes leaves: its direct children of the names kept.
void keepOnly(pugi::xml_node record, const std::vector<std::string>& names) {
    if (names.empty()) {
        return;
    }
    for (auto child = record.first_child(); child;) {
        const auto next = child.next_sibling();
        if (std::find(names.begin(), names.end(), child.name()) == names.end()) {
            record.remove_child(child);
        }
        child = next;
    }
}

TEST(RecordText, ElementsReadAsTheSameElementsPrintedAsNodes) {
    const std::vector<std::vector<std::string>> filters = {
        {},
        {"Name"},
        {"Ref", "Info"},
        {"Empty", "Last"},
        {"Line", "Last"},
        {"Nope"},
        {"Ret"},
        {"ListID", "Name", "Ref", "Empty", "Info"}};
    for (const auto& filter : filters) {
        for (const std::string value : {"v & <w>", "", "\x01\t\"'"}) {
            pugi::xml_document document;
            BothWays out(document, filter);
            writeRecord(out, value);
            // Two records in a row: nothing of the first carries over.
            writeRecord(out, value + "2");
            for (auto record : document.children()) {
                keepOnly(record, filter);
            }
            EXPECT_EQ(out.written(), printed(document.first_child()) +
                                         printed(document.first_child().next_sibling()))
                << ::testing::PrintToString(filter) << " " << value;
        }
    }
}

// The records as they were built as nodes and printed before they were written as text; the
// text must read the same to the last byte.
namespace reference {

constexpr std::size_t kNamePartLimit = 25;

void appendListCore(pugi::xml_node record, const ListRecord& entry) {
    appendTextElement(record, "ListID", entry.listId);
    appendTextElement(record, "TimeCreated", formatTimestamp(entry.timeCreated));
    appendTextElement(record, "TimeModified", formatTimestamp(entry.timeModified));
    appendTextElement(record, "EditSequence", std::to_string(entry.timeModified));
}

void appendReference(pugi::xml_node parent, const char* name, const std::string& listId,
                     const std::string& fullName) {
    auto reference = parent.append_child(name);
    appendTextElement(reference, "ListID", listId);
    appendTextElement(reference, "FullName", fullName);
}

void appendAccrual(pugi::xml_node parent, const char* name, const ListRecord& employee) {
    const std::string none = "PT0H0M0S";
    auto hours = parent.append_child(name);
    appendTextElement(hours, "HoursAvailable", none);
    appendTextElement(hours, "AccrualPeriod", "EveryPaycheck");
    appendTextElement(hours, "HoursAccrued", none);
    appendTextElement(hours, "MaximumHours", none);
    appendTextElement(hours, "IsResettingHoursEachNewYear", "false");
    appendTextElement(hours, "HoursUsed", none);
    appendTextElement(hours, "AccrualStartDate", formatDay(employee.timeCreated));
}

void appendEmployeeRet(pugi::xml_node parent, const ListRecord& employee,
                       const std::vector<ListRecord>& wageItems) {
    auto record = parent.append_child("EmployeeRet");
    appendListCore(record, employee);
    appendTextElement(record, "Name", employee.name);
    appendTextElement(record, "IsActive", employee.active ? "true" : "false");
    const std::size_t space = employee.name.rfind(' ');
    if (space != std::string::npos && space > 0) {
        appendTextElement(record, "FirstName",
                          firstCharacters(employee.name.substr(0, space), kNamePartLimit));
    }
    appendTextElement(record, "LastName",
                      firstCharacters(space == std::string::npos ? employee.name
                                                                 : employee.name.substr(space + 1),
                                      kNamePartLimit));
    appendTextElement(record, "PrintAs", employee.name);
    appendTextElement(record, "EmployeeType", "Regular");
    auto payroll = record.append_child("EmployeePayrollInfo");
    appendTextElement(payroll, "PayPeriod", "Weekly");
    for (const auto& wageItem : wageItems) {
        auto earnings = payroll.append_child("Earnings");
        appendReference(earnings, "PayrollItemWageRef", wageItem.listId, wageItem.name);
    }
    appendTextElement(payroll, "UseTimeDataToCreatePaychecks", "UseTimeData");
    appendAccrual(payroll, "SickHours", employee);
    appendAccrual(payroll, "VacationHours", employee);
}

void appendWageItemRet(pugi::xml_node parent, const ListRecord& wageItem,
                       const std::string& expenseAccountListId) {
    auto record = parent.append_child("PayrollItemWageRet");
    appendListCore(record, wageItem);
    appendTextElement(record, "Name", wageItem.name);
    appendTextElement(record, "IsActive", wageItem.active ? "true" : "false");
    appendTextElement(record, "WageType", "HourlyRegular");
    appendReference(record, "ExpenseAccountRef", expenseAccountListId, "Payroll Expenses");
}

void appendNonWageItemRet(pugi::xml_node parent, const ListRecord& item) {
    auto record = parent.append_child("PayrollItemNonWageRet");
    appendListCore(record, item);
    appendTextElement(record, "Name", item.name);
    appendTextElement(record, "IsActive", item.active ? "true" : "false");
    appendTextElement(record, "NonWageType", "Addition");
}

void appendTimeTrackingRet(pugi::xml_node parent, const PostedTicket& posted,
                           const std::string& version) {
    const NewTicket& ticket = posted.ticket;
    auto record = parent.append_child("TimeTrackingRet");
    appendTextElement(record, "TxnID", posted.txnId);
    appendTextElement(record, "TimeCreated", formatTimestamp(posted.timeCreated));
    appendTextElement(record, "TimeModified", formatTimestamp(posted.timeCreated));
    appendTextElement(record, "EditSequence", std::to_string(posted.timeCreated));
    appendTextElement(record, "TxnNumber", std::to_string(posted.txnNumber));
    appendTextElement(record, "TxnDate", ticket.txnDate);
    appendReference(record, "EntityRef", ticket.employee.listId, ticket.employee.name);
    appendTextElement(record, "Duration", formatDuration(ticket.durationSeconds));
    if (ticket.wageItem) {
        appendReference(record, "PayrollItemWageRef", ticket.wageItem->listId,
                        ticket.wageItem->name);
    }
    if (ticket.notes) {
        appendTextElement(record, "Notes", *ticket.notes);
    }
    if (versionAtLeast(version, 6, 0)) {
        appendTextElement(record, "BillableStatus", ticket.billableStatus);
    } else {
        const bool billed = ticket.billableStatus == "HasBeenBilled";
        appendTextElement(record, "IsBillable",
                          billed || ticket.billableStatus == "Billable" ? "true" : "false");
        if (versionAtLeast(version, 2, 0)) {
            appendTextElement(record, "IsBilled", billed ? "true" : "false");
        }
    }
}

}  // namespace reference

// Names and other texts a record may carry, the name parts cut after 25 characters among them.
std::vector<std::string> awkwardNames() {
    return {"Ann & <Bob> \"Q\" O'Neil",
            "Zoë Łukasz 山田 太郎",
            "Single",
            " Leading",
            "Trailing ",
            "Two  Spaces  Here",
            "",
            " ",
            std::string("Before\0NUL After", 16),
            std::string("\0Hidden Name", 12),
            "Ctl\x01\x1f\x7f Name\tTab\nLine\rCR",
            "Not \xff\xfe UTF-8 \xc3",
            "ŁłŁłŁłŁłŁłŁłŁłŁłŁłŁłŁłŁłŁ ÉéÉéÉéÉéÉéÉéÉéÉéÉéÉéÉéÉéÉé",
            "Twentysixcharactersxxxxxxx Twentyfivecharactersxxxxx",
            "]]> &amp; &#38; <!-- -->"};
}

ListRecord listRecord(const std::string& name, std::size_t i) {
    static const std::int64_t kMoments[] = {0, -1, 1700000000, 253402300799, 86399};
    ListRecord record;
    record.listId = i % 3 == 0 ? name : "8000000" + std::to_string(i) + "-1700000000";
    record.name = name;
    record.active = i % 2 == 0;
    record.timeCreated = kMoments[i % 5];
    record.timeModified = kMoments[(i + 2) % 5];
    return record;
}

const std::vector<std::vector<std::string>> kFilters = {
    {},
    {"TxnID", "Notes"},
    {"ListID"},
    {"EntityRef", "PayrollItemWageRef", "IsBilled", "BillableStatus"},
    {"EmployeePayrollInfo", "Name"},
    {"FullName", "Earnings", "SickHours"},
    {"Nope"}};

// `write` called with a writer keeping `filter`, the text it wrote.
template <class Write>
std::string written(const std::vector<std::string>& filter, Write write) {
    std::string text;
    RecordText record(text, filter);
    write(record);
    return text;
}

// The record `append` adds, filtered as `filter` asks and printed.
template <class Append>
std::string printedRecord(const std::vector<std::string>& filter, Append append) {
    pugi::xml_document document;
    append(document);
    keepOnly(document.first_child(), filter);
    return printed(document.first_child());
}

TEST(RecordWriter, ListRecordsReadAsWhenBuiltAsNodes) {
    const auto names = awkwardNames();
    std::vector<ListRecord> entries;
    for (std::size_t i = 0; i < names.size(); ++i) {
        entries.push_back(listRecord(names[i], i));
    }
    for (const auto& filter : kFilters) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ListRecord& entry = entries[i];
            // Every wage item, none, and the first few.
            for (const std::vector<ListRecord>& wageItems :
                 {entries, std::vector<ListRecord>{},
                  std::vector<ListRecord>(entries.begin(), entries.begin() + 3)}) {
                EXPECT_EQ(
                    written(filter,
                            [&](RecordText& out) { writeEmployeeRet(out, entry, wageItems); }),
                    printedRecord(filter,
                                  [&](pugi::xml_node parent) {
                                      reference::appendEmployeeRet(parent, entry, wageItems);
                                  }))
                    << i << ::testing::PrintToString(filter);
            }
            const std::string& account = names[(i + 1) % names.size()];
            EXPECT_EQ(
                written(filter, [&](RecordText& out) { writeWageItemRet(out, entry, account); }),
                printedRecord(filter,
                              [&](pugi::xml_node parent) {
                                  reference::appendWageItemRet(parent, entry, account);
                              }))
                << i << ::testing::PrintToString(filter);
            EXPECT_EQ(written(filter, [&](RecordText& out) { writeNonWageItemRet(out, entry); }),
                      printedRecord(filter,
                                    [&](pugi::xml_node parent) {
                                        reference::appendNonWageItemRet(parent, entry);
                                    }))
                << i << ::testing::PrintToString(filter);
        }
    }
}

TEST(RecordWriter, TimeTrackingRecordsOfEveryVersionReadAsWhenBuiltAsNodes) {
    const auto names = awkwardNames();
    const std::int64_t durations[] = {0, -5400, 27000, 59, 3599999996400};
    const char* statuses[] = {"Billable", "NotBillable", "HasBeenBilled", "", "Billable & <x>"};
    std::vector<PostedTicket> tickets;
    for (std::size_t i = 0; i < names.size(); ++i) {
        PostedTicket posted;
        posted.txnNumber = i % 2 == 0 ? static_cast<std::int64_t>(i) : 9007199254740993;
        posted.txnId = i % 4 == 0 ? names[i] : std::to_string(i) + "-1700000000";
        // Tickets in pairs of the same moment, as an export posts them.
        posted.timeCreated = listRecord("", i / 2).timeCreated;
        NewTicket& ticket = posted.ticket;
        ticket.txnDate = i % 5 == 0 ? names[i] : "2024-03-04";
        ticket.employee = listRecord(names[i], i);
        if (i % 3 != 1) {
            ticket.wageItem = listRecord(names[(i + 3) % names.size()], i + 3);
        }
        if (i % 4 != 2) {
            ticket.notes = names[(i + 5) % names.size()];
        }
        ticket.durationSeconds = durations[i % 5];
        ticket.billableStatus = statuses[i % 5];
        tickets.push_back(posted);
    }
    for (const std::string version : {"1.0", "1.1", "2.0", "5.0", "6.0", "13.0"}) {
        for (const auto& filter : kFilters) {
            // One writer for all the tickets, as for those of one answer.
            TimeTrackingRetWriter records(version);
            for (const auto& posted : tickets) {
                EXPECT_EQ(written(filter, [&](RecordText& out) { records.write(out, posted); }),
                          printedRecord(filter,
                                        [&](pugi::xml_node parent) {
                                            reference::appendTimeTrackingRet(parent, posted,
                                                                             version);
                                        }))
                    << posted.txnNumber << " " << version << ::testing::PrintToString(filter);
            }
        }
    }
}

}  // namespace
}  // namespace vantrell::standins
