#pragma once

#include <filesystem>
#include <string>

#include "RunData.h"

namespace vantrell::bench {

// Copies the interface database at `interfaceDb`, as it stands, to a new file `copy`.
void snapshotStage(const std::string& interfaceDb, const std::filesystem::path& copy);

// Reads the tables' definitions, the Punch rows and the Employee and PayType names of a copy into
// `data`.
void readStage(const std::filesystem::path& copy, RunData& data);

}  // namespace vantrell::bench
