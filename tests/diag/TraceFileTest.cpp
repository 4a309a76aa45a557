#include <gtest/gtest.h>

#include <filesystem>

#include "diag/Failure.h"
#include "diag/TraceFile.h"
#include "support/Sandbox.h"

namespace vantrell {
namespace {

TEST(SaveTextFile, WritesTheTextBetweenQuotesUnchangedThenCrLf) {
    testing::Sandbox sandbox;
    const ProgramFolder folder(sandbox.path());
    const std::string request = "<?xml version=\"1.0\" ?>\n<QBXML>\r\n</QBXML>";
    SaveTextFile(folder, "PunchReq.txt", request);
    EXPECT_EQ(sandbox.read("PunchReq.txt"), "\"" + request + "\"\r\n");

    SaveTextFile(folder, "RawData.txt", "");
    EXPECT_EQ(sandbox.read("RawData.txt"), std::string("\"\"\r\n"));
}

TEST(SaveTextFile, SecondWriteReplacesTheFirst) {
    testing::Sandbox sandbox;
    const ProgramFolder folder(sandbox.path());
    SaveTextFile(folder, "ResolveResp.txt", "a much longer first response text");
    SaveTextFile(folder, "ResolveResp.txt", "short");
    EXPECT_EQ(sandbox.read("ResolveResp.txt"), "\"short\"\r\n");
}

TEST(SaveTextFile, UnwritableFileFailsWithItsPath) {
    testing::Sandbox sandbox;
    std::filesystem::create_directory(sandbox.file("PunchResp.txt"));
    try {
        SaveTextFile(ProgramFolder(sandbox.path()), "PunchResp.txt", "x");
        FAIL() << "expected a failure";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("PunchResp.txt"), std::string::npos);
    }
}

}  // namespace
}  // namespace vantrell
