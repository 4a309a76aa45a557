#include "sampledata/OutputFile.h"

#include <string>

#include "sampledata/ChronelWriter.h"

namespace vantrell::sampledata {

namespace fs = std::filesystem;

namespace {

// A name beside `target` that nothing uses yet.
fs::path partialPath(const fs::path& target) {
    std::error_code error;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        fs::path candidate = target;
        candidate += ".partial" + (attempt == 0 ? std::string() : std::to_string(attempt));
        if (!fs::exists(fs::symlink_status(candidate, error))) {
            return candidate;
        }
    }
    throw GeneratorError(target.string() + ": no free name for a temporary file beside it");
}

}  // namespace

void writeOutputFile(const fs::path& target, bool overwrite,
                     const std::function<void(const fs::path&)>& write) {
    std::error_code error;
    const auto status = fs::status(target, error);
    if (fs::is_directory(status)) {
        throw GeneratorError(target.string() + ": is a folder");
    }
    if (fs::exists(status) && !overwrite) {
        throw GeneratorError(target.string() + ": already exists (use --force to replace it)");
    }
    const fs::path partial = partialPath(target);
    try {
        write(partial);
        fs::rename(partial, target);
    } catch (const fs::filesystem_error& e) {
        fs::remove(partial, error);
        throw GeneratorError(target.string() + ": " + e.code().message());
    } catch (...) {
        fs::remove(partial, error);
        throw;
    }
}

}  // namespace vantrell::sampledata
