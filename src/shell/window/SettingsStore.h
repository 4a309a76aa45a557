#pragma once

#include <string>

namespace vantrell {

// The per-user settings store, addressed by application name, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when there is none.
    virtual std::string GetSetting(const std::string& appName, const std::string& section,
                                   const std::string& key, const std::string& defaultValue) = 0;
    // Stores `value` under the key, replacing what was there. A store that cannot be written
    // may throw Failure.
    virtual void SaveSetting(const std::string& appName, const std::string& section,
                             const std::string& key, const std::string& value) = 0;
};

}  // namespace vantrell
