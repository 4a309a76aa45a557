#include "diag/ProgramFolder.h"

#include <cstdlib>

#include "diag/FileSystem.h"

namespace vantrell {

std::filesystem::path ProgramFolder::file(std::string_view fileName) const {
    return folder_ / std::filesystem::path(std::u8string(fileName.begin(), fileName.end()));
}

ProgramFolder ProgramFolder::resolve(const std::optional<std::filesystem::path>& option) {
    if (option && !option->empty()) {
        return ProgramFolder(std::filesystem::absolute(*option));
    }
    if (const char* env = std::getenv("VANTRELL_DATA_DIR"); env != nullptr && *env != '\0') {
        return ProgramFolder(std::filesystem::absolute(env));
    }
    return ProgramFolder(executablePath().parent_path());
}

}  // namespace vantrell
