#include <gtest/gtest.h>

#include <filesystem>

#include "diag/Failure.h"
#include "diag/FileSystem.h"
#include "shell/window/CsvFile.h"
#include "shell/window/CsvText.h"
#include "support/Sandbox.h"

namespace vantrell {
namespace {

TEST(CsvText, HostileNamesAreQuotedAndNeverRunAsFormulas) {
    struct Case {
        const char* name;
        const char* field;
    };
    const Case cases[] = {
        {"Worker One", "Worker One"},
        {"Smith, Anna", "\"Smith, Anna\""},
        {"Anna \"Nan\" Smith", "\"Anna \"\"Nan\"\" Smith\""},
        {"two\nlines", "\"two\nlines\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+1", "\"'+1\""},
        {"-2+3", "\"'-2+3\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"\t=1", "\"'\t=1\""},
        {"\r=1", "\"'\r=1\""},
        {"Zo\xC3\xAB \xC3\x89milie", "Zo\xC3\xAB \xC3\x89milie"},  // accents as UTF-8 bytes
        {"a=b", "a=b"},  // only a leading sign starts a formula
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(csvField({c.name, CsvKind::Text}), c.field) << c.name;
    }
    // Numbers this program wrote keep their sign, so that a spreadsheet sums them.
    EXPECT_EQ(csvField({"-1.25", CsvKind::Number}), "-1.25");
    EXPECT_EQ(
        csvLine({{"a,b", CsvKind::Text}, {"2026-03-02", CsvKind::Text}, {"7.5", CsvKind::Number}}),
        "\"a,b\",2026-03-02,7.5\r\n");
    EXPECT_EQ(csvLine({}), "\r\n");
}

TEST(CsvFile, WritesTheByteOrderMarkHeaderAndRowsWithCrLf) {
    testing::Sandbox sandbox;
    const std::string path = pathToUtf8(sandbox.file("Stage \xC3\xA9t\xC3\xA9.csv"));
    writeCsvFile(path, {{"Employee", CsvKind::Text}, {"Hours", CsvKind::Number}}, 2,
                 [](std::size_t i) {
                     return CsvRow{{i == 0 ? "=cmd" : "B", CsvKind::Text},
                                   {std::to_string(i), CsvKind::Number}};
                 });
    EXPECT_EQ(sandbox.read("Stage \xC3\xA9t\xC3\xA9.csv"),
              "\xEF\xBB\xBF"
              "Employee,Hours\r\n\"'=cmd\",0\r\nB,1\r\n");
}

TEST(CsvFile, AFileThatCannotBeWrittenFailsNamingItsPath) {
    testing::Sandbox sandbox;
    const auto expectFailureNaming = [](const std::string& path) {
        try {
            writeCsvFile(path, {{"A", CsvKind::Text}}, 0, [](std::size_t) { return CsvRow{}; });
            ADD_FAILURE() << "no failure for " << path;
        } catch (const Failure& failure) {
            EXPECT_NE(std::string(failure.what()).find(path), std::string::npos) << failure.what();
        }
    };
    expectFailureNaming(pathToUtf8(sandbox.file("gone") / "Stage.csv"));  // the folder is gone
    std::filesystem::create_directory(sandbox.file("folder"));
    expectFailureNaming(pathToUtf8(sandbox.file("folder")));  // a folder is not a file
}

}  // namespace
}  // namespace vantrell
