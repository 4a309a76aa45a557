#pragma once

#include <filesystem>

#include "sampledata/ChronelWriter.h"

namespace vantrell::sampledata {

// The demo's export definition: every pay-type column named except RGOT2, left empty so that
// second-overtime hours of a regular day fall back to the pay type "OT2".
ExportDefinition demoExportDefinition();

// The demo's accrual titles: Vacation, Sick Leave, Personal.
AccrualTitles demoAccrualTitles();

// Writes the demo time-and-attendance file at `path` (which must not exist yet): six
// employees over the two weeks from 2024-05-20, with overtime, differential days, every
// accrual category, the Memorial Day holiday, an unknown code, the "*" codes, zero and
// negligible hours, and a second export definition that the extraction does not use.
// Throws GeneratorError.
void writeDemoFile(const std::filesystem::path& path);

}  // namespace vantrell::sampledata
