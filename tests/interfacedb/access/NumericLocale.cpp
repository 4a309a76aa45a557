#include "NumericLocale.h"

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

namespace vantrell::testing {

namespace {

// Builds `name` (a de_DE locale) into the cache folder, once; several test processes may try
// at the same time, so each builds into a folder of its own and renames it into place.
void buildLocale(const std::string& name) {
    const std::filesystem::path cache = VANTRELL_TEST_LOCALE_DIR;
    std::error_code error;
    if (std::filesystem::exists(cache / name, error)) {
        return;
    }
    std::filesystem::create_directories(cache, error);
    const auto scratch = cache / (name + ".building." + std::to_string(::getpid()));
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + scratch.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0) {
        std::filesystem::rename(scratch, cache / name, error);
    }
    std::filesystem::remove_all(scratch, error);
}

}  // namespace

NumericLocale::NumericLocale(const std::string& name) {
    active_ = std::setlocale(LC_NUMERIC, name.c_str()) != nullptr;
    if (!active_ && name.starts_with("de_DE")) {
        buildLocale(name);
        ::setenv("LOCPATH", VANTRELL_TEST_LOCALE_DIR, 1);
        active_ = std::setlocale(LC_NUMERIC, name.c_str()) != nullptr;
    }
}

NumericLocale::~NumericLocale() {
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace vantrell::testing
