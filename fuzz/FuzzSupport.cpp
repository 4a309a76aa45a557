#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <system_error>

namespace vantrell::fuzzing {

namespace {

struct Scratch {
    std::filesystem::path path;
    Scratch() {
        std::random_device random;
        path = std::filesystem::temp_directory_path() /
               ("vantrell-fuzz-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path);
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

const std::filesystem::path& scratchFolder() {
    static const Scratch scratch;
    return scratch.path;
}

void violated(const std::string& what, std::string_view input) {
    std::fprintf(stderr, "property violated: %s\ninput (%zu bytes): %.*s\n", what.c_str(),
                 input.size(), static_cast<int>(input.size() > 2000 ? 2000 : input.size()),
                 input.data());
    std::abort();
}

}  // namespace vantrell::fuzzing
