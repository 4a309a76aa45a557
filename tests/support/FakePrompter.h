#pragma once

#include <string>
#include <vector>

#include "diag/Clock.h"
#include "diag/Prompter.h"

namespace vantrell::testing {

// Records every message box instead of showing it.
class FakePrompter final : public Prompter {
  public:
    struct Shown {
        std::string text;
        std::string title;
        MessageIcon icon;
    };

    void show(const std::string& text, const std::string& title, MessageIcon icon) override;

    std::vector<Shown> shown;
};

// A clock that always reads the time it was given.
class FakeClock final : public Clock {
  public:
    explicit FakeClock(LocalDateTime at = {2026, 3, 7, 14, 5, 0}) : time(at) {}
    LocalDateTime now() override { return time; }

    LocalDateTime time;
};

}  // namespace vantrell::testing
