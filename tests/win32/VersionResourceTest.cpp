#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diag/Utf16.h"

namespace vantrell::win32 {
namespace {

// A text of a program's version resource (English, Unicode), or "(none)".
std::string versionText(const std::wstring& file, const std::string& name) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
        return "(none)";
    }
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) {
        return "(none)";
    }
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\040904B0\\" + widen(name);
    if (!VerQueryValueW(data.data(), path.c_str(), &value, &length) || length == 0) {
        return "(none)";
    }
    return narrow(std::wstring(static_cast<const wchar_t*>(value), length - 1));
}

// What the file's properties show: the project's version, the product and what the file is.
TEST(VersionResource, EachProgramAndTheSetupCarryTheProjectsVersion) {
    struct Program {
        const char* path;
        const char* description;
    };
    std::vector<Program> programs = {{VANTRELL_GUI_PATH, "Vantrell payroll export"},
                                     {VANTRELL_CLI_PATH, "Vantrell payroll export, command line"}};
#ifdef VANTRELL_SETUP_PATH
    programs.push_back({VANTRELL_SETUP_PATH, "Vantrell payroll export setup"});
#endif
    for (const Program& program : programs) {
        const std::wstring file = widen(program.path);
        EXPECT_EQ(versionText(file, "ProductName"), "Vantrell") << program.path;
        EXPECT_EQ(versionText(file, "ProductVersion"), VANTRELL_VERSION) << program.path;
        EXPECT_EQ(versionText(file, "FileVersion"), VANTRELL_VERSION) << program.path;
        EXPECT_EQ(versionText(file, "FileDescription").rfind(program.description, 0), 0u)
            << program.path << ": " << versionText(file, "FileDescription");
    }
}

}  // namespace
}  // namespace vantrell::win32
