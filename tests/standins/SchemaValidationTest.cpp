#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "CompanyFixture.h"
#include "qblink/RequestText.h"

namespace vantrell::standins {
namespace {

using testing::CompanyFixture;
using testing::exportRequest;
using testing::message;

std::filesystem::path referenceFolder() {
    const char* overridden = std::getenv("VANTRELL_QBXML_DIR");
    return overridden ? overridden : VANTRELL_QBXML_DIR;
}

// Runs xmllint over the files; returns its exit status and output, or nothing when it cannot
// be run here.
std::optional<std::pair<int, std::string>> validate(const std::filesystem::path& schema,
                                                    const std::vector<std::filesystem::path>& files,
                                                    const std::filesystem::path& log) {
#ifdef _WIN32
    (void)schema, (void)files, (void)log;
    return std::nullopt;
#else
    if (std::system("xmllint --version > /dev/null 2>&1") != 0) {
        return std::nullopt;
    }
    std::string command = "xmllint --nonet --noout --schema \"" + schema.string() + "\"";
    for (const auto& file : files) {
        command += " \"" + file.string() + "\"";
    }
    const int status = std::system((command + " > \"" + log.string() + "\" 2>&1").c_str());
    std::FILE* in = std::fopen(log.string().c_str(), "rb");
    std::string output;
    if (in) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
            output.append(buffer, n);
        }
        std::fclose(in);
    }
    return std::make_pair(status, output);
#endif
}

// The export message as 13.0 writes it, so that its answer is of the version the schema is.
std::string asVersion13(std::string request) {
    const auto replace = [&](const std::string& from, const std::string& to) {
        for (auto at = request.find(from); at != std::string::npos; at = request.find(from, at)) {
            request.replace(at, from.size(), to);
            at += to.size();
        }
    };
    replace(
        "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' 'http://developer.intuit.com'>",
        "<?qbxml version=\"13.0\"?>");
    replace("<IsBillable>false</IsBillable>", "<BillableStatus>NotBillable</BillableStatus>");
    return request;
}

class SchemaValidationTest : public CompanyFixture {};

