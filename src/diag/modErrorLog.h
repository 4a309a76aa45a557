#pragma once

#include <fstream>
#include <string>
#include <string_view>

#include "diag/Clock.h"
#include "diag/ProgramFolder.h"
#include "diag/Prompter.h"

namespace vantrell {

// The error log: every note and failure of the program is appended to "VantrellLog.txt" in the
// program folder and shown to the user in a message box. The only place that shows one.
class modErrorLog {
  public:
    // The log of `folder`, showing its boxes with `prompter` and stamping its entries with
    // `clock`, both of which must outlive it. Nothing is opened until the first entry.
    modErrorLog(ProgramFolder folder, Prompter& prompter, Clock& clock)
        : folder_(std::move(folder)), prompter_(prompter), clock_(clock) {}

    // Appends one entry and shows the box; returns when the box has been dismissed.
    // `severity` "ERROR" (any letter case) adds the description of the exception being handled
    // by the caller, if any; every other severity is a note. A log file that cannot be opened
    // or written is skipped: the box is still shown. Never throws.
    void WriteLogEntry(std::string_view severity, std::string_view procedure,
                       std::string_view message) noexcept;

    // Appends a note for whoever reads the log later (how a question was asked, how many
    // pages its answer took) without a box: nothing the user has to act on or dismiss. A log
    // that cannot be written skips it. Never throws.
    void RecordLogNote(std::string_view procedure, std::string_view message) noexcept;

    // The program folder the log and the program's other files live in.
    const ProgramFolder& folder() const { return folder_; }
    // The clock the entries are stamped with, for whatever else the program dates.
    Clock& clock() const { return clock_; }

  private:
    // Appends `entry` to the log file, when it can be written; the open stream is returned
    // so that an entry's box is shown while the file is still held.
    std::ofstream appendEntry(const std::string& entry) const;

    ProgramFolder folder_;
    Prompter& prompter_;
    Clock& clock_;
};

}  // namespace vantrell
