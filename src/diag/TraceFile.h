#pragma once

#include <string_view>

#include "diag/ProgramFolder.h"

namespace vantrell {

// Replaces the file `fileName` in the program folder with the text between double quotes,
// followed by CR LF. Throws Failure when the file cannot be written.
void SaveTextFile(const ProgramFolder& folder, std::string_view fileName, std::string_view text);

}  // namespace vantrell
