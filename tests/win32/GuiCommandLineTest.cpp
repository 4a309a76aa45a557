#include "shell/win32/GuiCommandLine.h"

#include <gtest/gtest.h>

#include "support/FakePrompter.h"

namespace vantrell::win32 {
namespace {

// vantrell.exe's command line: what it takes, and the box it shows for what it does not.
TEST(GuiCommandLine, ABadCommandLineIsAnErrorBoxAndHelpANote) {
    GuiOptions options;
    std::string error;
    EXPECT_TRUE(parseGuiOptions({"--data-dir", "D:\\data", "--processor", "sim"}, options, error));
    EXPECT_EQ(options.dataDir.value_or(""), "D:\\data");
    EXPECT_EQ(options.processor, "sim");

    testing::FakePrompter prompter;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--bogus"}, std::vector<std::string>{"--data-dir"},
          std::vector<std::string>{"--data-dir", ""}}) {
        GuiOptions refused;
        ASSERT_FALSE(parseGuiOptions(args, refused, error)) << args.front();
        ASSERT_FALSE(error.empty());
        showGuiUsage(prompter, error);
    }
    ASSERT_FALSE(parseGuiOptions({"--help"}, options, error));
    EXPECT_EQ(error, "");
    showGuiUsage(prompter, error);

    ASSERT_EQ(prompter.shown.size(), 4u);
    EXPECT_EQ(prompter.shown[0].title, "ERROR");
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(prompter.shown[0].text, std::string("unknown option --bogus\n\n") + kGuiUsage);
    EXPECT_EQ(prompter.shown[1].title, "ERROR");
    EXPECT_EQ(prompter.shown[2].title, "ERROR");
    EXPECT_EQ(prompter.shown[3].title, "NOTE");
    EXPECT_EQ(prompter.shown[3].icon, MessageIcon::Information);
    EXPECT_EQ(prompter.shown[3].text, kGuiUsage);
}

}  // namespace
}  // namespace vantrell::win32
