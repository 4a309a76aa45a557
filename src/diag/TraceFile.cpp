#include "diag/TraceFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "diag/Failure.h"
#include "diag/FileSystem.h"

namespace vantrell {

void SaveTextFile(const ProgramFolder& folder, std::string_view fileName, std::string_view text) {
    const auto path = folder.file(fileName);
    // Opening a FIFO for writing would wait for a reader that never comes. What is there is
    // asked first; when even that cannot be told, the system says why.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error && status.type() != std::filesystem::file_type::not_found) {
        throw Failure("Could not open '" + pathToUtf8(path) + "' for writing: " + error.message());
    }
    if (!isWritableFileOrAbsent(path)) {
        throw Failure("Could not open '" + pathToUtf8(path) +
                      "' for writing: it is not an ordinary file.");
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        throw Failure("Could not open '" + pathToUtf8(path) +
                      "' for writing: " + std::strerror(errno));
    }
    file.put('"');
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.write("\"\r\n", 3);
    file.close();
    if (!file) {
        throw Failure("Could not write '" + pathToUtf8(path) + "'");
    }
}

}  // namespace vantrell
