#pragma once

#include <stdexcept>
#include <string>

namespace vantrell {

// A failure of a procedure's step. Its what() is the description that the error log shows.
class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Thrown to end the program at once (no further step, no unload sequence). It passes through
// every failure handler and reaches the front end, which exits with `status`.
struct EndProgram {
    int status = 1;
};

// The description of the exception currently being handled, or "" when none is.
std::string currentFailureDescription();

}  // namespace vantrell
