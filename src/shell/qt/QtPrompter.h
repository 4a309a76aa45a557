#pragma once

#include "diag/Prompter.h"

namespace vantrell {

// Message boxes as modal QMessageBox windows with one OK button.
class QtPrompter final : public Prompter {
  public:
    // Returns when the clerk has pressed OK or closed the box.
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
};

}  // namespace vantrell
