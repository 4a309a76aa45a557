#pragma once

#include <filesystem>

#include "Measurement.h"

namespace vantrell::bench {

// Runs `cli` as the clerk would for a whole export: vantrell-cli --export on `chronelFile` and
// `companyFile`, with its files, its settings and its output in `folder`. Measures the child
// process: wall time, its CPU time and its peak resident memory. Throws std::runtime_error
// when it cannot be started or does not end with status 0 (output kept in `folder`), and
// std::filesystem::filesystem_error when `folder` cannot be made.
Sample runWholeExport(const std::filesystem::path& cli, const std::filesystem::path& chronelFile,
                      const std::filesystem::path& companyFile,
                      const std::filesystem::path& folder);

// The option that makes vantrell-bench the launcher of one measured child, as runWholeExport()
// starts it: kMeasureChild RESULT-FILE PROGRAM [ARG...].
inline constexpr const char* kMeasureChild = "--measure-child";

// The launcher: runs PROGRAM with its arguments in a child of this small process, waits for it
// and writes its exit status, CPU time and peak resident memory to RESULT-FILE. Returns 0 when
// the child could be run and measured, whatever its status.
int measureChild(int argc, char** argv);

}  // namespace vantrell::bench
