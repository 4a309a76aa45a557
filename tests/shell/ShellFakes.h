#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "diag/Failure.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/frmLocateCHdata.h"
#include "shell/window/frmVantrell.h"

namespace vantrell::testing {

// Settings in a map keyed "app/section/key".
class MemorySettings final : public SettingsStore {
  public:
    std::string GetSetting(const std::string& app, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override {
        const auto it = values.find(app + "/" + section + "/" + key);
        return it == values.end() ? defaultValue : it->second;
    }
    void SaveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override {
        values[app + "/" + section + "/" + key] = value;
        ++writes;
    }
    std::map<std::string, std::string> values;
    int writes = 0;
};

// A user at the locate dialog: for each dialog shown, presses OK and picks the next queued
// answer of the file-open dialog ("" = cancel), or presses Close when none is queued.
class ScriptedUser final : public LocateDialogHost, public FileOpenDialog {
  public:
    void showModal(frmLocateCHdata& dialog) override {
        labels.push_back(dialog.lblLocate());
        if (answers.empty()) {
            dialog.cmdClose_Click();
            return;
        }
        while (!dialog.closed()) {
            dialog.cmdOK_Click();
            if (!dialog.closed()) {
                dialog.cmdClose_Click();  // the step failed and the dialog stayed open
            }
        }
    }
    std::string showOpen(const std::string& filter, int dialogFlags) override {
        filters.push_back(filter);
        flags = dialogFlags;
        if (failOpen) {
            throw Failure("The file dialog could not be shown.");
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::string> answers;
    std::vector<std::string> labels;
    std::vector<std::string> filters;
    int flags = -1;
    bool failOpen = false;
};

// The clerk at the file-save dialog: each dialog shown takes the next queued answer ("" =
// cancel); with `fail` set the dialog cannot be shown.
class SaveAnswers final : public FileSaveDialog {
  public:
    std::string showSave(const std::string& filter, const std::string& suggestedName) override {
        filters.push_back(filter);
        suggested.push_back(suggestedName);
        if (fail) {
            throw Failure("The file dialog could not be shown.");
        }
        if (answers.empty()) {
            return {};
        }
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::string> answers;
    std::vector<std::string> filters;
    std::vector<std::string> suggested;
    bool fail = false;
};

class FakePrinter final : public WindowPrinter {
  public:
    void printWindowImage() override {
        if (fail) {
            throw Failure("No default printer is installed.");
        }
        ++printed;
    }
    bool fail = false;
    int printed = 0;
};

// The clerk who answers Yes to every question, keeping what was asked ("title: text").
class SayYes final : public YesNoQuestion {
  public:
    bool ask(const std::string& text, const std::string& title) override {
        asked.push_back(title + ": " + text);
        return true;
    }
    std::vector<std::string> asked;
};

}  // namespace vantrell::testing
