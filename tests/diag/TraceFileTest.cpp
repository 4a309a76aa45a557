#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

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

#ifndef _WIN32
// Where the system cannot even tell what stands at the path, the failure gives its reason,
// never "not an ordinary file".
TEST(SaveTextFile, AFileWhoseStatusCannotBeReadFailsWithTheSystemsReason) {
    testing::Sandbox sandbox;
    std::filesystem::create_symlink("PunchReq.txt", sandbox.file("PunchReq.txt"));
    std::vector<std::pair<ProgramFolder, std::string>> cases = {
        {ProgramFolder(sandbox.path()), "Too many levels of symbolic links"}};
    if (geteuid() != 0) {  // root reads any folder
        std::filesystem::create_directory(sandbox.file("closed"));
        std::filesystem::permissions(sandbox.file("closed"), std::filesystem::perms::none);
        cases.push_back({ProgramFolder(sandbox.file("closed")), "Permission denied"});
    }
    for (const auto& [folder, reason] : cases) {
        try {
            SaveTextFile(folder, "PunchReq.txt", "x");
            ADD_FAILURE() << "expected a failure";
        } catch (const Failure& failure) {
            const std::string text = failure.what();
            EXPECT_NE(text.find("PunchReq.txt' for writing: " + reason), std::string::npos) << text;
            EXPECT_EQ(text.find("ordinary"), std::string::npos) << text;
        }
    }
    std::error_code ignored;  // so that the sandbox can be removed
    std::filesystem::permissions(sandbox.file("closed"), std::filesystem::perms::owner_all,
                                 ignored);
}
#endif

}  // namespace
}  // namespace vantrell
