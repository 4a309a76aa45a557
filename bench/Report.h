#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "PhaseTable.h"

namespace vantrell::bench {

// The figures of one size: the medians of its runs.
struct SizeResult {
    long long employees = 0;
    long long days = 0;
    std::int64_t tickets = 0;  // staged by a run of this size
    RunSamples median;
};

// The median of each figure over the runs, which must not be empty; of an even number of
// runs, the mean of the middle two.
RunSamples medianOf(const std::vector<RunSamples>& runs);

// The phase table of one size (time, CPU time, tickets per second, peak memory, floor, ratio)
// and its floors, written to `out` under the heading "size `name`".
void printSize(std::ostream& out, char name, const SizeResult& size);

// How each phase and its floor grow from one size to the next, and the peak memory's growth.
void printGrowth(std::ostream& out, const SizeResult& small, const SizeResult& large);

// The targets, judged on the largest size and the growth to it, written to `out`. `sizes`
// must not be empty, the largest last; the growth targets need two sizes and are otherwise
// not judged. True when all that were judged are met.
bool printTargets(std::ostream& out, const std::vector<SizeResult>& sizes);

}  // namespace vantrell::bench
