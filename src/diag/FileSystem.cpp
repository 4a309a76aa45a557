#include "diag/FileSystem.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vantrell {

bool fileExists(const std::filesystem::path& path) {
    if (path.empty()) {
        return false;
    }
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
#else
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    const std::string name = path.filename().string();
    return !name.empty() && name.front() != '.';
#endif
}

bool isWritableFileOrAbsent(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return status.type() == std::filesystem::file_type::not_found ||
           status.type() == std::filesystem::file_type::regular;
}

std::filesystem::path fullPath(const std::filesystem::path& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(path, error);
    if (error) {
        return path;
    }
    return whole.lexically_normal().make_preferred();
}

std::filesystem::path executablePath() {
#ifdef _WIN32
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() / "vantrell" : path;
#endif
}

std::string pathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path utf8ToPath(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

bool namesSameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
    std::error_code error;
    if (std::filesystem::exists(first, error) && std::filesystem::exists(second, error)) {
        const bool same = std::filesystem::equivalent(first, second, error);
        if (!error) {
            return same;
        }
    }
    return std::filesystem::weakly_canonical(first, error) ==
           std::filesystem::weakly_canonical(second, error);
}

}  // namespace vantrell
