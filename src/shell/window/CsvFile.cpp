#include "shell/window/CsvFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "diag/Failure.h"
#include "diag/FileSystem.h"

namespace vantrell {

namespace {

[[noreturn]] void cannotWrite(const std::string& path, const char* what, int error) {
    std::string text = "The file " + path + " could not be " + what;
    if (error != 0) {
        text += ": " + std::string(std::strerror(error));
    }
    throw Failure(text + ".");
}

}  // namespace

void writeCsvFile(const std::string& path, const CsvRow& header, std::size_t rowCount,
                  const std::function<CsvRow(std::size_t)>& row) {
    const std::filesystem::path file = utf8ToPath(path);
    // A FIFO or device would block the window, and a folder cannot be replaced.
    if (!isWritableFileOrAbsent(file)) {
        cannotWrite(path, "written (it is not an ordinary file)", 0);
    }
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) {
        cannotWrite(path, "opened for writing", errno);
    }
    out << kUtf8ByteOrderMark << csvLine(header);
    for (std::size_t i = 0; i < rowCount && out; ++i) {
        out << csvLine(row(i));
    }
    errno = 0;
    out.close();
    if (!out) {
        const int error = errno;
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        cannotWrite(path, "written", error);
    }
}

}  // namespace vantrell
