#pragma once

#include <filesystem>
#include <string>

#include "RunData.h"

namespace vantrell::bench {

// Copies the interface database at `interfaceDb`, as it stands, to a new file `copy`; any file
// there is removed first. Throws std::runtime_error when the database cannot be opened or
// copied.
void snapshotStage(const std::string& interfaceDb, const std::filesystem::path& copy);

// Puts the Punch rows of a copy back into the interface database at `interfaceDb`, which the
// program may hold open: the stage as it was before the export, for a repeat run. The rows are
// added to what Punch holds; a lock is waited for up to ten seconds. Throws std::runtime_error
// when either file cannot be opened or the rows cannot be added.
void restoreStagedTickets(const std::string& interfaceDb, const std::filesystem::path& copy);

// Reads the tables' definitions, the Punch rows and the Employee and PayType names of a copy into
// `data`, replacing what those fields held. Throws std::runtime_error when the copy cannot be
// opened or a table is missing; a read that fails midway ends that list early.
void readStage(const std::filesystem::path& copy, RunData& data);

}  // namespace vantrell::bench
