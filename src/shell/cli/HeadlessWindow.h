#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "diag/Prompter.h"
#include "shell/window/FrontEnd.h"
#include "shell/window/frmLocateCHdata.h"
#include "shell/window/frmVantrell.h"

namespace vantrell {

// The main window's controls without a display: the list's lines and the buttons' states.
class HeadlessControls final : public WindowControls {
  public:
    // WindowControls, kept in the members below; none of these throws.
    void clearList() override { lines.clear(); }
    void addListLine(const std::string& line) override { lines.push_back(line); }
    void setButtonEnabled(WindowButton button, bool enabled) override;
    void setMousePointer(MousePointer shape) override { pointer = shape; }

    // Whether `button` is enabled now.
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
    // Writes to `out`, which must outlive the prompter.
    explicit StreamPrompter(std::ostream& out) : out_(out) {}
    // Writes "TITLE: text" and a line end; a stream that fails is left failed, nothing throws.
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;

  private:
    std::ostream& out_;
};

// The locate dialog without a display: its label goes to the stream and nobody presses OK, so
// the location step finds no file.
class StreamLocateHost final : public LocateDialogHost, public FileOpenDialog {
  public:
    // Writes to `out`, which must outlive the host.
    explicit StreamLocateHost(std::ostream& out) : out_(out) {}
    // Writes the dialog's label and closes it unanswered.
    void showModal(frmLocateCHdata& dialog) override;
    // Nobody answers: "", as a cancelled dialog.
    std::string showOpen(const std::string&, int) override { return {}; }

  private:
    std::ostream& out_;
};

// Without a display there is nothing to print on.
class NoPrinter final : public WindowPrinter {
  public:
    // Always throws Failure saying that there is no printer.
    void printWindowImage() override;
};

}  // namespace vantrell
