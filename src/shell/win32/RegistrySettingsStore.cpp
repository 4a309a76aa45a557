#include "shell/win32/RegistrySettingsStore.h"

#include <windows.h>

#include "diag/Failure.h"
#include "diag/Utf16.h"
#include "shell/win32/SystemMessage.h"

namespace vantrell::win32 {

namespace {

struct KeyCloser {
    HKEY key = nullptr;
    ~KeyCloser() {
        if (key != nullptr) {
            RegCloseKey(key);
        }
    }
};

Failure registryFailure(const std::string& what, const std::string& key, LSTATUS status) {
    return Failure(what + " HKEY_CURRENT_USER\\" + key + ": " +
                   systemMessage(static_cast<unsigned long>(status)));
}

}  // namespace

std::string RegistrySettingsStore::sectionKey(const std::string& appName,
                                              const std::string& section) const {
    return base_ + "\\" + appName + "\\" + section;
}

std::string RegistrySettingsStore::GetSetting(const std::string& appName,
                                              const std::string& section, const std::string& key,
                                              const std::string& defaultValue) {
    const std::string path = sectionKey(appName, section);
    KeyCloser opened;
    LSTATUS status =
        RegOpenKeyExW(HKEY_CURRENT_USER, widen(path).c_str(), 0, KEY_QUERY_VALUE, &opened.key);
    if (status == ERROR_FILE_NOT_FOUND) {
        return defaultValue;
    }
    if (status != ERROR_SUCCESS) {
        throw registryFailure("Could not read the settings in", path, status);
    }
    const std::wstring name = widen(key);
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        DWORD type = 0;
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        status = RegQueryValueExW(opened.key, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(value.data()), &bytes);
        if (status == ERROR_MORE_DATA) {
            value.resize(bytes / sizeof(wchar_t) + 1);
            continue;
        }
        if (status == ERROR_FILE_NOT_FOUND) {
            return defaultValue;
        }
        if (status != ERROR_SUCCESS) {
            throw registryFailure("Could not read the setting " + key + " in", path, status);
        }
        // A value of another type was not stored by this program: as if there were none, so
        // that the location is asked for again and stored as text.
        if (type != REG_SZ && type != REG_EXPAND_SZ) {
            return defaultValue;
        }
        value.resize(bytes / sizeof(wchar_t));
        // The stored text may or may not end with its terminating null.
        while (!value.empty() && value.back() == L'\0') {
            value.pop_back();
        }
        return narrow(value);
    }
}

void RegistrySettingsStore::SaveSetting(const std::string& appName, const std::string& section,
                                        const std::string& key, const std::string& value) {
    const std::string path = sectionKey(appName, section);
    KeyCloser created;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CURRENT_USER, widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &created.key, nullptr);
    if (status != ERROR_SUCCESS) {
        throw registryFailure("Could not create the settings key", path, status);
    }
    const std::wstring text = widen(value);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    status = RegSetValueExW(created.key, widen(key).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    if (status != ERROR_SUCCESS) {
        throw registryFailure("Could not store the setting " + key + " in", path, status);
    }
}

}  // namespace vantrell::win32
