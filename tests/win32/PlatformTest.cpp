#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "diag/Failure.h"
#include "diag/Utf16.h"
#include "shell/win32/ComFailure.h"
#include "shell/win32/Twips.h"
#include "shell/win32/Win32FileOpenDialog.h"
#include "shell/win32/Win32Prompter.h"
#include "shell/win32/WindowsProcessorChoice.h"
#include "shell/win32/WindowsProgramFolder.h"
#include "support/Sandbox.h"

namespace vantrell::win32 {
namespace {

TEST(Utf16, TextSurvivesTheRoundTripAndBadBytesBecomeReplacementCharacters) {
    for (const std::string text : {"", "plain", "Zoë Müller-Ångström", "日本語", "a\U0001F600b"}) {
        EXPECT_EQ(narrow(widen(text)), text);
    }
    EXPECT_EQ(widen("Zo\xEB"), L"Zo\uFFFD");
}

TEST(FileDialogFilter, EachPartEndsWithANullAndTheWholeWithTwo) {
    using namespace std::string_literals;
    EXPECT_EQ(fileDialogFilter("QuickBooks Data (*.qbw)|*.qbw"),
              L"QuickBooks Data (*.qbw)\0*.qbw\0\0"s);
    EXPECT_EQ(fileDialogFilter("Chronel Application (ChronelV7.mde)|ChronelV7.mde"),
              L"Chronel Application (ChronelV7.mde)\0ChronelV7.mde\0\0"s);
}

TEST(MessageBoxStyle, OneOkButtonAndTheIconOfTheSeverity) {
    EXPECT_EQ(messageBoxStyle(MessageIcon::Warning) & (MB_TYPEMASK | MB_ICONMASK),
              static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(messageBoxStyle(MessageIcon::Information) & (MB_TYPEMASK | MB_ICONMASK),
              static_cast<unsigned>(MB_OK | MB_ICONINFORMATION));
}

TEST(Twips, BecomePixelsAtTheScreenResolution) {
    struct Row {
        int twips, dpi, pixels;
    };
    for (const Row row : {Row{4770, 96, 318}, Row{5115, 96, 341}, Row{4770, 120, 398},
                          Row{495, 144, 50}, Row{120, 96, 8}, Row{0, 96, 0}}) {
        EXPECT_EQ(twipsToPixels(row.twips, row.dpi), row.pixels)
            << row.twips << " twips at " << row.dpi;
    }
    EXPECT_GT(screenDotsPerInch(), 0);
}

TEST(ComFailureText, ComponentTextThenTheHresult) {
    EXPECT_EQ(comFailureText(static_cast<long>(0x80040408), "Could not start QuickBooks."),
              "Could not start QuickBooks. (HRESULT 0x80040408)");
    // Without the component's text, the system's own, and at least the code.
    const std::string bare = comFailureText(static_cast<long>(0x800401F3), "");
    EXPECT_NE(bare.find("(HRESULT 0x800401F3)"), std::string::npos) << bare;
}

TEST(WindowsProcessorChoice, NamesTheComProcessorAmongTheAcceptedForms) {
    EXPECT_TRUE(windowsProcessorFactoryFor("qbxmlrp"));
    EXPECT_TRUE(windowsProcessorFactoryFor("sim"));
    try {
        windowsProcessorFactoryFor("qbxml");
        FAIL() << "accepted an unknown processor";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(),
                     "Unknown request processor \"qbxml\": use \"qbxmlrp\" (the accounting "
                     "system's own), \"sim\" or \"replay:\" followed by a folder.");
    }
}

TEST(WindowsProgramFolder, GivenFolderFirstThenTheEnvironment) {
    testing::Sandbox sandbox;
    EXPECT_TRUE(folderIsWritable(sandbox.path()));
    EXPECT_FALSE(folderIsWritable(sandbox.file("missing")));
    EXPECT_EQ(windowsProgramFolder(sandbox.file("given")).path(), sandbox.file("given"));
    _wputenv_s(L"VANTRELL_DATA_DIR", sandbox.file("env").c_str());
    EXPECT_EQ(windowsProgramFolder(std::nullopt).path(), sandbox.file("env"));
    _wputenv_s(L"VANTRELL_DATA_DIR", L"");
}

}  // namespace
}  // namespace vantrell::win32
