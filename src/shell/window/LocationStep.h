#pragma once

#include <string>

#include "shell/window/FrontEnd.h"
#include "shell/window/frmLocateCHdata.h"

namespace vantrell {

inline constexpr const char* kSettingsApp = "CH7";
inline constexpr const char* kSettingsSection = "QuickBooks";

// Makes `variable` name an existing file: reads it from the setting `key`; when that names no
// file, shows the locate dialog for `filter` and stores its answer when it names one. Returns
// false when no file was located (the main window then unloads).
// The dialog is made afresh for each step that needs it.
bool runLocationStep(modErrorLog& log, ProgramState& state, SettingsStore& settings,
                     LocateDialogHost& host, FileOpenDialog& fileDialog, const std::string& key,
                     std::string& variable, const std::string& filter);

}  // namespace vantrell
