#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace vantrell::sampledata {

struct SyntheticOptions {
    long long employees = 0;
    long long days = 0;
    std::uint64_t seed = 1;
};

// Bounds that keep a file's dates in range and its size sensible.
inline constexpr long long kMaxEmployees = 1'000'000;
inline constexpr long long kMaxDays = 36'600;
inline constexpr long long kMaxEmployeeDays = 100'000'000;

// Writes a large time-and-attendance file at `path` (which must not exist yet): one
// REPORTDATA row for every employee and every day from 2024-01-01, with the demo's export
// definition and titles. The same options always give the same rows. Mostly eight-hour days
// with some overtime and differential days, weekends at zero hours, accrual days, the year's
// holidays, and a few unknown and "*" codes. Throws GeneratorError, also for options outside
// the bounds above.
void writeSyntheticFile(const std::filesystem::path& path, const SyntheticOptions& options);

// The name of employee `index` (from 0): distinct for every index.
std::string syntheticEmployeeName(long long index);

}  // namespace vantrell::sampledata
