#pragma once

#include <string>

namespace vantrell {

enum class WindowButton { Close, Export, Print };
enum class MousePointer { Default, Hourglass };

// The main window's controls as the program's logic sees them: the list lstShow, the enabled
// state of the three buttons and the screen's mouse pointer. Each operation may throw Failure.
class WindowControls {
  public:
    virtual ~WindowControls() = default;

    virtual void clearList() = 0;
    // Appends one item at the end of the list (an empty text is an empty item).
    virtual void addListLine(const std::string& line) = 0;
    virtual void setButtonEnabled(WindowButton button, bool enabled) = 0;
    virtual void setMousePointer(MousePointer pointer) = 0;
};

}  // namespace vantrell
