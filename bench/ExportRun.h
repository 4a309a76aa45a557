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

}  // namespace vantrell::bench
