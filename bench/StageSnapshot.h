#pragma once

#include <filesystem>
#include <string>

#include "RunData.h"

namespace vantrell::bench {

// Copies the interface database at `interfaceDb`, as it stands, to a new file `copy`.
void snapshotStage(const std::string& interfaceDb, const std::filesystem::path& copy);

// Puts the Punch rows of a copy back into the interface database at `interfaceDb`, which the
// program may hold open: the stage as it was before the export, for a repeat run.
void restoreStagedTickets(const std::string& interfaceDb, const std::filesystem::path& copy);

// Reads the tables' definitions, the Punch rows and the Employee and PayType names of a copy into
// `data`.
void readStage(const std::filesystem::path& copy, RunData& data);

}  // namespace vantrell::bench
