#pragma once

#include <string>

namespace vantrell {

enum class MessageIcon { Warning, Information };

// The modal message box. show() returns only when the user has dismissed it.
class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual void show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

}  // namespace vantrell
