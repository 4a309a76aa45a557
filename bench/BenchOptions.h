#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vantrell::bench {

// The benchmark's command line.
struct BenchOptions {
    std::vector<long long> employees{1'520, 15'200};  // one size per entry
    long long days = 14;                              // one pay period
    int runs = 3;                                     // each figure is the median of these
    std::uint64_t seed = 1;                           // the same seed makes the same data
    std::optional<std::filesystem::path> work;  // where the files go; default a temporary folder
    bool keep = false;                          // leave the files behind
    std::filesystem::path cli;                  // the vantrell-cli program to run whole
    bool help = false;                          // --help or -h: print the usage, run nothing
};

// Reads the arguments (without the program name). Throws std::invalid_argument with a message
// for an unknown option, a missing value or a value out of range (employees 1 to 1,000,000
// each, days 1 to 366, runs 1 to 99, seed 0 to 1,000,000,000). A later option overrides an
// earlier one; an option not given keeps its default.
BenchOptions parseBenchOptions(const std::vector<std::string>& args);

// What --help prints, and what follows the message for an argument refused.
inline constexpr const char* kBenchUsage =
    "usage: vantrell-bench [--employees N[,N...]] [--days D] [--runs R] [--seed S]\n"
    "                      [--work DIR] [--keep] [--cli PATH]\n"
    "Runs the program phase by phase and whole on generated data of each size (N employees\n"
    "over D days), beside what its libraries need for the same work, and prints the medians.\n";

}  // namespace vantrell::bench
