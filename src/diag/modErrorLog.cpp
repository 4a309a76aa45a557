#include "diag/modErrorLog.h"

#include <fstream>

#include "diag/Failure.h"
#include "diag/FileSystem.h"
#include "diag/Utf8.h"

namespace vantrell {

namespace {

constexpr std::string_view kLogFileName = "VantrellLog.txt";
constexpr std::string_view kLineEnd = "\r\n";

bool isErrorSeverity(std::string_view severity) {
    return equalsIgnoringAsciiCase(severity, "ERROR");
}

}  // namespace

std::ofstream modErrorLog::appendEntry(const std::string& entry) const {
    // A log that is not an ordinary file (a FIFO would block the open) is one that cannot be
    // written.
    const auto path = folder_.file(kLogFileName);
    std::ofstream log;
    if (isWritableFileOrAbsent(path)) {
        log.open(path, std::ios::binary | std::ios::app);
    }
    if (log.is_open() && log) {
        log.write(entry.data(), static_cast<std::streamsize>(entry.size()));
        log.flush();
    }
    return log;
}

void modErrorLog::RecordLogNote(std::string_view procedure, std::string_view message) noexcept {
    try {
        std::string entry = formatLogTimestamp(clock_.now());
        entry.append(procedure).append(" ").append(message).append(kLineEnd);
        appendEntry(entry);
    } catch (...) {
        // Called where a failure is being handled, too: it must always return.
    }
}

void modErrorLog::WriteLogEntry(std::string_view severity, std::string_view procedure,
                                std::string_view message) noexcept {
    try {
        const bool isError = isErrorSeverity(severity);
        const std::string description = isError ? currentFailureDescription() : std::string();

        std::string entry = formatLogTimestamp(clock_.now());
        entry += procedure;
        if (isError) {
            entry.append(" ").append(description).append(kLineEnd);
        }
        entry.append(" ").append(message).append(kLineEnd);

        // Held open while the box is shown, and closed once it has been dismissed.
        const std::ofstream log = appendEntry(entry);

        std::string text;
        if (!isError) {
            text = message;
        } else if (message.empty()) {
            text = description + std::string(kLineEnd) + std::string(procedure);
        } else {
            text = std::string(message) + std::string(kLineEnd) + description +
                   std::string(kLineEnd) + std::string(procedure);
        }
        prompter_.show(text, isError ? "ERROR" : "NOTE",
                       isError ? MessageIcon::Warning : MessageIcon::Information);
    } catch (...) {
        // The log is called from failure handlers: it must always return.
    }
}

}  // namespace vantrell
