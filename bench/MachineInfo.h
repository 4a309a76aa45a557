#pragma once

#include <string>

namespace vantrell::bench {

// One line describing the machine and the libraries: processor, cores, memory, system, the
// SQLite and pugixml versions, the build type and the load average right now. What the
// system does not tell reads "unknown", 0 or nothing; never fails.
std::string describeMachine();

}  // namespace vantrell::bench
