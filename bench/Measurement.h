#pragma once

#include <cstdint>
#include <functional>

namespace vantrell::bench {

// What one measured piece of work cost.
struct Sample {
    double seconds = 0;           // wall-clock time
    double cpuSeconds = 0;        // user and system time of the process (or of the child)
    std::uint64_t peakBytes = 0;  // highest resident memory while it ran; 0 when not known
};

// Runs `body` and measures it. The resident-memory high-water mark is reset first (free heap
// memory is handed back to the system beforehand), so the peak is that of this piece of work
// on top of what the process already held. What `body` throws passes on, unmeasured.
Sample measure(const std::function<void()>& body);

// Hands freed memory back to the system and sets this process's high-water mark of resident
// memory back to what it holds now.
void resetResidentPeak();

// The resident memory of the process now, free heap memory handed back first; 0 when unknown.
// What a phase's peak holds besides the phase's own work.
std::uint64_t residentBytes();

// Sums of samples: times add up, the peak is the highest of the two.
Sample operator+(const Sample& a, const Sample& b);

}  // namespace vantrell::bench
