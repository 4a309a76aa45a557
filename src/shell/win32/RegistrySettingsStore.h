#pragma once

#include <string>

#include "shell/window/FrontEnd.h"

namespace vantrell::win32 {

// Vantrell's settings key: HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>
// (the program's are under CH7\QuickBooks). A file location stored there that names an existing
// file is used at the next start without asking.
inline constexpr const char* kVbSettingsKey = "Software\\VB and VBA Program Settings";

// Settings as text values (REG_SZ) under HKEY_CURRENT_USER\<base>\<app>\<section>.
class RegistrySettingsStore final : public SettingsStore {
  public:
    // Keeps the settings below HKEY_CURRENT_USER\<base>; tests pass a key of their own.
    explicit RegistrySettingsStore(std::string base = kVbSettingsKey) : base_(std::move(base)) {}

    // The stored text, or `defaultValue` when the key or value is missing or holds no text.
    // Throws Failure when the registry cannot be read.
    std::string GetSetting(const std::string& appName, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    // Creates the key when missing. Throws Failure when the value cannot be written.
    void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                     const std::string& value) override;

    // The key that holds the section's values, below HKEY_CURRENT_USER.
    std::string sectionKey(const std::string& appName, const std::string& section) const;

  private:
    std::string base_;
};

}  // namespace vantrell::win32
