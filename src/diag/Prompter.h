#pragma once

#include <string>

namespace vantrell {

enum class MessageIcon { Warning, Information };

// The modal message box. show() returns only when the user has dismissed it.
class Prompter {
  public:
    virtual ~Prompter() = default;
    // Shows `text` under `title` with `icon` and returns once the user has dismissed it. A
    // failure to show it may throw; the error log, its one caller, consumes it.
    virtual void show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

}  // namespace vantrell