TEST_F(SchemaValidationTest, EveryKindOfResponseValidatesAgainstTheVendorSchema) {
    const auto schema = referenceFolder() / "schema" / "qbxml130" / "qbxmlops130.xsd";
    if (!std::filesystem::exists(schema)) {
        GTEST_SKIP() << "no schema at " << schema;
    }
    addEmployees({"Worker One", "Ann & <Bob> \"Q\" O'Neil", "Zoë Łukasz 山田 太郎",
                  "Maximiliansebastianfrederik Jo", std::string(41, 'x')});
    addWageItems({"Hourly", "Taux & <heures>", "Old Rate"});
    setInactive({"Old Rate"});
    const std::string emptyFile = sandbox.file("Empty.qbw").string();
    CompanyFile::create(emptyFile, now);

    std::vector<std::string> responses;
    responses.push_back(handle(testing::kProgramQuery));
    {
        CompanyFile empty(emptyFile);
        responses.push_back(RequestHandler(empty, clock).handle(testing::kProgramQuery));
    }
    responses.push_back(handle(message(
        "<EmployeeQueryRq requestID=\"a\"><FullName>Worker One</FullName><FullName>Nobody"
        "</FullName></EmployeeQueryRq><EmployeeQueryRq><ListID>1-1</ListID></EmployeeQueryRq>"
        "<PayrollItemWageQueryRq><ActiveStatus>All</ActiveStatus></PayrollItemWageQueryRq>"
        "<EmployeeQueryRq><FromModifiedDate>x</FromModifiedDate></EmployeeQueryRq>"
        "<PayrollItemWageQueryRq><FromModifiedDate>2024-01-02</FromModifiedDate><ToModifiedDate>"
        "2024-01-01</ToModifiedDate></PayrollItemWageQueryRq>"
        "<EmployeeQueryRq><IncludeRetElement>Name</IncludeRetElement></EmployeeQueryRq>",
        "<?qbxml version=\"13.0\"?>", "continueOnError")));
    responses.push_back(handle(asVersion13(exportRequest(
        {{"1", "Worker One"},
         {"2", "Ann & <Bob> \"Q\" O'Neil", "Taux & <heures>", "2024-02-29", "-PT1H30M"},
         {"3", "Zoë Łukasz 山田 太郎", "Hourly", "2024-03-04", "PT8H75M"},
         {"4", "Jo \"Quote\" & <Tag>"},
         {"5", "Worker One", "Old Rate"},
         {"6", "Worker One", "Hourly", "error"},
         {"7", "Worker One", "Hourly", "2024-03-04", "PT0H-90M"}},
        "continueOnError"))));
    responses.push_back(handle(asVersion13(exportRequest({{"8", "Nobody"}, {"9", "Worker One"}}))));
    responses.push_back(handle(message(
        "<TimeTrackingAddRq><TimeTrackingAdd><EntityRef><ListID>80000002-1700000000</ListID>"
        "</EntityRef><CustomerRef><FullName>Customer</FullName></CustomerRef><Duration>PT1H"
        "</Duration></TimeTrackingAdd></TimeTrackingAddRq>"
        "<TimeTrackingAddRq><TimeTrackingAdd><EntityRef><FullName>Worker One</FullName>"
        "</EntityRef><Duration>PT1H</Duration><Notes>" +
            std::string(4096, 'n') +
            "</Notes></TimeTrackingAdd></TimeTrackingAddRq>"
            "<TimeTrackingAddRq><TimeTrackingAdd><EntityRef><FullName>Worker One</FullName>"
            "</EntityRef><Duration>PT1H</Duration><Notes>Night &amp; day</Notes><BillableStatus>"
            "HasBeenBilled</BillableStatus></TimeTrackingAdd></TimeTrackingAddRq>",
        "<?qbxml version=\"13.0\"?>", "continueOnError")));
    responses.push_back(handle(message(
        "<TimeTrackingAddRq requestID=\"1\"><TimeTrackingAdd><EntityRef><FullName>Worker One"
        "</FullName></EntityRef><Duration>PT1H</Duration><IsBillable>maybe</IsBillable>"
        "</TimeTrackingAdd></TimeTrackingAddRq>",
        "<!DOCTYPE QBXML PUBLIC '-//INTUIT//DTD QBXML QBD 1.1//EN' "
        "'http://developer.intuit.com'>")));
    // Time-tracking queries and deletions of the tickets posted above (TxnIDs 1 to 4).
    responses.push_back(handle(message(
        "<TimeTrackingQueryRq requestID=\"q1\" metaData=\"MetaDataAndResponseData\"/>"
        "<TimeTrackingQueryRq><TxnID>3-1700000000</TxnID><TxnID>1-1700000000</TxnID>"
        "<IncludeRetElement>TxnID</IncludeRetElement><IncludeRetElement>EntityRef"
        "</IncludeRetElement></TimeTrackingQueryRq>"
        "<TimeTrackingQueryRq><TxnID>9-1</TxnID></TimeTrackingQueryRq>"
        "<TimeTrackingQueryRq><MaxReturned>2</MaxReturned><TxnDateRangeFilter><FromTxnDate>"
        "2024-03-01</FromTxnDate><ToTxnDate>2024-03-31</ToTxnDate></TxnDateRangeFilter>"
        "<TimeTrackingEntityFilter><FullName>zoë Łukasz 山田 太郎</FullName>"
        "</TimeTrackingEntityFilter></TimeTrackingQueryRq>"
        "<TimeTrackingQueryRq><TxnDateRangeFilter><FromTxnDate>2030-01-01</FromTxnDate>"
        "</TxnDateRangeFilter></TimeTrackingQueryRq>"
        "<TimeTrackingQueryRq><ModifiedDateRangeFilter><FromModifiedDate>bad</FromModifiedDate>"
        "</ModifiedDateRangeFilter></TimeTrackingQueryRq>"
        "<TimeTrackingQueryRq metaData=\"MetaDataOnly\"><TxnDateRangeFilter><FromTxnDate>"
        "2024-03-02</FromTxnDate><ToTxnDate>2024-03-01</ToTxnDate></TxnDateRangeFilter>"
        "</TimeTrackingQueryRq>"
        "<TxnDelRq requestID=\"d1\"><TxnDelType>TimeTracking</TxnDelType><TxnID>2-1700000000"
        "</TxnID></TxnDelRq>"
        "<TxnDelRq><TxnDelType>Invoice</TxnDelType><TxnID>1-1700000000</TxnID></TxnDelRq>",
        "<?qbxml version=\"13.0\"?>", "continueOnError")));
    responses.push_back(handle(
        message("<TxnDelRq><TxnDelType>TimeTracking</TxnDelType><TxnID>2-1700000000</TxnID>"
                "</TxnDelRq><TxnDelRq><TxnDelType>TimeTracking</TxnDelType><TxnID>1-1700000000"
                "</TxnID></TxnDelRq><TimeTrackingQueryRq/>")));
    for (const char* element : {"<TimeTrackingRet>", "<TimeDeleted>", "retCount=\"4\""}) {
        EXPECT_NE(responses[responses.size() - 2].find(element), std::string::npos) << element;
    }

    // Every status the handler writes is among these responses.
    std::string all;
    for (const auto& response : responses) {
        all += response;
    }
    for (const char* code : {"\"0\"", "\"1\"", "\"500\"", "\"3120\"", "\"3020\"", "\"3030\"",
                             "\"3140\"", "\"3231\"", "\"3035\"", "\"3010\"", "\"3070\""}) {
        EXPECT_NE(all.find(std::string("statusCode=") + code), std::string::npos) << code;
    }

    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < responses.size(); ++i) {
        const std::string name = "response" + std::to_string(i) + ".xml";
        sandbox.write(name, responses[i]);
        files.push_back(sandbox.file(name));
    }
    const auto result = validate(schema, files, sandbox.file("xmllint.txt"));
    if (!result) {
        GTEST_SKIP() << "xmllint is not available";
    }
    EXPECT_EQ(result->first, 0) << result->second;
    for (const auto& file : files) {
        EXPECT_NE(result->second.find(file.string() + " validates"), std::string::npos)
            << result->second;
    }
}

