// Runs a fuzz target's entry point once on every file of the folders (or files) given, so that
// the seed corpus and every input the fuzzer ever kept are checked by the normal test suite.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzSupport.h"

namespace {

std::vector<std::filesystem::path> inputsOf(const std::filesystem::path& argument) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(argument)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argument)) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end());
    } else {
        files.push_back(argument);
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::exists(argv[i])) {
            std::fprintf(stderr, "no such corpus: %s\n", argv[i]);
            return 1;
        }
        for (const auto& file : inputsOf(argv[i])) {
            const std::string bytes = vantrell::fuzzing::readWholeFile(file);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++count;
        }
    }
    if (count == 0) {
        std::fprintf(stderr, "no corpus file found\n");
        return 1;
    }
    std::printf("%zu corpus files replayed\n", count);
    return 0;
}
