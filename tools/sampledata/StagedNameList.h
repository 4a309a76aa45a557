#pragma once

#include <filesystem>
#include <ostream>

namespace vantrell::sampledata {

// Runs the extraction of `chronelFile` into a fresh interface database in a temporary folder
// and writes one line per staged name to `out`: "employee<TAB>NAME" for each Employee row,
// then "wage-item<TAB>NAME" for each PayType row. Notes and errors of the run go to `err`.
// Returns 0 when the run reported nothing, 1 otherwise (nothing is then written to `out`).
int listStagedNames(const std::filesystem::path& chronelFile, std::ostream& out, std::ostream& err);

}  // namespace vantrell::sampledata