// The question behind the hints under missing names, and the simulator's answers to it and to
// the other queries of payroll items that are not wage items, are documents of the vendor's
// schema (version aside: the 5.0 question has the same elements in 13.0).
TEST_F(SchemaValidationTest, TheNameHintQueryAndItsAnswersValidateAgainstTheVendorSchema) {
    const auto schema = referenceFolder() / "schema" / "qbxml130" / "qbxmlops130.xsd";
    if (!std::filesystem::exists(schema)) {
        GTEST_SKIP() << "no schema at " << schema;
    }
    const std::string emptyFile = sandbox.file("Empty.qbw").string();
    CompanyFile::create(emptyFile, now);
    std::vector<std::string> documents = {nameHintQueryRequest()};
    {
        CompanyFile empty(emptyFile);
        documents.push_back(RequestHandler(empty, clock).handle(nameHintQueryRequest()));
    }
    addEmployees({"Worker One", "Ann & <Bob> \"Q\" O'Neil", "Old Hand"});
    addWageItems({"Hourly", "Taux & <heures>"});
    addNonWageItems({"Bonus", "Prime & <nuit> \"Q\"", "Zoë Łukasz 山田", std::string(31, 'x')});
    setInactive({"Old Hand", "Taux & <heures>", "Bonus"});
    documents.push_back(handle(nameHintQueryRequest()));
    documents.push_back(handle(message(
        "<PayrollItemNonWageQueryRq requestID=\"a\"><FullName>bonus</FullName><FullName>Nobody"
        "</FullName></PayrollItemNonWageQueryRq><PayrollItemNonWageQueryRq><ListID>1-1</ListID>"
        "</PayrollItemNonWageQueryRq><PayrollItemNonWageQueryRq><ActiveStatus>InactiveOnly"
        "</ActiveStatus><IncludeRetElement>Name</IncludeRetElement></PayrollItemNonWageQueryRq>"
        "<PayrollItemNonWageQueryRq><FromModifiedDate>x</FromModifiedDate>"
        "</PayrollItemNonWageQueryRq>",
        "<?qbxml version=\"13.0\"?>", "continueOnError")));
    const std::string answered = documents[2] + documents[3];
    for (const char* element :
         {"<PayrollItemNonWageRet>", "statusCode=\"500\"", "statusCode=\"3120\"",
          "statusCode=\"3020\"", "<IsActive>false</IsActive>", "&lt;nuit&gt;"}) {
        EXPECT_NE(answered.find(element), std::string::npos) << element;
    }
    EXPECT_NE(documents[1].find("PayrollItemNonWageQueryRs requestID=\"3\" statusCode=\"1\""),
              std::string::npos)
        << documents[1];

    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < documents.size(); ++i) {
        const std::string name = "hint" + std::to_string(i) + ".xml";
        sandbox.write(name, documents[i]);
        files.push_back(sandbox.file(name));
    }
    const auto result = validate(schema, files, sandbox.file("xmllint-hint.txt"));
    if (!result) {
        GTEST_SKIP() << "xmllint is not available";
    }
    EXPECT_EQ(result->first, 0) << result->second;
    for (const auto& file : files) {
        EXPECT_NE(result->second.find(file.string() + " validates"), std::string::npos)
            << result->second;
    }
}

