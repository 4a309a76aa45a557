#pragma once

#include "shell/window/FrontEnd.h"

namespace vantrell {

// Settings in the user's own store through QSettings, under the organisation "VB and VBA Program
// Settings": on Windows that is the registry key where the program Vantrell replaces kept them
// (HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>).
class QtSettingsStore final : public SettingsStore {
  public:
    // As SettingsStore; nothing throws: a missing value gives `defaultValue`, and a store that
    // cannot be written loses the value without a failure.
    std::string GetSetting(const std::string& appName, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

}  // namespace vantrell
