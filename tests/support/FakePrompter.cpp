#include "support/FakePrompter.h"

namespace vantrell::testing {

void FakePrompter::show(const std::string& text, const std::string& title, MessageIcon icon) {
    shown.push_back({text, title, icon});
}

}  // namespace vantrell::testing
