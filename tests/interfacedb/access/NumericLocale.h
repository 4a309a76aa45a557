#pragma once

#include <string>

namespace vantrell::testing {

// Switches the process's numeric locale to `name` for its lifetime, as a desktop toolkit does
// at start-up, and back to "C" at the end. A German locale that the system lacks is built once
// from the system's locale sources into the build tree; active() is false when that is not
// possible either.
class NumericLocale {
  public:
    explicit NumericLocale(const std::string& name);
    ~NumericLocale();
    NumericLocale(const NumericLocale&) = delete;
    NumericLocale& operator=(const NumericLocale&) = delete;

    bool active() const { return active_; }

  private:
    bool active_ = false;
};

}  // namespace vantrell::testing
