#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "qblink/XmlWriting.h"
#include "standins/RecordText.h"
#include "standins/ResponseDocument.h"

namespace vantrell::standins {
namespace {

// Fills `document` with the same responses every time, flushing after each when asked.
void fill(ResponseDocument& document, bool flushEach) {
    auto employees = document.addResponse("EmployeeQueryRs", std::string("Employee"), statusOk());
    auto record = employees.append_child("EmployeeRet");
    appendTextElement(record, "Name", "Zoë O'Brien & Sons <Ltd>");
    appendTextElement(record.append_child("EmployeePayrollInfo").append_child("Earnings"),
                      "FullName", "Hourly \"A\"");
    appendTextElement(record, "Empty", "");
    if (flushEach) {
        document.flush();
    }
    document.addResponse("PayrollItemWageQueryRs", std::nullopt, noMatchingObject());
    if (flushEach) {
        document.flush();
    }
    auto ticket =
        document.addResponse("TimeTrackingAddRs", std::string("7"), invalidDate("x", "TxnDate"));
    ticket.append_child("TimeTrackingRet");
    if (flushEach) {
        document.flush();
        document.flush();
    }
}

// Answers are written out one by one; the message must read exactly as the whole tree saved
// in one piece, as the accounting system writes it.
TEST(ResponseDocument, AnswersFlushedOneByOneGiveTheTextOfTheWholeTree) {
    ResponseDocument whole;
    fill(whole, false);
    ResponseDocument flushed;
    fill(flushed, true);
    const std::string text = whole.takeText();
    EXPECT_EQ(flushed.takeText(), text);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n<EmployeeQueryRs ", 0),
              0u);
    EXPECT_NE(text.find("<Name>Zoë O'Brien &amp; Sons &lt;Ltd&gt;</Name>\n<EmployeePayrollInfo>\n"),
              std::string::npos);
    const std::string end = "<TimeTrackingRet />\n</TimeTrackingAddRs>\n</QBXMLMsgsRs>\n</QBXML>\n";
    ASSERT_GE(text.size(), end.size());
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

// Fills `document` with an answer of many records after another answer, writing the records
// out every `batch` records when `batch` is not 0.
void fillMany(ResponseDocument& document, int batch) {
    document.addResponse("TxnDelRs", std::string("d"), objectNotFound("Q\"&<"));
    auto element = document.addResponse("TimeTrackingQueryRs", std::string("\"&<>'\n"), statusOk());
    element.append_attribute("retCount") = 7;
    for (int i = 1; i <= 7; ++i) {
        auto record = element.append_child("TimeTrackingRet");
        appendTextElement(record, "TxnID", std::to_string(i) + " & <Zoë>");
        record.append_child("EntityRef").append_child("Empty");
        if (batch != 0 && i % batch == 0) {
            document.flushRecords(element);
        }
    }
    document.addResponse("TxnDelRs", std::nullopt, notProcessed());
}

TEST(ResponseDocument, RecordsWrittenOutInBatchesGiveTheTextOfTheWholeTree) {
    ResponseDocument whole;
    fillMany(whole, 0);
    const std::string text = whole.takeText();
    for (int batch : {1, 3, 7}) {
        ResponseDocument batched;
        fillMany(batched, batch);
        EXPECT_EQ(batched.takeText(), text) << batch;
    }
    EXPECT_NE(text.find("statusMessage=\"Status OK\" retCount=\"7\">\n<TimeTrackingRet>\n"),
              std::string::npos)
        << text;
}

// Fills `document` with answers of records; with `asText` most records are written straight to
// the text and the answers before the last are flushed, else all are nodes saved in one piece.
// The requestIDs and texts hold every byte but NUL.
void fillWithRecords(ResponseDocument& document, bool asText) {
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte) {
        everyByte += static_cast<char>(byte);
    }
    auto write = [&](pugi::xml_node element, const std::string& name, bool asNode) {
        if (!asNode) {
            RecordText record(document.recordText(element));
            record.open("EmployeeRet");
            record.text("Name", name);
            record.open("Empty");
            record.close("Empty");
            record.close("EmployeeRet");
            return;
        }
        auto record = element.append_child("EmployeeRet");
        appendTextElement(record, "Name", name);
        record.append_child("Empty");
    };
    document.addResponse("TxnDelRs", everyByte, objectNotFound(everyByte));
    auto employees = document.addResponse("EmployeeQueryRs", "E" + everyByte, statusOk());
    employees.append_attribute("retCount") = 4;
    for (int i = 0; i < 4; ++i) {
        // A record appended as a node among those written as text keeps its place.
        write(employees, everyByte.substr(static_cast<std::size_t>(i) * 70, 70), !asText || i == 1);
    }
    document.addResponse("EmployeeQueryRs", std::string("none"), noMatchingObject());
    if (asText) {
        document.flush();
    }
    auto added = document.addResponse("TimeTrackingAddRs", std::nullopt, statusOk());
    write(added, "", !asText);
    if (asText) {
        document.flush();
    }
    auto tickets = document.addResponse("TimeTrackingQueryRs", std::string(">'"), statusOk());
    write(tickets, "first", !asText);
    write(tickets, "second", !asText);
}

TEST(ResponseDocument, RecordsWrittenAsTextGiveTheTextOfTheWholeTree) {
    ResponseDocument whole;
    fillWithRecords(whole, false);
    ResponseDocument written;
    fillWithRecords(written, true);
    const std::string text = whole.takeText();
    EXPECT_EQ(written.takeText(), text);
    EXPECT_NE(text.find("<EmployeeQueryRs requestID=\"none\" statusCode=\"1\""), std::string::npos);
    EXPECT_NE(text.find(" />\n<TimeTrackingAddRs statusCode=\"0\""), std::string::npos);
}

TEST(ResponseDocument, AMessageWithoutAnswersKeepsItsEmptyElement) {
    ResponseDocument document;
    document.flush();
    EXPECT_EQ(document.takeText(),
              "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs />\n</QBXML>\n");
}

}  // namespace
}  // namespace vantrell::standins
