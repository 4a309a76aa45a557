#pragma once

#include "shell/window/FrontEnd.h"

namespace vantrell::win32 {

// The Yes/No question as a message box over the active window, like the program's other boxes.
class Win32YesNoQuestion final : public YesNoQuestion {
  public:
    bool ask(const std::string& text, const std::string& title) override;
};

}  // namespace vantrell::win32
