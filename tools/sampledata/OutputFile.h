#pragma once

#include <filesystem>
#include <functional>

namespace vantrell::sampledata {

// Writes a file at `target` through `write`, which is given a fresh path in the same folder;
// the result replaces `target` only once `write` has returned, so a failed run leaves nothing
// half-written. An existing `target` is refused unless `overwrite`; a folder always is.
// Throws GeneratorError (or what `write` throws, after removing its partial file).
void writeOutputFile(const std::filesystem::path& target, bool overwrite,
                     const std::function<void(const std::filesystem::path&)>& write);

}  // namespace vantrell::sampledata
