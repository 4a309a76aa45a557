#include "Measurement.h"

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>

namespace vantrell::bench {

namespace {

double cpuSecondsOfProcess() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A size line of /proc/self/status ("VmHWM:", "VmRSS:"), in bytes; 0 when unreadable.
std::uint64_t statusBytes(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stoull(line.substr(key.size())) * 1024;
        }
    }
    return 0;
}

// The kernel's high-water mark of resident memory.
std::uint64_t residentPeakBytes() {
    return statusBytes("VmHWM:");
}

}  // namespace

// Writing 5 to clear_refs sets the high-water mark back to the current resident size.
void resetResidentPeak() {
    malloc_trim(0);
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

Sample measure(const std::function<void()>& body) {
    resetResidentPeak();
    const double cpuBefore = cpuSecondsOfProcess();
    const auto start = std::chrono::steady_clock::now();
    body();
    const auto end = std::chrono::steady_clock::now();
    Sample sample;
    sample.seconds = std::chrono::duration<double>(end - start).count();
    sample.cpuSeconds = cpuSecondsOfProcess() - cpuBefore;
    sample.peakBytes = residentPeakBytes();
    return sample;
}

std::uint64_t residentBytes() {
    malloc_trim(0);
    return statusBytes("VmRSS:");
}

Sample operator+(const Sample& a, const Sample& b) {
    return {a.seconds + b.seconds, a.cpuSeconds + b.cpuSeconds, std::max(a.peakBytes, b.peakBytes)};
}

}  // namespace vantrell::bench
