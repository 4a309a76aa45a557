#pragma once

#include "diag/Prompter.h"

namespace vantrell::win32 {

// The MessageBoxW style for a message box of the log: one OK button and the icon asked for
// (exclamation mark for a warning, "i" for information).
unsigned int messageBoxStyle(MessageIcon icon);

// Message boxes with MessageBoxW, owned by the program's active window so that they are modal
// over it.
class Win32Prompter final : public Prompter {
  public:
    // Returns when the clerk has pressed OK or closed the box; a box that cannot be shown
    // returns at once.
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
};

}  // namespace vantrell::win32
