#pragma once

#include "shell/window/FrontEnd.h"

namespace vantrell {

// The file-save dialog over the active window: the filter offered, the suggested name filled
// in, the filter's extension added to a name typed without one, and a question before an
// existing file is replaced.
class QtFileSaveDialog final : public FileSaveDialog {
  public:
    // The chosen path as UTF-8, or "" when the clerk cancelled.
    std::string showSave(const std::string& filter, const std::string& suggestedName) override;
};

}  // namespace vantrell
