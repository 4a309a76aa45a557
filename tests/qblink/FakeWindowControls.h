#pragma once

#include <map>
#include <string>
#include <vector>

#include "shell/window/FrontEnd.h"

namespace vantrell::testing {

// The window's controls as plain values, with every operation recorded in order.
class FakeWindowControls final : public WindowControls {
  public:
    void clearList() override;
    void addListLine(const std::string& line) override;
    void setButtonEnabled(WindowButton button, bool enabled) override;
    void setMousePointer(MousePointer pointer) override;

    std::vector<std::string> lines;
    std::map<WindowButton, bool> enabled{
        {WindowButton::Export, false}, {WindowButton::Close, true}, {WindowButton::Print, false}};
    MousePointer pointer = MousePointer::Default;

    // "clear", "line <text>", "Export on", "Print off", "pointer Hourglass", ...
    std::vector<std::string> events;
    // Events that throw Failure instead of taking effect (matched as recorded).
    std::vector<std::string> failingEvents;

  private:
    void record(const std::string& event);
};

}  // namespace vantrell::testing
