#include <gtest/gtest.h>

#include "CompanyFixture.h"
#include "support/XmlText.h"

namespace vantrell::standins {
namespace {

using testing::CompanyFixture;
using testing::exportRequest;
using testing::message;
using testing::responseElements;
using vantrell::testing::xmlEscaped;

const std::string kV20 = "<?qbxml version=\"2.0\"?>";

std::string deletion(const std::string& txnId, const std::string& type = "TimeTracking") {
    return "<TxnDelRq requestID=\"" + xmlEscaped(txnId) + "\"><TxnDelType>" + type +
           "</TxnDelType><TxnID>" + xmlEscaped(txnId) + "</TxnID></TxnDelRq>";
}

// Three tickets, TxnIDs 1-1700000000 to 3-1700000000, posted as the program exports them.
class TxnDelTest : public CompanyFixture {
  protected:
    void SetUp() override {
        CompanyFixture::SetUp();
        addEmployees({"Worker One", "Worker Two"});
        addWageItems({"Hourly"});
        handle(exportRequest({{"1", "Worker One"}, {"2", "Worker Two"}, {"3", "Worker One"}}));
    }

    std::vector<std::string> remaining() {
        std::vector<std::string> ids;
        for (const auto& ticket : posted()) {
            ids.push_back(ticket.txnId);
        }
        return ids;
    }
};

TEST_F(TxnDelTest, DeletedTicketIsAnsweredAsTheVersionDefinesAndNoLongerFound) {
    EXPECT_EQ(handle(message(deletion("2-1700000000"), kV20)),
              "<?xml version=\"1.0\" ?>\n<QBXML>\n<QBXMLMsgsRs>\n"
              "<TxnDelRs requestID=\"2-1700000000\" statusCode=\"0\" statusSeverity=\"Info\" "
              "statusMessage=\"Status OK\">\n"
              "<TxnDelType>TimeTracking</TxnDelType>\n"
              "<TxnID>2-1700000000</TxnID>\n"
              "</TxnDelRs>\n</QBXMLMsgsRs>\n</QBXML>\n");
    EXPECT_EQ(remaining(), (std::vector<std::string>{"1-1700000000", "3-1700000000"}));

    const auto elements = responseElements(
        handle(message("<TimeTrackingQueryRq/><TimeTrackingQueryRq><TxnID>2-1700000000</TxnID>"
                       "</TimeTrackingQueryRq>",
                       kV20, "continueOnError")));
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[0].names, (std::vector<std::string>{"Worker One", "Worker One"}));
    EXPECT_EQ(elements[1].statusCode, "3120");

    now += 60;
    const auto later = handle(message(deletion("3-1700000000")));
    EXPECT_NE(later.find("<TxnID>3-1700000000</TxnID>\n<TimeDeleted>2023-11-14T22:14:20+00:00"
                         "</TimeDeleted>\n</TxnDelRs>"),
              std::string::npos)
        << later;
}

struct DeletionCase {
    const char* label;
    std::string onError;
    std::vector<std::string> requests;
    std::vector<std::string> codes;
    std::vector<std::string> remaining;
};

class DeletionCases : public TxnDelTest, public ::testing::WithParamInterface<DeletionCase> {};

TEST_P(DeletionCases, AnswerEachRequestInOrder) {
    std::string body;
    for (const auto& request : GetParam().requests) {
        body += request;
    }
    const auto elements = responseElements(handle(message(body, kV20, GetParam().onError)));
    std::vector<std::string> codes;
    for (const auto& element : elements) {
        EXPECT_EQ(element.name, "TxnDelRs");
        codes.push_back(element.statusCode);
    }
    EXPECT_EQ(codes, GetParam().codes);
    EXPECT_EQ(remaining(), GetParam().remaining);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, DeletionCases,
    ::testing::Values(
        DeletionCase{"ContinueAfterUnknown",
                     "continueOnError",
                     {deletion("1-1700000000"), deletion("7-1700000000"), deletion("3-1700000000")},
                     {"0", "3120", "0"},
                     {"2-1700000000"}},
        DeletionCase{"StopAtUnknown",
                     "stopOnError",
                     {deletion("1-1700000000"), deletion("7-1700000000"), deletion("3-1700000000")},
                     {"0", "3120", "3231"},
                     {"2-1700000000", "3-1700000000"}},
        DeletionCase{"SecondDeletionOfTheSameTicket",
                     "continueOnError",
                     {deletion("2-1700000000"), deletion("2-1700000000")},
                     {"0", "3120"},
                     {"1-1700000000", "3-1700000000"}},
        // The file keeps no other kind of transaction, so no other kind is ever found.
        DeletionCase{"OtherKindOfTransaction",
                     "continueOnError",
                     {deletion("1-1700000000", "Invoice")},
                     {"3120"},
                     {"1-1700000000", "2-1700000000", "3-1700000000"}}),
    [](const auto& test) { return std::string(test.param.label); });

TEST_F(TxnDelTest, UnknownTicketIsRefusedWithTheObjectNotFoundText) {
    const auto response = handle(message(deletion("Q\"&<-1")));
    EXPECT_NE(response.find("<TxnDelRs requestID=\"Q&quot;&amp;&lt;-1\" statusCode=\"3120\" "
                            "statusSeverity=\"Error\" statusMessage=\"Object &quot;Q&quot;&amp;&lt;"
                            "-1&quot; specified in the request cannot be found.  QuickBooks error "
                            "message: Invalid argument.  The specified record does not exist in "
                            "the list.\" />\n"),
              std::string::npos)
        << response;
}

}  // namespace
}  // namespace vantrell::standins
