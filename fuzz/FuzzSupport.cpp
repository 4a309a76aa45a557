#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
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

std::string readWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    std::string bytes(error ? 0 : static_cast<std::size_t>(size), '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void violated(const std::string& what, std::string_view input) {
    std::fprintf(stderr, "property violated: %s\ninput (%zu bytes): %.*s\n", what.c_str(),
                 input.size(), static_cast<int>(input.size() > 2000 ? 2000 : input.size()),
                 input.data());
    std::abort();
}

}  // namespace vantrell::fuzzing
