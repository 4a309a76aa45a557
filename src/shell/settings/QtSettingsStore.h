#pragma once

#include "shell/window/FrontEnd.h"

namespace vantrell {

// Vantrell's settings in the user's own store through QSettings, organisation "VB and VBA
// Program Settings", application "CH7": on Linux the file "~/.config/VB and VBA Program
// Settings/CH7.conf", on Windows the registry key HKEY_CURRENT_USER\Software\VB and VBA
// Program Settings\CH7. A file location stored there that names an existing file is used
// at the next start without asking.
class QtSettingsStore final : public SettingsStore {
  public:
    // As SettingsStore: a missing value gives `defaultValue`; SaveSetting throws Failure,
    // naming the store, when the value could not be written.
    std::string GetSetting(const std::string& appName, const std::string& section,
                           const std::string& key, const std::string& defaultValue) override;
    void SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                     const std::string& value) override;
};

}  // namespace vantrell
