#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "LinkFixture.h"

namespace vantrell::testing {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Responses captured from real accounting systems, kept beside the project.
const fs::path kResponses = fs::path(VANTRELL_SOURCE_DIR) / ".." / "shared" / "qbxml";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class RealResponses : public LinkFixture {
  protected:
    void SetUp() override {
        if (!fs::is_directory(kResponses)) {
            GTEST_SKIP() << "no real responses at " << kResponses;
        }
    }
    bool parse(const std::string& file, const char* responseElement, const char* returnElement) {
        link.responseXML = readFile(kResponses / file);
        return link.ParseResponseXML(responseElement, returnElement);
    }
};

TEST_F(RealResponses, EveryDocumentLoads) {
    int documents = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(kResponses)) {
        if (entry.path().extension() != ".xml") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        link.responseXML = readFile(entry.path());
        // A wrapper that holds an answer as it is, its declaration inside an element, is no
        // well-formed document: the answer it holds is what the link reads.
        const std::size_t inner = link.responseXML.find("<?xml", 1);
        if (inner != std::string::npos) {
            EXPECT_FALSE(link.ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet"));
            EXPECT_NE(logText().find("loadXML failed"), std::string::npos);
            fs::remove(t.sandbox.file("VantrellLog.txt"));
            const std::size_t end = link.responseXML.find("</QBXML>", inner) + 8;
            link.responseXML = link.responseXML.substr(inner, end - inner);
        }
        EXPECT_TRUE(link.ParseResponseXML("TimeTrackingAddRs", "TimeTrackingRet"));
        EXPECT_EQ(logText(), "");
        ++documents;
    }
    EXPECT_GT(documents, 0);
}

TEST_F(RealResponses, AnEmployeeIsFoundByItsNameAlone) {
    // The record also names a pay schedule and wage items by FullName at other depths.
    stageNames("Employee", {"Daric Teske", "Weekly", "Field"});
    EXPECT_TRUE(
        parse("employee-query-rs-assembled-qbsync-test.xml", "EmployeeQueryRs", "EmployeeRet"));
    EXPECT_EQ(names("Employee"), (Strings{"Field", "Weekly"}));
    EXPECT_EQ(logText(), "");
}

TEST_F(RealResponses, StatusesOfRealQueriesBecomeIssueLines) {
    EXPECT_FALSE(parse("salesorderadd-rs-status1-0-3140-unwrapped-from-soap.xml",
                       "ItemInventoryQueryRs", "ItemInventoryRet"));
    EXPECT_FALSE(parse("customer-query-rs-3120-object-not-found-qbwc-fixture.xml",
                       "CustomerQueryRs", "CustomerRet"));
    EXPECT_EQ(link.answerNotes,
              (Strings{"No ItemInventoryQueryRs found by Quickbooks",
                       "CustomerQueryRs ERROR Object \"8000001B-1405768916\" specified in the "
                       "request cannot be found.  QuickBooks error message: Invalid argument.  "
                       "The specified record does not exist in the list."}));
    // These responses carry no requestID: a failed step each, logged, and the walk went on.
    EXPECT_EQ(t.prompter.shown.size(), 2u);
}

}  // namespace
}  // namespace vantrell::testing
