#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "diag/Prompter.h"
#include "qblink/WindowControls.h"
#include "shell/window/frmLocateCHdata.h"
#include "shell/window/frmVantrell.h"

namespace vantrell {

// The main window's controls without a display: the list's lines and the buttons' states.
class HeadlessControls final : public WindowControls {
  public:
    void clearList() override { lines.clear(); }
    void addListLine(const std::string& line) override { lines.push_back(line); }
    void setButtonEnabled(WindowButton button, bool enabled) override;
    void setMousePointer(MousePointer shape) override { pointer = shape; }

    bool enabled(WindowButton button) const;

    std::vector<std::string> lines;
    bool exportEnabled = false;
    bool closeEnabled = true;
    bool printEnabled = false;
    MousePointer pointer = MousePointer::Default;
};

// Message boxes as lines on a stream: the title, a colon, a space and the text. They return at
// once.
class StreamPrompter final : public Prompter {
  public:
    explicit StreamPrompter(std::ostream& out) : out_(out) {}
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;

  private:
    std::ostream& out_;
};

// The locate dialog without a display: its label goes to the stream and nobody presses OK, so
// the location step finds no file.
class StreamLocateHost final : public LocateDialogHost, public FileOpenDialog {
  public:
    explicit StreamLocateHost(std::ostream& out) : out_(out) {}
    void showModal(frmLocateCHdata& dialog) override;
    std::string showOpen(const std::string&, int) override { return {}; }

  private:
    std::ostream& out_;
};

// Without a display there is nothing to print on.
class NoPrinter final : public WindowPrinter {
  public:
    void printWindowImage() override;
};

}  // namespace vantrell
