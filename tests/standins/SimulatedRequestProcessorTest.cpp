#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

#include "CompanyFixture.h"
#include "standins/ProcessorError.h"
#include "standins/QbsimCommand.h"
#include "standins/SimulatedRequestProcessor.h"

namespace vantrell::standins {
namespace {

using testing::CompanyFixture;
using testing::kProgramQuery;

class SimulatedRequestProcessorTest : public CompanyFixture {
  public:
    SimulatedRequestProcessor processor{clock};
    std::string file() const { return path.string(); }
    std::string openFor(SimulatedRequestProcessor& p) {
        p.OpenConnection("QBMarwick", "Chronel interface");
        return p.BeginSession(file(), 0);
    }
    std::string open() { return openFor(processor); }
};

TEST_F(SimulatedRequestProcessorTest, ASessionAnswersRequestsAndEndsCleanly) {
    addEmployees({"Worker One"});
    const std::string ticket = open();
    EXPECT_TRUE(std::regex_match(
        ticket, std::regex("\\{[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\}")))
        << ticket;
    const auto response = processor.ProcessRequest(ticket, kProgramQuery);
    EXPECT_NE(response.find("<Name>Worker One</Name>"), std::string::npos) << response;
    processor.EndSession(ticket);
    processor.CloseConnection();
    // The same object can connect again, and a new session has a new ticket.
    EXPECT_NE(open(), ticket);
}

TEST_F(SimulatedRequestProcessorTest, AFailedSessionStartLeavesTheConnectionUsable) {
    processor.OpenConnection("QBMarwick", "Chronel interface");
    EXPECT_THROW(processor.BeginSession(sandbox.file("Missing.qbw").string(), 0), ProcessorError);
    const std::string ticket = processor.BeginSession(file(), 0);
    EXPECT_NO_THROW(processor.ProcessRequest(ticket, kProgramQuery));
}

struct FailureCase {
    const char* label;
    std::function<void(SimulatedRequestProcessorTest&, SimulatedRequestProcessor&)> call;
    ProcessorCode code;
};

class OperationFailures : public SimulatedRequestProcessorTest,
                          public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OperationFailures, ReportTheComponentsOwnText) {
    try {
        GetParam().call(*this, processor);
        FAIL() << "no failure";
    } catch (const ProcessorError& e) {
        EXPECT_EQ(e.code(), GetParam().code);
        EXPECT_STREQ(e.what(), processorMessage(GetParam().code));
    }
}

using P = SimulatedRequestProcessor;
using T = SimulatedRequestProcessorTest;

INSTANTIATE_TEST_SUITE_P(
    Operations, OperationFailures,
    ::testing::Values(
        FailureCase{"EmptyApplicationName", [](T&, P& p) { p.OpenConnection("QBMarwick", ""); },
                    ProcessorCode::ApplicationNameMissing},
        FailureCase{"SecondOpenConnection",
                    [](T&, P& p) {
                        p.OpenConnection("QBMarwick", "Chronel interface");
                        p.OpenConnection("QBMarwick", "Chronel interface");
                    },
                    ProcessorCode::ConnectionAlreadyOpen},
        FailureCase{"SessionWithoutConnection",
                    [](T& fx, P& p) { p.BeginSession(fx.path.string(), 0); },
                    ProcessorCode::NoConnection},
        FailureCase{"EmptyPath",
                    [](T&, P& p) {
                        p.OpenConnection("QBMarwick", "Chronel interface");
                        p.BeginSession("", 0);
                    },
                    ProcessorCode::CompanyFileNameMissing},
        FailureCase{"MissingFile",
                    [](T& fx, P& p) {
                        p.OpenConnection("QBMarwick", "Chronel interface");
                        p.BeginSession(fx.sandbox.file("Missing.qbw").string(), 0);
                    },
                    ProcessorCode::CannotOpenCompanyFile},
        FailureCase{"TextFile",
                    [](T& fx, P& p) {
                        fx.sandbox.write("Notes.qbw", "not a company file\n");
                        p.OpenConnection("QBMarwick", "Chronel interface");
                        p.BeginSession(fx.sandbox.file("Notes.qbw").string(), 0);
                    },
                    ProcessorCode::CannotOpenCompanyFile},
        FailureCase{"Folder",
                    [](T& fx, P& p) {
                        p.OpenConnection("QBMarwick", "Chronel interface");
                        p.BeginSession(fx.sandbox.path().string(), 0);
                    },
                    ProcessorCode::CannotOpenCompanyFile},
        FailureCase{"UnknownMode",
                    [](T& fx, P& p) {
                        p.OpenConnection("QBMarwick", "Chronel interface");
                        p.BeginSession(fx.path.string(), 3);
                    },
                    ProcessorCode::InvalidParameter},
        FailureCase{"SecondSession",
                    [](T& fx, P& p) {
                        fx.openFor(p);
                        p.BeginSession(fx.path.string(), 0);
                    },
                    ProcessorCode::SessionAlreadyBegun},
        FailureCase{"RequestWithoutSession",
                    [](T&, P& p) {
                        p.OpenConnection("QBMarwick", "Chronel interface");
                        p.ProcessRequest("", kProgramQuery);
                    },
                    ProcessorCode::NoSession},
        FailureCase{"RequestWithEmptyTicket",
                    [](T& fx, P& p) {
                        fx.openFor(p);
                        p.ProcessRequest("", kProgramQuery);
                    },
                    ProcessorCode::InvalidTicket},
        FailureCase{"RequestWithOtherTicket",
                    [](T& fx, P& p) {
                        fx.openFor(p);
                        p.ProcessRequest("{00000000-0000-0000-0000-000000000000}", kProgramQuery);
                    },
                    ProcessorCode::InvalidTicket},
        FailureCase{"RequestAfterSessionEnded",
                    [](T& fx, P& p) {
                        const auto ticket = fx.openFor(p);
                        p.EndSession(ticket);
                        p.ProcessRequest(ticket, kProgramQuery);
                    },
                    ProcessorCode::NoSession},
        FailureCase{"EmptyRequest", [](T& fx, P& p) { p.ProcessRequest(fx.openFor(p), ""); },
                    ProcessorCode::ParseError},
        FailureCase{"RequestNotWellFormed",
                    [](T& fx, P& p) { p.ProcessRequest(fx.openFor(p), "<QBXML><QBXMLMsgsRq>"); },
                    ProcessorCode::ParseError},
        FailureCase{"EndWithoutSession", [](T&, P& p) { p.EndSession(""); },
                    ProcessorCode::NoSession},
        FailureCase{"EndWithOtherTicket",
                    [](T& fx, P& p) {
                        fx.openFor(p);
                        p.EndSession("other");
                    },
                    ProcessorCode::InvalidTicket},
        FailureCase{"CloseWithoutConnection", [](T&, P& p) { p.CloseConnection(); },
                    ProcessorCode::NoConnection},
        FailureCase{"CloseDuringSession",
                    [](T& fx, P& p) {
                        fx.openFor(p);
                        p.CloseConnection();
                    },
                    ProcessorCode::CallInsideSession}),
    [](const auto& test) { return std::string(test.param.label); });

// Two sessions on one company file, as two programs have them: the first session's mode, the
// second's, and what the second meets. The hold belongs to the session's open file, so two
// processors of one process meet it as two processes do.
struct SharingCase {
    int first;
    int second;
    std::optional<ProcessorCode> refusal;
};

class SessionSharing : public SimulatedRequestProcessorTest,
                       public ::testing::WithParamInterface<SharingCase> {};

TEST_P(SessionSharing, FollowsTheFirstSessionsMode) {
    SimulatedRequestProcessor other{clock};
    processor.OpenConnection("QBMarwick", "Chronel interface");
    const std::string ticket = processor.BeginSession(file(), GetParam().first);
    other.OpenConnection("Other", "Other application");
    if (GetParam().refusal) {
        try {
            other.BeginSession(file(), GetParam().second);
            FAIL() << "the second session began";
        } catch (const ProcessorError& e) {
            EXPECT_EQ(e.code(), *GetParam().refusal);
            EXPECT_TRUE(companyFileHeldElsewhere(static_cast<std::uint32_t>(e.code())));
        }
        // The refused one can begin once the first session has ended.
        processor.EndSession(ticket);
        const std::string second = other.BeginSession(file(), GetParam().second);
        EXPECT_NO_THROW(other.ProcessRequest(second, kProgramQuery));
        return;
    }
    const std::string second = other.BeginSession(file(), GetParam().second);
    EXPECT_NO_THROW(other.ProcessRequest(second, kProgramQuery));
    EXPECT_NO_THROW(processor.ProcessRequest(ticket, kProgramQuery));
    // A single-user session waits for both to end.
    SimulatedRequestProcessor third{clock};
    third.OpenConnection("Third", "Third application");
    EXPECT_THROW(third.BeginSession(file(), 0), ProcessorError);
    processor.EndSession(ticket);
    EXPECT_THROW(third.BeginSession(file(), 0), ProcessorError);
    other.EndSession(second);
    EXPECT_NO_THROW(third.BeginSession(file(), 0));
}

INSTANTIATE_TEST_SUITE_P(Modes, SessionSharing,
                         ::testing::Values(SharingCase{0, 0, ProcessorCode::SingleUserFileShared},
                                           SharingCase{0, 1, ProcessorCode::FileOpenInOtherMode},
                                           SharingCase{0, 2, ProcessorCode::FileOpenInOtherMode},
                                           SharingCase{1, 0, ProcessorCode::SingleUserFileShared},
                                           SharingCase{2, 0, ProcessorCode::SingleUserFileShared},
                                           SharingCase{1, 1, std::nullopt},
                                           SharingCase{1, 2, std::nullopt},
                                           SharingCase{2, 2, std::nullopt}),
                         [](const auto& test) {
                             return "First" + std::to_string(test.param.first) + "Second" +
                                    std::to_string(test.param.second);
                         });

// The accounting system's own screen (qbsim) keeps working on a file that a program holds, and
// the program's session sees what was keyed there.
TEST_F(SimulatedRequestProcessorTest, TheCompanyToolWorksWhileASessionHoldsTheFile) {
    const std::string ticket = open();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runQbsim({"add-employee", file(), "Keyed Here"}, out, err), 0) << err.str();
    EXPECT_EQ(runQbsim({"list-time", file()}, out, err), 0) << err.str();
    EXPECT_NE(processor.ProcessRequest(ticket, kProgramQuery).find("<Name>Keyed Here</Name>"),
              std::string::npos);
}

