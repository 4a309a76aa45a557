#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vantrell::sampledata {

// The chronel-sample program, given its arguments without the program name:
//   demo FILE [--force]
//   synthetic FILE --employees N --days D [--seed S] [--force]
//   names FILE
// Returns the exit status: 0 on success, 1 when the work failed, 2 for arguments it does not
// understand. Errors and the usage go to `err`.
int runChronelSample(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vantrell::sampledata
