#pragma once

#include <filesystem>
#include <ostream>

#include "BenchOptions.h"
#include "Report.h"

namespace vantrell::bench {

// Benchmarks one size: writes its time-and-attendance file and company file under `work`,
// then for each run measures the program's phases, the library floors on the same data and the
// whole export run. Progress goes to `progress`. Returns the medians. Throws on a failed run
// what its step throws, leaving that run's files behind. Any earlier folder of this size under
// `work` is removed first; each run's folder goes when it succeeds, unless options.keep.
SizeResult benchmarkSize(const BenchOptions& options, long long employees,
                         const std::filesystem::path& work, std::ostream& progress);

}  // namespace vantrell::bench
