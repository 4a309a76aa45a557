#pragma once

#include <sys/types.h>
#include <functional>

namespace vantrell::testing {

// How a child process ended: its exit status, or the signal that ended it.
struct ChildEnd {
    bool signaled = false;
    int status = 0;  // exit status, or signal number when signaled
};

// Runs `body` in a child process (a copy of this one, so a second copy of the program) and
// waits for it. The child exits 0 when the body returns, 70 when it throws.
ChildEnd runInChild(const std::function<void()>& body);

// A child process that runs `take` (for example, taking a lock), then holds on until release()
// or destruction, when it runs `give` and exits. The constructor returns once `take` is done.
class HoldingChild {
  public:
    HoldingChild(const std::function<void()>& take, const std::function<void()>& give = {});
    ~HoldingChild();
    HoldingChild(const HoldingChild&) = delete;
    HoldingChild& operator=(const HoldingChild&) = delete;

    // True when `take` ran without throwing.
    bool holding() const { return holding_; }
    // Lets the child go on to `give` and returns at once.
    void letGo();
    // Lets the child go on, waits for it and tells how it ended.
    ChildEnd release();

  private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    bool holding_ = false;
    bool letGo_ = false;
    bool released_ = false;
    ChildEnd end_;
};

}  // namespace vantrell::testing
