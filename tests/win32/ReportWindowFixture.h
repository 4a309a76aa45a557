#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "RecordingProcessor.h"
#include "shell/ShellFakes.h"
#include "shell/win32/Win32MainWindow.h"
#include "support/TestLog.h"

namespace vantrell::testing {

// A cell's text of a list-view, as the list answers it.
std::wstring cellText(HWND list, int row, int column);
// Each row's text in `column`, top to bottom.
std::vector<std::wstring> columnTexts(HWND list, int column);

// The main window on the screen, activated over two employees' days (Worker One, 8 hours
// Hourly on 2026-03-02, and `secondEmployee`, 7.5 hours on 2026-03-03) with every name known to
// the stand-in accounting system; its save dialog answers from `saveAnswers`. A fixture of a
// window the main window opens derives from it and names the second employee.
struct ReportWindowFixture : ::testing::Test {
    TestLog t;
    ProgramState state;
    MemorySettings settings;
    ProcessorRecord record;
    SaveAnswers saveAnswers;
    std::string chronel;
    std::string company;
    std::unique_ptr<win32::Win32MainWindow> window;
    bool comJoined = false;

    explicit ReportWindowFixture(std::string secondEmployee);

    void SetUp() override;
    void TearDown() override;

    std::string qbsim(const std::vector<std::string>& args);
    bool pump(const std::function<bool()>& done, int milliseconds = 5000);

  protected:
    // Called before the main window loads: a question's answers, say.
    virtual void prepare(win32::Win32MainWindow& main) { (void)main; }

  private:
    std::string secondEmployee_;
};

}  // namespace vantrell::testing
