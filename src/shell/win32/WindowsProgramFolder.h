#pragma once

#include <filesystem>
#include <optional>

#include "diag/ProgramFolder.h"

namespace vantrell::win32 {

// The program folder on Windows: the folder given by `option` or VANTRELL_DATA_DIR, else the
// executable's folder when the user may write there, else the user's own application-data
// folder (%LOCALAPPDATA%\Vantrell), as when the program is installed under Program Files.
ProgramFolder windowsProgramFolder(const std::optional<std::filesystem::path>& option);

// True when a file can be created in `folder`.
bool folderIsWritable(const std::filesystem::path& folder);

}  // namespace vantrell::win32