// The paged check's requests and every answer to them (pages, the last page, nothing found, an
// iterator refused, an iterator stopped) are documents of the vendor's schema.
TEST_F(SchemaValidationTest, ThePagedCheckAndItsAnswersValidateAgainstTheVendorSchema) {
    const auto schema = referenceFolder() / "schema" / "qbxml130" / "qbxmlops130.xsd";
    if (!std::filesystem::exists(schema)) {
        GTEST_SKIP() << "no schema at " << schema;
    }
    addEmployees({"Worker One", "Ann & <Bob> \"Q\" O'Neil"});
    addWageItems({"Hourly"});
    handle(exportRequest({{"1", "Worker One"},
                          {"2", "Ann & <Bob> \"Q\" O'Neil", "Hourly", "2024-03-05"},
                          {"3", "Worker One", "Hourly", "2024-03-06"}}));
    std::vector<std::string> documents = {
        postedTicketPageRequest("2024-03-01", "2024-03-31", 2, ""),
        postedTicketPageRequest("2024-03-01", "2024-03-31", 2, "{0-1} & <x>"),
        postedTicketIteratorStopRequest("{0-1}")};
    QueryIterators iterators;
    {
        CompanyFile file(path);
        RequestHandler handler(file, clock, &iterators);
        const std::string first =
            handler.handle(postedTicketPageRequest("2024-03-01", "2024-03-31", 2, ""));
        documents.push_back(first);
        const std::string marker = "iteratorID=\"";
        const auto at = first.find(marker);
        ASSERT_NE(at, std::string::npos) << first;
        const std::string id = first.substr(
            at + marker.size(), first.find('"', at + marker.size()) - at - marker.size());
        documents.push_back(
            handler.handle(postedTicketPageRequest("2024-03-01", "2024-03-31", 2, id)));
        documents.push_back(
            handler.handle(postedTicketPageRequest("2024-03-01", "2024-03-31", 2, id)));
        documents.push_back(
            handler.handle(postedTicketPageRequest("2030-01-01", "2030-01-31", 2, "")));
        const std::string second =
            handler.handle(postedTicketPageRequest("2024-03-01", "2024-03-31", 1, ""));
        const auto at2 = second.find(marker);
        ASSERT_NE(at2, std::string::npos) << second;
        documents.push_back(handler.handle(postedTicketIteratorStopRequest(second.substr(
            at2 + marker.size(), second.find('"', at2 + marker.size()) - at2 - marker.size()))));
        documents.push_back(handler.handle(
            message("<TimeTrackingQueryRq requestID=\"m\" metaData=\"MetaDataAndResponseData\" "
                    "iterator=\"Start\"><MaxReturned>1</MaxReturned></TimeTrackingQueryRq>",
                    "<?qbxml version=\"13.0\"?>")));
    }
    const std::string answered = documents[3] + documents[4] + documents[5] + documents[6];
    for (const char* expected : {"iteratorRemainingCount=\"1\"", "iteratorRemainingCount=\"0\"",
                                 "statusCode=\"3391\"", "statusCode=\"1\"", "&lt;Bob&gt;"}) {
        EXPECT_NE(answered.find(expected), std::string::npos) << expected << "\n" << answered;
    }

    std::vector<std::filesystem::path> files;
    for (std::size_t i = 0; i < documents.size(); ++i) {
        const std::string name = "paged" + std::to_string(i) + ".xml";
        sandbox.write(name, documents[i]);
        files.push_back(sandbox.file(name));
    }
    const auto result = validate(schema, files, sandbox.file("xmllint-paged.txt"));
    if (!result) {
        GTEST_SKIP() << "xmllint is not available";
    }
    EXPECT_EQ(result->first, 0) << result->second;
    for (const auto& file : files) {
        EXPECT_NE(result->second.find(file.string() + " validates"), std::string::npos)
            << result->second;
    }
}

}  // namespace
}  // namespace vantrell::standins
