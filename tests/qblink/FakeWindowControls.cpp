#include "FakeWindowControls.h"

#include <algorithm>

#include "diag/Failure.h"

namespace vantrell::testing {

namespace {

const char* buttonName(WindowButton button) {
    switch (button) {
        case WindowButton::Close:
            return "Close";
        case WindowButton::Export:
            return "Export";
        case WindowButton::Print:
            return "Print";
    }
    return "?";
}

}  // namespace

void FakeWindowControls::record(const std::string& event) {
    if (std::find(failingEvents.begin(), failingEvents.end(), event) != failingEvents.end()) {
        throw Failure("Control failed: " + event);
    }
    events.push_back(event);
}

void FakeWindowControls::clearList() {
    record("clear");
    lines.clear();
}

void FakeWindowControls::addListLine(const std::string& line) {
    record("line " + line);
    lines.push_back(line);
}

void FakeWindowControls::setButtonEnabled(WindowButton button, bool on) {
    record(std::string(buttonName(button)) + (on ? " on" : " off"));
    enabled[button] = on;
}

void FakeWindowControls::setMousePointer(MousePointer p) {
    record(p == MousePointer::Hourglass ? "pointer Hourglass" : "pointer Default");
    pointer = p;
}

}  // namespace vantrell::testing
