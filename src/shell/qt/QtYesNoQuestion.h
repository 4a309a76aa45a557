#pragma once

#include "shell/window/FrontEnd.h"

namespace vantrell {

// The Yes/No question as a Qt message box over the active window, like the program's other boxes.
class QtYesNoQuestion final : public YesNoQuestion {
  public:
    bool ask(const std::string& text, const std::string& title) override;
};

}  // namespace vantrell
