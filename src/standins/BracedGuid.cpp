#include "standins/BracedGuid.h"

#include <cstdint>
#include <cstdio>
#include <random>

namespace vantrell::standins {

std::string newBracedGuid() {
    std::random_device source;
    std::mt19937_64 generator((static_cast<std::uint64_t>(source()) << 32) ^
                              static_cast<std::uint64_t>(source()));
    const std::uint64_t high = generator();
    const std::uint64_t low = generator();
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08llx-%04llx-%04llx-%04llx-%012llx}",
                  static_cast<unsigned long long>(high >> 32),
                  static_cast<unsigned long long>((high >> 16) & 0xFFFF),
                  static_cast<unsigned long long>(high & 0xFFFF),
                  static_cast<unsigned long long>(low >> 48),
                  static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFULL));
    return buffer;
}

}  // namespace vantrell::standins
