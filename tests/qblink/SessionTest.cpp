#include <gtest/gtest.h>

#include "LinkFixture.h"
#include "diag/Failure.h"

namespace vantrell::testing {
namespace {

using Strings = std::vector<std::string>;

class Session : public LinkFixture {};

TEST_F(Session, OpenBeginsASessionWithTheProgramsIdentity) {
    strQBdata = "/data/Company File.qbw";
    EXPECT_TRUE(link.OpenQBConnection());
    EXPECT_TRUE(link.blnQBConnected);
    EXPECT_EQ(link.ticket, "{ticket-1}");
    EXPECT_EQ(qb.calls, (Strings{"OpenConnection QBMarwick|Chronel interface",
                                 "BeginSession /data/Company File.qbw|0"}));
    EXPECT_EQ(logText(), "");

    // Connected already: no call at all.
    EXPECT_TRUE(link.OpenQBConnection());
    EXPECT_EQ(qb.calls.size(), 2u);
    EXPECT_EQ(qb.created, 1);
}

struct OpenFailure {
    const char* name;
    bool failCreation;
    const char* failingOperation;
    const char* companyFile;
    const char* description;
    const char* stepText;
    Strings calls;
};

TEST_F(Session, OpenFailuresLogTheStepAndCloseOnlyAnOpenedConnection) {
    const OpenFailure cases[] = {
        {"no component",
         true,
         "",
         "/c.qbw",
         "ActiveX component can't create object",
         "open the connection",
         {}},
        {"connection refused",
         false,
         "OpenConnection",
         "/c.qbw",
         "Could not start QuickBooks.",
         "open the connection",
         {"OpenConnection QBMarwick|Chronel interface"}},
        {"empty company file",
         false,
         "BeginSession",
         "",
         "If QuickBooks is not running, a call to \"BeginSession\" must include the name of the "
         "QuickBooks company data file.",
         "begin a session at ",
         {"OpenConnection QBMarwick|Chronel interface", "BeginSession |0", "CloseConnection"}},
        {"refused company file",
         false,
         "BeginSession",
         "/data/other.qbw",
         "Could not open the specified QuickBooks company data file.",
         "begin a session at /data/other.qbw",
         {"OpenConnection QBMarwick|Chronel interface", "BeginSession /data/other.qbw|0",
          "CloseConnection"}},
    };
    for (const OpenFailure& c : cases) {
        SCOPED_TRACE(c.name);
        TestLog log;
        InterfaceDatabase ownDb;
        ExtractionOutcome ownExtraction;
        std::string companyFile;
        ProcessorScript script;
        script.failCreation = c.failCreation;
        if (*c.failingOperation != '\0') {
            script.failures[c.failingOperation] = c.description;
        }
        QuickBooksLink session(log.log, ownDb, ownExtraction, companyFile, script.factory());
        session.ticket = "{earlier}";
        companyFile = c.companyFile;

        EXPECT_FALSE(session.OpenQBConnection());
        EXPECT_FALSE(session.blnQBConnected);
        EXPECT_EQ(session.ticket, "{earlier}");
        EXPECT_EQ(script.calls, c.calls);
        EXPECT_EQ(log.logText(), std::string(kStamp) + "OpenQBConnection " + c.description +
                                     "\r\n " + c.stepText + "\r\n");
        ASSERT_EQ(log.prompter.shown.size(), 1u);
        EXPECT_EQ(log.prompter.shown[0].text,
                  std::string(c.stepText) + "\r\n" + c.description + "\r\nOpenQBConnection");
    }
}

TEST_F(Session, AFailingCloseAfterAFailedBeginPassesToTheCallerUnlogged) {
    qb.failures["BeginSession"] = "Could not open the specified QuickBooks company data file.";
    qb.failures["CloseConnection"] = "Unexpected error.";
    try {
        link.OpenQBConnection();
        FAIL() << "the close's failure should reach the caller";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "Unexpected error.");
    }
    EXPECT_FALSE(link.blnQBConnected);
    EXPECT_EQ(logText(), "");
}

TEST_F(Session, CloseEndsTheSessionOnlyWhenOneIsOpen) {
    link.CloseQBConnection();
    EXPECT_TRUE(qb.calls.empty());
    EXPECT_EQ(qb.created, 0);

    ASSERT_TRUE(link.OpenQBConnection());
    qb.calls.clear();
    link.CloseQBConnection();
    EXPECT_EQ(qb.calls, (Strings{"EndSession {ticket-1}", "CloseConnection"}));
    EXPECT_FALSE(link.blnQBConnected);
    EXPECT_EQ(link.ticket, "{ticket-1}");
    EXPECT_EQ(qb.created, 1);
    EXPECT_EQ(logText(), "");
}

TEST_F(Session, CloseFailuresAreLoggedAndLeaveTheSessionMarkedOpen) {
    for (const char* failing : {"EndSession", "CloseConnection"}) {
        SCOPED_TRACE(failing);
        TestLog log;
        InterfaceDatabase ownDb;
        ExtractionOutcome ownExtraction;
        std::string companyFile;
        ProcessorScript script;
        QuickBooksLink session(log.log, ownDb, ownExtraction, companyFile, script.factory());
        ASSERT_TRUE(session.OpenQBConnection());
        script.calls.clear();
        script.failures[failing] = "The ticket parameter is invalid.";

        session.CloseQBConnection();
        EXPECT_TRUE(session.blnQBConnected);
        // After a failed EndSession the connection is not closed.
        EXPECT_EQ(script.calls.size(), std::string(failing) == "EndSession" ? 1u : 2u);
        EXPECT_EQ(log.logText(), std::string(kStamp) +
                                     "CloseQBConnection The ticket parameter is invalid.\r\n \r\n");
    }
}

}  // namespace
}  // namespace vantrell::testing