TEST(ProcessorErrorTexts, AreTheComponentsStringTable) {
    const std::string table = std::string(VANTRELL_QBXML_DIR) + "/qbxmlrp-hresult-messages.tsv";
    std::ifstream in(table);
    if (!in) {
        GTEST_SKIP() << "no reference data at " << table;
    }
    std::map<std::uint32_t, std::string> texts;
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        const auto second = line.find('\t', tab + 1);
        if (line.rfind("0x", 0) == 0 && tab != std::string::npos) {
            texts[static_cast<std::uint32_t>(std::stoul(line.substr(0, tab), nullptr, 16))] =
                line.substr(tab + 1, second - tab - 1);
        }
    }
    for (const ProcessorCode code :
         {ProcessorCode::ParseError, ProcessorCode::UnexpectedError,
          ProcessorCode::CannotOpenCompanyFile, ProcessorCode::CompanyFileVersion,
          ProcessorCode::NoSession, ProcessorCode::InvalidTicket, ProcessorCode::NoConnection,
          ProcessorCode::SessionAlreadyBegun, ProcessorCode::ConnectionAlreadyOpen,
          ProcessorCode::RollbackNotSupported, ProcessorCode::ApplicationNameMissing,
          ProcessorCode::CompanyFileNameMissing, ProcessorCode::FileOpenInOtherMode,
          ProcessorCode::SingleUserFileShared, ProcessorCode::UnsupportedVersion,
          ProcessorCode::InvalidParameter, ProcessorCode::CallInsideSession}) {
        EXPECT_EQ(processorMessage(code), texts[static_cast<std::uint32_t>(code)])
            << std::hex << static_cast<std::uint32_t>(code);
    }
}

}  // namespace
}  // namespace vantrell::standins
