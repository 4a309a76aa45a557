#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "diag/Clock.h"
#include "diag/Prompter.h"

// Every fuzz target defines the libFuzzer entry point; the corpus replay calls the same one.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace vantrell::fuzzing {

// Message boxes that nobody sees: a fuzz run shows thousands.
class SilentPrompter final : public Prompter {
  public:
    void show(const std::string&, const std::string&, MessageIcon) override {}
};

class StillClock final : public Clock {
  public:
    LocalDateTime now() override { return {2026, 3, 7, 14, 5, 0}; }
};

// A fresh temporary folder for the whole run of one target, removed when the process exits.
const std::filesystem::path& scratchFolder();

// The whole content of a file ("" when it cannot be read).
std::string readWholeFile(const std::filesystem::path& path);

// Reports a broken property of the code under test and aborts, so that the fuzzer keeps the
// input and the replay fails.
[[noreturn]] void violated(const std::string& what, std::string_view input);

}  // namespace vantrell::fuzzing
