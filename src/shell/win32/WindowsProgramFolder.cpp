#include "shell/win32/WindowsProgramFolder.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdlib>
#include <string>

#include "diag/FileSystem.h"

namespace vantrell::win32 {

bool folderIsWritable(const std::filesystem::path& folder) {
    const std::filesystem::path probe =
        folder / ("Vantrell-write-test-" + std::to_string(GetCurrentProcessId()) + ".tmp");
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

ProgramFolder windowsProgramFolder(const std::optional<std::filesystem::path>& option) {
    const char* env = std::getenv("VANTRELL_DATA_DIR");
    if ((option && !option->empty()) || (env != nullptr && *env != '\0')) {
        return ProgramFolder::resolve(option);
    }
    const std::filesystem::path own = executablePath().parent_path();
    if (folderIsWritable(own)) {
        return ProgramFolder(own);
    }
    PWSTR appData = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &appData))) {
        const std::filesystem::path folder = std::filesystem::path(appData) / L"Vantrell";
        CoTaskMemFree(appData);
        return ProgramFolder(folder);
    }
    CoTaskMemFree(appData);
    return ProgramFolder(own);  // the failure to write shows when the first file is written
}

}  // namespace vantrell::win32
