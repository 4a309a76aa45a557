#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "shell/window/CsvText.h"

namespace vantrell {

// Writes a CSV file at `path` (UTF-8): the byte-order mark, `header`, then `rowCount` rows that
// `row` gives by index, each line ended by CR LF. Replaces a file that is there. Throws Failure
// naming the path when the file cannot be opened (folder gone, read-only, locked) or written;
// a file left half-written is removed, so that no half table passes for a whole one.
void writeCsvFile(const std::string& path, const CsvRow& header, std::size_t rowCount,
                  const std::function<CsvRow(std::size_t)>& row);

}  // namespace vantrell
