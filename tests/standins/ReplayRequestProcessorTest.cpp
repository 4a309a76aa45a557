#include <gtest/gtest.h>

#include <filesystem>

#include "diag/Failure.h"
#include "standins/ProcessorChoice.h"
#include "standins/ReplayRequestProcessor.h"
#include "standins/SimulatedRequestProcessor.h"
#include "support/Sandbox.h"

namespace vantrell {
namespace {

TEST(ReplayRequestProcessor, AnswersWithEachFileInNameOrderAsItStandsThenFails) {
    testing::Sandbox sandbox;
    sandbox.write("2-resolve.xml", "\xEF\xBB\xBF<second/>\r\n");
    sandbox.write("10-export.xml", "<first/>\n\n");
    sandbox.write("b.txt", "");
    sandbox.write(".hidden", "<never/>");
    std::filesystem::create_directory(sandbox.file("a-folder"));

    ReplayRequestProcessor replay(sandbox.path());
    replay.OpenConnection("QBMarwick", "Chronel interface");
    const std::string ticket = replay.BeginSession("", 0);
    // Byte order of the names: "10-..." comes before "2-...".
    EXPECT_EQ(replay.ProcessRequest(ticket, "ignored"), "<first/>\n\n");
    EXPECT_EQ(replay.ProcessRequest(ticket, "ignored"), "\xEF\xBB\xBF<second/>\r\n");
    EXPECT_EQ(replay.ProcessRequest("", ""), "");
    try {
        replay.ProcessRequest(ticket, "ignored");
        FAIL() << "no failure when the responses are used up";
    } catch (const Failure& e) {
        EXPECT_EQ(std::string(e.what()), "No saved response is left in the replay folder \"" +
                                             sandbox.path().string() + "\".");
    }
    EXPECT_NO_THROW(replay.EndSession(ticket));
    EXPECT_NO_THROW(replay.CloseConnection());
}

TEST(ReplayRequestProcessor, RefusesAFolderThatDoesNotExist) {
    testing::Sandbox sandbox;
    const auto missing = sandbox.file("responses");
    EXPECT_THROW(ReplayRequestProcessor{missing}, Failure);
    const auto factory = processorFactoryFor("replay:" + missing.string());
    EXPECT_THROW(factory(), Failure);
}

TEST(ProcessorChoice, NamesTheSimulatorOrAReplayFolder) {
    testing::Sandbox sandbox;
    EXPECT_NE(dynamic_cast<SimulatedRequestProcessor*>(processorFactoryFor("sim")().get()),
              nullptr);
    const auto replay = processorFactoryFor("replay:" + sandbox.path().string())();
    EXPECT_NE(dynamic_cast<ReplayRequestProcessor*>(replay.get()), nullptr);

    for (const char* option : {"", "SIM", "simulator", "replay:", "replay", "qbxmlrp"}) {
        try {
            processorFactoryFor(option);
            ADD_FAILURE() << "accepted \"" << option << "\"";
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()),
                      std::string("Unknown request processor \"") + option +
                          "\": use \"sim\" or \"replay:\" followed by a folder.");
        }
    }
}

}  // namespace
}  // namespace vantrell
